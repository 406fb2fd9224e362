#include "plan/rooms.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "common/digest.h"
#include "common/errors.h"
#include "plan/corner_index.h"
#include "plan/point_grid.h"

namespace casavo {
namespace {

constexpr int32_t kFirstEntry = 5;  // entries 1..4 belong to no wall

// Walks the faces of the walls from each start entry; every walk that closes
// around a positive (clockwise on screen) area is a room.
class RoomWalker {
 public:
  RoomWalker(TCasaPlan& plan, CoincidentSearch search)
      : plan_(plan),
        lastEntry_(4 * plan.WallCount + 4),
        points_(static_cast<size_t>(lastEntry_) + 1),
        freeEnd_(static_cast<size_t>(lastEntry_) + 1, false),
        visited_(static_cast<size_t>(lastEntry_) + 1, false) {
    // What a step asks of an entry, gathered in entry order: the walk visits
    // entries in the order of the plan, not of the tables.
    const CornerWallIndex corners(plan);
    for (int32_t e = kFirstEntry; e <= lastEntry_; ++e) {
      const TWall& wall = plan.Walls[(e - 1) / 4];
      const int32_t corner = (e % 4 == 1 || e % 4 == 0) ? wall.C1 : wall.C2;
      freeEnd_[static_cast<size_t>(e)] = corners.EndCount(corner) == 1;
      points_[static_cast<size_t>(e)] = plan.Outline[e];
    }
    if (search == CoincidentSearch::kGrid) grid_.emplace(points_, kFirstEntry, lastEntry_);
  }

  void Run() {
    plan_.RoomCount = 0;
    // The last wall's entries are never starts: its faces are reached from
    // its neighbours.
    for (int32_t start = kFirstEntry; start <= 4 * plan_.WallCount; ++start) {
      if (plan_.RoomCount == TCasaPlan::kMaxRooms) return;
      // Each walk is made in the border of the next room record, which it
      // becomes when it closes around an area; items past a list's count are
      // never read, so a failed walk leaves nothing behind.
      TPiece& room = plan_.Rooms[plan_.RoomCount + 1];
      room.Border.Count = 0;
      if (!WalkCloses(start, room.Border)) continue;
      const double area = plan_.Area(room.Border);
      if (area > 0) AddRoom(room, area);
    }
  }

 private:
  enum class StepResult { kRoundedFreeEnd, kJoined, kStopped, kFull };

  // Walks from start until the walk stops or comes back to its start. Back at
  // its start the walk ends: going on would circle a free-standing wall for
  // ever, or, from a start at a free end, run round that end again and lose
  // the loop just closed. A loop that never met another wall only went round
  // a free-standing wall, whose own rectangle is no room. A walk that
  // outgrows its list is dropped on its own.
  bool WalkCloses(int32_t start, TIntList& walk) {
    walk.Append(start);
    bool joined = false;
    for (;;) {
      switch (Step(walk)) {
        case StepResult::kFull:
        case StepResult::kStopped:
          return false;
        case StepResult::kJoined:
          joined = true;
          break;
        case StepResult::kRoundedFreeEnd:
          break;
      }
      if (walk[walk.Count] == start) return joined && walk.Count > 2;
    }
  }

  StepResult Step(TIntList& walk) {
    const int32_t e = walk[walk.Count];
    const int32_t k = e % 4;
    if (freeEnd_.at(static_cast<size_t>(e))) {
      // A free end: round it and back along the wall's other face.
      static constexpr int32_t kRound[4][2] = {{-3, -2}, {3, 2}, {1, 2}, {-1, -2}};
      const int32_t a = e + kRound[k][0], b = e + kRound[k][1];
      if (walk.Count + 2 > TIntList::kCapacity) return StepResult::kFull;
      Visit(a);
      Visit(b);
      walk.Append(a);
      walk.Append(b);
      return StepResult::kRoundedFreeEnd;
    }
    const int32_t m = FirstCoincident(e);
    if (m == 0 || visited_[static_cast<size_t>(m)]) return StepResult::kStopped;
    const int32_t next = (m % 4 == 1 || m % 4 == 3) ? m + 1 : m - 1;
    if (walk.Count == TIntList::kCapacity) return StepResult::kFull;
    Visit(m);
    Visit(e);
    walk.Append(next);
    return StepResult::kJoined;
  }

