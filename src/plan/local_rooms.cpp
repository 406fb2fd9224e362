// The rooms of a plan whose corners a drag moves, found again walk by walk.
#include "plan/local_rooms.h"

#include <algorithm>
#include <exception>
#include <functional>

namespace casavo {
namespace {

constexpr int32_t kFirstStart = 5;  // entries 1..4 belong to no wall

// Calls f(x, inA) for each x in exactly one of the ascending lists a and b.
template <class F>
void ForEachDifference(const std::vector<int32_t>& a, const std::vector<int32_t>& b, F&& f) {
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (j == b.size() || (i < a.size() && a[i] < b[j])) {
      f(a[i++], true);
    } else if (i == a.size() || b[j] < a[i]) {
      f(b[j++], false);
    } else {
      ++i;
      ++j;
    }
  }
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Where a wall of thickness epais along pq holds points: its segment's bounds
// widened by half the thickness, and a millimetre for the rounding.
TRect WallReach(TPoint p, TPoint q, int32_t epais) {
  const int32_t half = epais / 2 + 1;
  return {std::min(p.x, q.x) - half, std::min(p.y, q.y) - half, std::max(p.x, q.x) + half,
          std::max(p.y, q.y) + half};
}

}  // namespace

LocalRooms::LocalRooms(TCasaPlan& plan) : plan_(plan) {}
LocalRooms::~LocalRooms() = default;

void LocalRooms::CornersMoved(const std::vector<int32_t>& corners,
                              const std::vector<int32_t>& walls, const CornerWallIndex& index) {
  if (walker_ && DetectAround(corners, walls, index)) {
    ++local_;
    for (const int32_t c : corners) corners_.at(static_cast<size_t>(c)) = plan_.Corners[c];
    return;
  }
  ++whole_;
  DetectWhole();
}

bool LocalRooms::VisitedEarlier(int32_t entry) const {
  const std::vector<int32_t>& visitors = visitors_[static_cast<size_t>(entry)];
  return !visitors.empty() && visitors.front() < current_;
}

void LocalRooms::DetectWhole() {
  walker_.reset();
  if (plan_.WallCount < 0 || plan_.WallCount > TCasaPlan::kMaxWalls) return;
  try {
    auto walker = std::make_unique<RoomWalks>(plan_);
    if (!walker->DetectAll(walks_)) return;
    walker_ = std::move(walker);
  } catch (const std::exception&) {
    // The walker could not be built: DetectRooms would find no room either,
    // and leave the table as it was.
    return;
  }
  const size_t entries = 4 * static_cast<size_t>(plan_.WallCount) + 5;
  readers_.assign(entries, {});
  visitors_.assign(entries, {});
  onLoop_.assign(entries, 0);
  queued_.assign(entries, false);
  queue_.clear();
  roomStarts_.clear();
  anyWall_.clear();
  stops_.clear();
  for (int32_t start = kFirstStart; start < kFirstStart + static_cast<int32_t>(walks_.size());
       ++start) {
    const RoomWalk& walk = WalkFrom(start);
    for (const int32_t e : walk.read) readers_[static_cast<size_t>(e)].push_back(start);
    for (const int32_t e : walk.visited) {
      visitors_[static_cast<size_t>(e)].push_back(start);
      if (walk.onLoop) ++onLoop_[static_cast<size_t>(e)];
    }
    stops_.push_back(walk.stop);
    if (walk.room) roomStarts_.push_back(start);
    if (walk.anyWall) anyWall_.push_back(start);
  }
  corners_.assign(static_cast<size_t>(plan_.CornerCount) + 1, TPoint{});
  for (int32_t c = 1; c <= plan_.CornerCount; ++c)
    corners_[static_cast<size_t>(c)] = plan_.Corners[c];
}

bool LocalRooms::DetectAround(const std::vector<int32_t>& corners,
                              const std::vector<int32_t>& walls, const CornerWallIndex& index) {
  try {
    for (const int32_t e : walker_->WallsMoved(walls, index))
      for (const int32_t start : readers_[static_cast<size_t>(e)]) Queue(start);
    QueueNearMovedWalls(corners, index);
    std::vector<RoomChange> changes;
    while (!queue_.empty()) {
      std::pop_heap(queue_.begin(), queue_.end(), std::greater<>());
      const int32_t start = queue_.back();
      queue_.pop_back();
      queued_[static_cast<size_t>(start)] = false;
      WalkAgain(start, changes);
    }
    if (!PutRooms(changes)) return false;
  } catch (const std::exception&) {
    // The walks kept no longer match the plan: a whole detection follows.
    return false;
  }
  FindOpenWalkEnds();
  return true;
}

void LocalRooms::Queue(int32_t start) {
  if (queued_[static_cast<size_t>(start)]) return;
  queued_[static_cast<size_t>(start)] = true;
  queue_.push_back(start);
  std::push_heap(queue_.begin(), queue_.end(), std::greater<>());
}

// A walk that looked for a point in no wall read every wall: it goes again
// when a moved wall reaches, before or after the move, across its border's
// bounds.
void LocalRooms::QueueNearMovedWalls(const std::vector<int32_t>& corners,
                                     const CornerWallIndex& index) {
  if (anyWall_.empty()) return;
  std::vector<TRect> reach;
  for (const int32_t c : corners)
    for (const int32_t w : index.WallsAt(c)) {
      const TWall& wall = plan_.Walls[w];
      reach.push_back(WallReach(corners_.at(static_cast<size_t>(wall.C1)),
                                corners_.at(static_cast<size_t>(wall.C2)), wall.epais));
      reach.push_back(WallReach(plan_.Corners[wall.C1], plan_.Corners[wall.C2], wall.epais));
    }
  for (const int32_t start : anyWall_)
    if (std::any_of(reach.begin(), reach.end(),
                    [&](const TRect& r) { return Overlap(r, WalkFrom(start).box); }))
      Queue(start);
}

void LocalRooms::WalkAgain(int32_t start, std::vector<RoomChange>& changes) {
  current_ = start;
  RoomWalk after = walker_->WalkAgain(start, scratch_, *this);
  RoomWalk& before = WalkFrom(start);
  Revisit(start, before, after);
  Reread(start, before, after);
  if (before.room || after.room)
    changes.emplace_back(start, after.room ? std::optional<TPiece>(scratch_) : std::nullopt);
  if (before.anyWall != after.anyWall) {
    if (after.anyWall)
      anyWall_.insert(std::lower_bound(anyWall_.begin(), anyWall_.end(), start), start);
    else
      anyWall_.erase(std::lower_bound(anyWall_.begin(), anyWall_.end(), start));
  }
  stops_[static_cast<size_t>(start - kFirstStart)] = after.stop;
  before = std::move(after);
}

// Where the walk went through other entries than before, the later walks
// that look at them may go otherwise too.
void LocalRooms::Revisit(int32_t start, const RoomWalk& before, const RoomWalk& after) {
  ForEachDifference(before.visited, after.visited, [&](int32_t e, bool gone) {
    std::vector<int32_t>& visitors = visitors_[static_cast<size_t>(e)];
    const auto at = std::lower_bound(visitors.begin(), visitors.end(), start);
    if (gone)
      visitors.erase(at);
    else
      visitors.insert(at, start);
    for (const int32_t reader : readers_[static_cast<size_t>(e)])
      if (reader > start) Queue(reader);
  });
  if (before.onLoop)
    for (const int32_t e : before.visited) --onLoop_[static_cast<size_t>(e)];
  if (after.onLoop)
    for (const int32_t e : after.visited) ++onLoop_[static_cast<size_t>(e)];
}

void LocalRooms::Reread(int32_t start, const RoomWalk& before, const RoomWalk& after) {
  ForEachDifference(before.read, after.read, [&](int32_t e, bool gone) {
    std::vector<int32_t>& readers = readers_[static_cast<size_t>(e)];
    if (gone)
      readers.erase(std::find(readers.begin(), readers.end(), start));
    else
      readers.push_back(start);
  });
}

// The rooms in the table in the order of their starts, those whose walks
// were made again replaced. False when the table would fill, where a whole
// detection stops walking.
bool LocalRooms::PutRooms(const std::vector<RoomChange>& changes) {
  std::vector<int32_t> starts = roomStarts_;
  for (const auto& [start, room] : changes) {
    const auto at = std::lower_bound(starts.begin(), starts.end(), start);
    const bool listed = at != starts.end() && *at == start;
    if (room && !listed) starts.insert(at, start);
    if (!room && listed) starts.erase(at);
  }
  if (starts.size() >= static_cast<size_t>(TCasaPlan::kMaxRooms)) return false;
  if (starts != roomStarts_) MoveRooms(std::move(starts));
  for (const auto& [start, room] : changes) {
    if (!room) continue;
    const auto at = std::lower_bound(roomStarts_.begin(), roomStarts_.end(), start);
    plan_.Rooms[static_cast<int32_t>(at - roomStarts_.begin()) + 1] = *room;
  }
  plan_.RoomCount = static_cast<int32_t>(roomStarts_.size());
  return true;
}

// Rooms kept move to their rank among `starts`: those going down in rank
// first, lowest first, then those going up, highest first, so that none is
// overwritten before it has moved.
void LocalRooms::MoveRooms(std::vector<int32_t> starts) {
  std::vector<std::pair<int32_t, int32_t>> moves;  // from, to (1-based ranks)
  for (size_t r = 0, n = 0; r < roomStarts_.size(); ++r) {
    while (n < starts.size() && starts[n] < roomStarts_[r]) ++n;
    if (n < starts.size() && starts[n] == roomStarts_[r] && n != r)
      moves.emplace_back(static_cast<int32_t>(r) + 1, static_cast<int32_t>(n) + 1);
  }
  for (const auto& [from, to] : moves)
    if (to < from) plan_.Rooms[to] = plan_.Rooms[from];
  for (auto m = moves.rbegin(); m != moves.rend(); ++m)
    if (m->second > m->first) plan_.Rooms[m->second] = plan_.Rooms[m->first];
  roomStarts_ = std::move(starts);
}

// As a whole detection lists them: where walks stopped on an entry that no
// walk on a loop went through, each entry once, in the order of the walks.
void LocalRooms::FindOpenWalkEnds() {
  plan_.OpenWalkEnds.clear();
  std::vector<int32_t> listed;
  for (const int32_t stop : stops_) {
    if (stop == 0 || onLoop_[static_cast<size_t>(stop)] != 0) continue;
    if (std::find(listed.begin(), listed.end(), stop) != listed.end()) continue;
    listed.push_back(stop);
    plan_.OpenWalkEnds.push_back(plan_.Outline[stop]);
  }
}

}  // namespace casavo