  int32_t FirstCoincident(int32_t e) const {
    if (grid_) return grid_->FirstCoincident(e);
    return FirstCoincidentByScan(points_, kFirstEntry, lastEntry_, e);
  }

  void Visit(int32_t e) { visited_.at(static_cast<size_t>(e)) = true; }

  void AddRoom(TPiece& room, double area) {
    room.surface = area;
    room.Centre = plan_.Centroid(room.Border);
    room.hash = Md5Hex(room.Border.ToText());
    ++plan_.RoomCount;
  }

  TCasaPlan& plan_;
  const int32_t lastEntry_;
  std::vector<TPoint> points_;
  std::vector<bool> freeEnd_;  // the entry's corner holds no other wall end
  std::vector<bool> visited_;
  std::optional<PointGrid> grid_;
};

using Wide = __int128;

// Shoelace terms of a walk, exact: 64-bit products of int32 coordinates,
// summed in 128 bits, so that a plan kilometres from the origin gives the same
// areas and centres as at the origin.
template <class F>
void ForEachEdge(const TCasaPlan& plan, const TIntList& walk, F&& f) {
  for (int32_t i = 1; i < walk.Count; ++i) {
    const TPoint p = plan.Outline[walk[i]];
    const TPoint q = plan.Outline[walk[i + 1]];
    f(p, q, int64_t{p.x} * q.y - int64_t{q.x} * p.y);
  }
}

// numerator / denominator (denominator > 0) to the nearest integer, halves to
// the even neighbour, as RoundToInt does for the quotient.
int32_t RoundedQuotient(Wide numerator, Wide denominator) {
  Wide q = numerator / denominator, r = numerator % denominator;
  if (r < 0) {
    --q;
    r += denominator;
  }
  if (2 * r > denominator || (2 * r == denominator && q % 2 != 0)) ++q;
  if (q < INT32_MIN || q > INT32_MAX) throw OverflowError();
  return static_cast<int32_t>(q);
}

}  // namespace

void DetectRoomsWith(TCasaPlan& plan, CoincidentSearch search) {
  if (plan.WallCount < 0 || plan.WallCount > TCasaPlan::kMaxWalls) return;
  try {
    RoomWalker(plan, search).Run();
  } catch (const std::exception&) {
    // Detection never reports: the rooms found so far stay.
  }
}

void TCasaPlan::DetectRooms() {
  DetectRoomsWith(*this, CoincidentSearch::kGrid);
}

double TCasaPlan::Area(const TIntList& walk) const {
  if (walk.Count < 3) return 0;
  Wide sum = 0;
  ForEachEdge(*this, walk, [&sum](TPoint, TPoint, int64_t cross) { sum += cross; });
  return static_cast<double>(sum) / 2;
}

TPoint TCasaPlan::Centroid(const TIntList& walk) const {
  if (walk.Count <= 2) return {0, 0};
  Wide s = 0, sx = 0, sy = 0;
  ForEachEdge(*this, walk, [&](TPoint p, TPoint q, int64_t cross) {
    s += cross;
    sx += Wide{cross} * (int64_t{p.x} + q.x);
    sy += Wide{cross} * (int64_t{p.y} + q.y);
  });
  if (s == 0) return {0, 0};
  if (s < 0) {
    s = -s;
    sx = -sx;
    sy = -sy;
  }
  return {RoundedQuotient(sx, 3 * s), RoundedQuotient(sy, 3 * s)};
}

std::string TCasaPlan::RoomName(int32_t r) const {
  return RoomNames.Value(Rooms[r].hash);
}
std::string TCasaPlan::RoomKind(int32_t r) const {
  return RoomKinds.Value(Rooms[r].hash);
}
std::string TCasaPlan::RoomColour(int32_t r) const {
  return RoomColours.Value(Rooms[r].hash);
}

}  // namespace casavo
