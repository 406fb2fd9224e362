// TCasaPlan: room detection by walking the wall faces; areas, centroids.

#include "plan/rooms.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "common/digest.h"
#include "common/errors.h"
#include "common/numeric.h"
#include "plan/corner_index.h"
#include "plan/corner_neighbours.h"
#include "plan/point_grid.h"

namespace casavo {
namespace {

constexpr int32_t kFirstEntry = 5;  // entries 1..4 belong to no wall

// Where faces of walls meeting at a small angle cross before their joint
// points, the walk runs past the crossing to those points and back: its loop
// twists, and the twist, turning the other way, is taken off the room's
// area. The room is the loop cut at such crossings, its turned-back pieces
// left out.
struct Point {
  long double x, y;
};
struct Sums {
  long double area = 0, x = 0, y = 0;      // area, and its moments times 3
  long double length = 0;                  // the border of the pieces kept
  long double twist = 0, twistLength = 0;  // the pieces left out
  bool widePiece = false;                  // a piece kept is wider than the 5 mm coincidence
  // When given, gets the pieces left out.
  std::vector<std::vector<Point>>* twists = nullptr;
};

// The first pair of edges (i, j), in increasing order, that cross each other
// strictly, or nothing. Integer points give exact 64-bit products, the same
// signs long double gives for coordinates within the plan's bounds, at a
// fraction of the cost: most room loops cross themselves nowhere.
template <class P, class T>
std::optional<std::pair<size_t, size_t>> FirstCrossing(const std::vector<P>& loop) {
  const size_t n = loop.size();
  const auto cross = [](P o, P a, P b) -> T {
    return (T{a.x} - o.x) * (T{b.y} - o.y) - (T{a.y} - o.y) * (T{b.x} - o.x);
  };
  const auto opposite = [](T u, T v) { return (u > 0 && v < 0) || (u < 0 && v > 0); };
  for (size_t i = 0; i + 2 < n; ++i) {
    const P a = loop[i], b = loop[i + 1];
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;  // adjacent through the closing edge
      const P c = loop[j], d = loop[(j + 1) % n];
      if (opposite(cross(a, b, c), cross(a, b, d)) && opposite(cross(c, d, a), cross(c, d, b)))
        return std::pair{i, j};
    }
  }
  return std::nullopt;
}

// The loop without its spikes: runs that go out and come back along nearly
// the same line, less than a millimetre apart where they part,
// which enclose nothing (a walk carried along a face past the point where
// it meets the next, and back).
std::vector<Point> WithoutSpikes(std::vector<Point> loop) {
  const auto spike = [](Point a, Point b, Point c) {
    const long double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
    const long double out = std::hypot(ux, uy), back = std::hypot(vx, vy);
    return ux * vx + uy * vy < 0 && std::min(out, back) >= 20 &&
           std::abs(ux * vy - uy * vx) < std::max(out, back);
  };
  for (size_t k = 0; loop.size() > 3 && k < loop.size();) {
    const size_t n = loop.size();
    if (spike(loop[(k + n - 1) % n], loop[k], loop[(k + 1) % n])) {
      loop.erase(loop.begin() + static_cast<long>(k));
      k = 0;
    } else {
      ++k;
    }
  }
  return loop;
}

long double LengthWithoutSpikes(const std::vector<Point>& loop) {
  const std::vector<Point> kept = WithoutSpikes(loop);
  long double length = 0;
  for (size_t k = 0; k < kept.size(); ++k) {
    const Point p = kept[k], q = kept[(k + 1) % kept.size()];
    length += std::hypot(q.x - p.x, q.y - p.y);
  }
  return length;
}

// Adds `piece` to `sums`: its area and moments when it turns clockwise on
// screen, else its area and length as a twist left out.
void AddPiece(const std::vector<Point>& piece, Sums& sums) {
  Sums own;
  long double length = 0;
  for (size_t k = 0; k < piece.size(); ++k) {
    const Point p = piece[k], q = piece[(k + 1) % piece.size()];
    const long double c2 = p.x * q.y - q.x * p.y;
    length += std::hypot(q.x - p.x, q.y - p.y);
    own.area += c2 / 2;
    own.x += c2 * (p.x + q.x) / 2;
    own.y += c2 * (p.y + q.y) / 2;
  }
  if (own.area > 0) {
    sums.area += own.area;
    sums.x += own.x;
    sums.y += own.y;
    sums.length += length;
    sums.widePiece = sums.widePiece || 2 * own.area >= 5 * LengthWithoutSpikes(piece);
  } else {
    sums.twist -= own.area;
    sums.twistLength += length;
    if (sums.twists != nullptr) sums.twists->push_back(piece);
  }
}

// Adds the pieces of `loop` that turn clockwise on screen to `sums`, cutting
// it at the first crossing of two of its edges, then each piece likewise.
// False when the loop crosses itself nowhere (`sums` is then untouched).
// `crossing` is the loop's first crossing when already known.
bool AddUntwisted(const std::vector<Point>& loop, Sums& sums, int depth,
                  std::optional<std::pair<size_t, size_t>> crossing) {
  if (depth >= 16 || !crossing) return false;
  const auto [i, j] = *crossing;
  const auto cross = [](Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
  };
  const Point a = loop[i], b = loop[i + 1], c = loop[j], d = loop[(j + 1) % loop.size()];
  const long double d3 = cross(c, d, a), d4 = cross(c, d, b);
  const long double t = d3 / (d3 - d4);
  const Point x{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
  std::vector<Point> inner{x}, outer(loop.begin(), loop.begin() + static_cast<long>(i) + 1);
  inner.insert(inner.end(), loop.begin() + static_cast<long>(i) + 1,
               loop.begin() + static_cast<long>(j) + 1);
  outer.push_back(x);
  outer.insert(outer.end(), loop.begin() + static_cast<long>(j) + 1, loop.end());
  for (const auto* piece : {&inner, &outer})
    if (!AddUntwisted(*piece, sums, depth + 1, FirstCrossing<Point, long double>(*piece)))
      AddPiece(*piece, sums);
  return true;
}

// Whether (x, y) lies inside the polygon of the n points at(0..n-1), by the
// even-odd rule.
template <class At>
bool InsidePolygon(size_t n, const At& at, long double x, long double y) {
  bool inside = false;
  for (size_t k = 0; k < n; ++k) {
    const auto p = at(k), q = at((k + 1) % n);
    if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * (static_cast<long double>(q.x) - p.x) /
                                                (static_cast<long double>(q.y) - p.y))
      inside = !inside;
  }
  return inside;
}

// Whether `test` holds at some point of a 16 x 16 grid over the bounds of the
// polygon of the n points at(0..n-1) that lies inside it.
template <class At, class Test>
bool AnyGridPointInside(size_t n, const At& at, const Test& test) {
  long double left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
  for (size_t k = 0; k < n; ++k) {
    const auto p = at(k);
    left = std::min<long double>(left, p.x);
    right = std::max<long double>(right, p.x);
    top = std::min<long double>(top, p.y);
    bottom = std::max<long double>(bottom, p.y);
  }
  constexpr int kSteps = 16;
  for (int i = 0; i < kSteps; ++i) {
    for (int j = 0; j < kSteps; ++j) {
      const long double x = left + (right - left) * (i + 0.5L) / kSteps;
      const long double y = top + (bottom - top) * (j + 0.5L) / kSteps;
      if (InsidePolygon(n, at, x, y) && test(x, y)) return true;
    }
  }
  return false;
}

// Whether (x, y) lies in the wall's body, the rectangle between its corners.
bool InBody(const TCasaPlan& plan, const TWall& wall, long double x, long double y) {
  const TPoint a = plan.Corners[wall.C1], b = plan.Corners[wall.C2];
  const long double dx = static_cast<long double>(b.x) - a.x;
  const long double dy = static_cast<long double>(b.y) - a.y;
  const long double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) return false;
  const long double t = ((x - a.x) * dx + (y - a.y) * dy) / length;
  const long double d = std::abs((x - a.x) * dy - (y - a.y) * dx) / length;
  return t > 0 && t < length && d < wall.epais / 2.0L;
}

// Walks the faces of the walls from each start entry; every walk that closes
// around a positive (clockwise on screen) area is a room.
class RoomWalker {
 public:
  RoomWalker(TCasaPlan& plan, CoincidentSearch search)
      : plan_(plan),
        lastEntry_(4 * plan.WallCount + 4),
        points_(static_cast<size_t>(lastEntry_) + 1),
        corner_(static_cast<size_t>(lastEntry_) + 1, 0),
        freeEnd_(static_cast<size_t>(lastEntry_) + 1, false),
        visited_(static_cast<size_t>(lastEntry_) + 1, false) {
    // What a step asks of an entry, gathered in entry order: the walk visits
    // entries in the order of the plan, not of the tables.
    const CornerWallIndex corners(plan);
    for (int32_t e = kFirstEntry; e <= lastEntry_; ++e) {
      const TWall& wall = plan.Walls[(e - 1) / 4];
      const int32_t corner = (e % 4 == 1 || e % 4 == 0) ? wall.C1 : wall.C2;
      corner_[static_cast<size_t>(e)] = corner;
      freeEnd_[static_cast<size_t>(e)] = corners.EndCount(corner) == 1;
      points_[static_cast<size_t>(e)] = plan.Outline[e];
    }
    FindNeighbourFaces(corners);
    if (search == CoincidentSearch::kGrid) grid_.emplace(points_, kFirstEntry, lastEntry_);
  }

  // How one walk ended: where it stopped on no loop, or whether its entries
  // lie on a loop and whether that loop is a room.
  struct WalkEnd {
    int32_t stop = 0;
    bool onLoop = false;
    bool room = false;
  };

  // `walked`, when given, hears of each walk as it ends.
  void Run(const std::function<void(const WalkEnd&, const TPiece&)>& walked = {}) {
    plan_.RoomCount = 0;
    plan_.OpenWalkEnds.clear();
    std::vector<bool> onLoop(visited_.size(), false);
    std::vector<int32_t> stops;
    // The last wall's entries are never starts: its faces are reached from
    // its neighbours.
    for (int32_t start = kFirstEntry; start <= 4 * plan_.WallCount; ++start) {
      if (plan_.RoomCount == TCasaPlan::kMaxRooms) return;
      // Each walk is made in the border of the next room record, which it
      // becomes when it closes around an area; items past a list's count are
      // never read, so a failed walk leaves nothing behind.
      TPiece& room = plan_.Rooms[plan_.RoomCount + 1];
      const WalkEnd end = Walk(start, room);
      if (walked) walked(end, room);
      if (end.stop != 0) stops.push_back(end.stop);
      if (end.onLoop)
        for (const int32_t e : touched_) onLoop[static_cast<size_t>(e)] = true;
      if (end.room) ++plan_.RoomCount;
    }
    // Where a walk stopped on no loop, the faces of the drawing do not close.
    for (const int32_t e : stops) {
      if (onLoop[static_cast<size_t>(e)]) continue;
      onLoop[static_cast<size_t>(e)] = true;
      plan_.OpenWalkEnds.push_back(points_[static_cast<size_t>(e)]);
    }
  }

 private:
  enum class StepResult { kRoundedFreeEnd, kJoined, kStopped, kFull };

  // One walk from start, made in `room`, which it fills when it is a room.
  WalkEnd Walk(int32_t start, TPiece& room) {
    room.Border.Count = 0;
    faces_.clear();
    touched_.clear();
    read_.clear();
    pairedStep_ = false;
    closedAtStart_ = false;
    freePointChecked_ = false;
    const bool closes = WalkCloses(start, room.Border);
    const bool back = room.Border.Count > 1 && room.Border[room.Border.Count] == start;
    if (!closes && !back && !full_) return {room.Border[room.Border.Count], false, false};
    if (!closes) return {0, true, false};
    double area = plan_.Area(room.Border);
    if (area < 0 && closedAtStart_ && RunBackwards(room.Border)) area = -area;
    if ((area > 0 ? !NarrowerThanCoincidence(room.Border, area) || WideUntwisted(room.Border)
                  : RoomUnderWallOverlap(room.Border, area)) &&
        WallsOutside() && !EveryFaceTurned() &&
        (!(pairedStep_ || WithinWallReach(room.Border)) || HasFreePoint(room.Border))) {
      AddRoom(room, area);
      return {0, true, true};
    }
    return {0, true, false};
  }

  // Walks from start until the walk stops or comes back to its start. Back at
  // its start the walk ends: going on would circle a free-standing wall for
  // ever, or, from a start at a free end, run round that end again and lose
  // the loop just closed. A loop that never met another wall only went round
  // a free-standing wall, whose own rectangle is no room. A walk that
  // outgrows its list is dropped on its own.
  bool WalkCloses(int32_t start, TIntList& walk) {
    walk.Append(start);
    bool joined = false;
    full_ = false;
    for (;;) {
      switch (Step(walk)) {
        case StepResult::kFull:
          full_ = true;
          return false;
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
    Read(e);
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
      faces_.push_back({a, b});
      return StepResult::kRoundedFreeEnd;
    }
    int32_t m = CoincidentWayOn(walk, e);
    if (m == 0) {
      // The faces that meet at the corner do not share their point: a joint
      // cut back at a sharp angle, a step between walls of different
      // thicknesses, a face shrunk to nothing. The walk goes on along the
      // face that the joint rule pairs with this one.
      const int32_t paired = neighbourFace_[static_cast<size_t>(e)];
      if (paired == 0) return StepResult::kStopped;
      m = paired;
      pairedStep_ = true;
    }
    // Back at a start on a face shrunk to a point, or reached through a
    // paired face: the loop is closed.
    if (m == walk[1] && walk.Count > 2) {
      if (walk.Count + 1 > TIntList::kCapacity) return StepResult::kFull;
      closedAtStart_ = true;
      walk.Append(m);
      return StepResult::kJoined;
    }
    if (Visited(m)) return StepResult::kStopped;
    const int32_t next = (m % 4 == 1 || m % 4 == 3) ? m + 1 : m - 1;
    // A paired face starts away from e: the step to it is part of the border.
    const bool paired = !Coincide(points_[static_cast<size_t>(e)], points_[static_cast<size_t>(m)]);
    if (walk.Count + (paired ? 2 : 1) > TIntList::kCapacity) return StepResult::kFull;
    Visit(m);
    Visit(e);
    if (paired) walk.Append(m);
    walk.Append(next);
    faces_.push_back({m, next});
    return StepResult::kJoined;
  }

  // The face end at e's point the walk goes on from, or 0 when there is none
  // to take.
  int32_t CoincidentWayOn(const TIntList& walk, int32_t e) {
    int32_t m = FirstCoincident(e);
    if (m != 0 && MetByChance(e, m)) m = 0;
    if (m != 0 && m != walk[1] && Turned(m)) m = StraightCoincident(e, m);
    // A face shrunk to a point (a short piece between staggered or stepped
    // walls) shares it with the face end the walk has just left: the walk
    // goes on to another face at that corner, or, when there is none or it
    // is where the walk came from, to the face the joint rule pairs with
    // this one.
    if (m != 0 && BackOverShrunkFace(walk, e, m)) {
      // Only faces that end at e's corner go on from it.
      do {
        m = FirstCoincidentAfter(e, m);
      } while (m != 0 && CornerOf(m) != CornerOf(e));
      if (m != 0 && Visited(m)) m = 0;
    }
    // Both ends of a face shrunk to a point coincide with e: the walk enters
    // it at the end on e's corner, so as to leave it at the other.
    if (m != 0) {
      const int32_t other = FaceEndBefore(m);
      Read(other);
      if (other != e && CornerOf(m) != CornerOf(e) && CornerOf(other) == CornerOf(e) &&
          Coincide(points_[static_cast<size_t>(e)], points_[static_cast<size_t>(other)]))
        m = other;
    }
    return m;
  }

  // Whether m, coincident with e, lies where the walk entered e's face: its
  // other end, or the entry the walk came to that face from, when both ends
  // of the face lie at that point.
  static bool BackOverShrunkFace(const TIntList& walk, int32_t e, int32_t m) {
    return m == FaceEndBefore(e) || (walk.Count >= 2 && m == walk[walk.Count - 1]);
  }

  // Faces capped at the same distance from a corner, along nearly the same
  // line, can end at one point by chance. Where the face the joint rule pairs
  // e with ends elsewhere, such a face end m of another wall at e's corner is
  // no way on: the walk takes the paired face.
  bool MetByChance(int32_t e, int32_t m) const {
    if (m == FaceEndBefore(e) || CornerOf(m) != CornerOf(e)) return false;
    const int32_t paired = neighbourFace_[static_cast<size_t>(e)];
    return paired != 0 && paired != m && (paired - 1) / 4 != (m - 1) / 4 &&
           !Coincide(points_[static_cast<size_t>(e)], points_[static_cast<size_t>(paired)]);
  }

  // A loop narrower than the 5 mm within which two outline points are one (on
  // average: twice its area over its length) is a sliver between faces that
  // joint points rounded to the millimetre leave apart, not a room.
  bool NarrowerThanCoincidence(const TIntList& walk, double area) const {
    long double length = 0;
    for (int32_t i = 1; i < walk.Count; ++i) {
      const TPoint p = points_[static_cast<size_t>(walk[i])];
      const TPoint q = points_[static_cast<size_t>(walk[i + 1])];
      length +=
          std::hypot(static_cast<long double>(q.x) - p.x, static_cast<long double>(q.y) - p.y);
    }
    return 2 * static_cast<long double>(area) < 5 * length;
  }

  // Where two faces cross, a loop can wind round a room one way and round
  // the overlap of two walls the other: its area, the one less the other,
  // looks narrow though the room, the loop untwisted, is not. Narrow twists
  // count too, and one wide piece makes the room wide: a loop that runs on
  // past a crossing and back along the same face line is narrow on its
  // whole length though the room it closes is not.
  bool WideUntwisted(const TIntList& walk) {
    const std::optional<Sums> sums = Untwisted(LoopCorners(walk));
    return sums && sums->widePiece;
  }

  // A wall across a small room's corner can overlap the wall it runs into
  // by more than the room it cuts off: the loop round that room turns back
  // over the overlap, and its area, the room less the overlap, is negative,
  // as a loop round the outside of a group of walls is. Untwisted, it is a
  // wide room whose turned-back pieces are all wall material of the walls
  // it runs along, where such an outside loop encloses free space or is too
  // large: an overlap is no larger than the square of the walls' thickness.
  bool RoomUnderWallOverlap(const TIntList& walk, double area) {
    int32_t thickest = 0;
    for (const auto& face : faces_)
      thickest = std::max(thickest, plan_.Walls[(face.first - 1) / 4].epais);
    if (-area > static_cast<double>(thickest) * thickest) return false;
    std::vector<std::vector<Point>> twists;
    const std::optional<Sums> sums = WidelyTwisted(walk, &twists);
    if (!sums || 2 * sums->area < 5 * sums->length) return false;
    return std::all_of(twists.begin(), twists.end(), [this](const std::vector<Point>& piece) {
      const auto at = [&piece](size_t k) { return piece[k]; };
      return AnyGridPointInside(piece.size(), at, [](long double, long double) { return true; }) &&
             !AnyGridPointInside(piece.size(), at, [this](long double x, long double y) {
               return !InFaceWall(x, y);
             });
    });
  }

  // Whether (x, y) lies in the body of a wall the walk ran along.
  bool InFaceWall(long double x, long double y) const {
    return std::any_of(faces_.begin(), faces_.end(), [&](const std::pair<int32_t, int32_t>& face) {
      return InBody(plan_, plan_.Walls[(face.first - 1) / 4], x, y);
    });
  }

  // The walk's points, the closing one once.
  const std::vector<TPoint>& LoopCorners(const TIntList& walk) {
    loopPoints_.clear();
    for (int32_t i = 1; i < walk.Count; ++i)
      loopPoints_.push_back(points_[static_cast<size_t>(walk[i])]);
    return loopPoints_;
  }

  static std::vector<Point> Exact(const std::vector<TPoint>& corners) {
    std::vector<Point> loop;
    loop.reserve(corners.size());
    for (const TPoint p : corners)
      loop.push_back({static_cast<long double>(p.x), static_cast<long double>(p.y)});
    return loop;
  }

  // The pieces of the loop through `corners` that turn the room's way, when
  // it crosses itself.
  static std::optional<Sums> Untwisted(const std::vector<TPoint>& corners,
                                       std::vector<std::vector<Point>>* twists = nullptr) {
    const auto crossing = FirstCrossing<TPoint, int64_t>(corners);
    if (!crossing) return std::nullopt;
    const std::vector<Point> loop = Exact(corners);
    Sums sums;
    sums.twists = twists;
    if (!AddUntwisted(loop, sums, 0, crossing) || sums.area <= 0) return std::nullopt;
    return sums;
  }

  // The border's pieces turning the room's way, when it crosses itself and
  // its twists are wider than the 5 mm coincidence: narrower ones, the
  // rounding of joint points, make no room of a loop and take none away.
  std::optional<Sums> WidelyTwisted(const TIntList& walk,
                                    std::vector<std::vector<Point>>* twists = nullptr) {
    std::optional<Sums> sums = Untwisted(LoopCorners(walk), twists);
    if (sums && 2 * sums->twist < 5 * sums->twistLength) return std::nullopt;
    return sums;
  }

  // The ends of the faces the walk ran along, in order: where it went on
  // from a face end to another it takes for the same point, both. Faces
  // meeting at a small angle can cross before such ends; the loop through
  // them crosses itself there, where the one through the border does not.
  const std::vector<TPoint>& FaceLoop() {
    loopPoints_.clear();
    for (const auto& [from, to] : faces_)
      for (const int32_t e : {from, to}) {
        const TPoint p = points_[static_cast<size_t>(e)];
        if (loopPoints_.empty() || loopPoints_.back() != p) loopPoints_.push_back(p);
      }
    if (loopPoints_.size() > 1 && loopPoints_.front() == loopPoints_.back()) loopPoints_.pop_back();
    return loopPoints_;
  }

  // A loop round a room has the room on one side of every wall face it runs
  // along and the wall on the other. A loop with a wall on its inner side
  // went round wall material (walls that lie along each other make such
  // loops): it encloses no free area and is no room. With a positive area
  // the inner side is the left of each face, where the cross product of the
  // face's direction with a point of the wall's centre line is positive. The
  // direction is the wall's own, C1 to C2 or back, as the face is run: joints
  // can leave a short face turned round.
  bool WallsOutside() const {
    for (const auto& [from, to] : faces_) {
      const TWall& wall = plan_.Walls[(from - 1) / 4];
      const TPoint c1 = plan_.Corners[wall.C1], c2 = plan_.Corners[wall.C2];
      const bool towardsC2 = from % 4 == 1 || from % 4 == 0;
      const int64_t dx = towardsC2 ? int64_t{c2.x} - c1.x : int64_t{c1.x} - c2.x;
      const int64_t dy = towardsC2 ? int64_t{c2.y} - c1.y : int64_t{c1.y} - c2.y;
      const TPoint a = points_[static_cast<size_t>(from)];
      if (dx * (int64_t{c1.y} - a.y) - dy * (int64_t{c1.x} - a.x) > 0) return false;
    }
    return true;
  }

  // A walk that closes on its start's point without running the start's own
  // face took its way round from the first face it met there, which can be
  // either: round a room it may run backwards, the walls on its inner side.
  // Such a loop is turned to run the room's way. False, and the walk left as
  // it is, when the turned loop has walls on its inner side too.
  bool RunBackwards(TIntList& walk) {
    const auto turn = [&] {
      for (int32_t i = 1, j = walk.Count; i < j; ++i, --j) {
        const int32_t e = walk[i];
        walk[i] = walk[j];
        walk[j] = e;
      }
      // The faces in the turned order too: the room's area is taken
      // along them.
      std::reverse(faces_.begin(), faces_.end());
      for (auto& face : faces_) std::swap(face.first, face.second);
    };
    turn();
    if (WallsOutside()) return true;
    turn();
    return false;
  }

  // Whether every face the walk ran along is turned round, run against its
  // wall's direction: where walls meet at sharp angles round a spot smaller
  // than their thickness, the joints carry their faces past each other, and
  // such faces close a loop over wall material, never round free space.
  bool EveryFaceTurned() const {
    return !faces_.empty() && std::all_of(faces_.begin(), faces_.end(),
                                          [this](const std::pair<int32_t, int32_t>& face) {
                                            return Turned(face.first);
                                          });
  }

  // Whether the face run from entry `from` to its other end runs against its
  // wall's direction.
  bool Turned(int32_t from) const {
    const TWall& wall = plan_.Walls[(from - 1) / 4];
    const TPoint c1 = plan_.Corners[wall.C1], c2 = plan_.Corners[wall.C2];
    const TPoint a = points_[static_cast<size_t>(from)];
    const TPoint b = points_[static_cast<size_t>(FaceEndBefore(from))];
    const int64_t along = (int64_t{c2.x} - c1.x) * (int64_t{b.x} - a.x) +
                          (int64_t{c2.y} - c1.y) * (int64_t{b.y} - a.y);
    const bool towardsC2 = from % 4 == 1 || from % 4 == 0;
    return towardsC2 ? along < 0 : along > 0;
  }

  // Where several face ends meet at e's point and the first is of a face
  // turned round, over wall material, the way on is the first that runs its
  // wall's way (and is no mere point), else the first at e's corner, where
  // the joint rule made the faces meet; m when there is neither.
  int32_t StraightCoincident(int32_t e, int32_t m) {
    Read(m);
    int32_t atCorner = 0;
    for (int32_t j = FirstCoincidentAfter(e, m); j != 0; j = FirstCoincidentAfter(e, j)) {
      Read(j);
      if (j == e) continue;
      if (!Turned(j) &&
          points_[static_cast<size_t>(j)] != points_[static_cast<size_t>(FaceEndBefore(j))])
        return j;
      if (atCorner == 0 && CornerOf(j) == CornerOf(e)) atCorner = j;
    }
    return CornerOf(m) != CornerOf(e) && atCorner != 0 ? atCorner : m;
  }

  // Whether some point inside the walk (of a 16 x 16 grid over it, or just
  // inside the middle of one of its sides, for a room too narrow for the
  // grid) lies in no wall: a loop closed through paired faces can run round
  // wall material where short walls meet at odd angles.
  bool HasFreePoint(const TIntList& walk) {
    freePointChecked_ = true;
    const size_t n = static_cast<size_t>(walk.Count - 1);
    const auto at = [&](size_t k) {
      return points_[static_cast<size_t>(walk[static_cast<int32_t>(k) + 1])];
    };
    const auto free = [this](long double x, long double y) { return !InAWall(x, y); };
    if (AnyGridPointInside(n, at, free)) return true;
    constexpr long double kInside = 5;  // the coincidence, off the side
    for (size_t k = 0; k < n; ++k) {
      const TPoint p = at(k), q = at((k + 1) % n);
      const long double dx = static_cast<long double>(q.x) - p.x;
      const long double dy = static_cast<long double>(q.y) - p.y;
      const long double length = std::hypot(dx, dy);
      if (length < 4 * kInside) continue;
      // A room turns clockwise on screen: its inside is left of each side.
      const long double x = (p.x + (dx / 2)) - dy / length * kInside;
      const long double y = (p.y + (dy / 2)) + dx / length * kInside;
      if (InsidePolygon(n, at, x, y) && free(x, y)) return true;
    }
    return false;
  }

  // Whether the walk fits in a square twice as wide as the thickest wall it
  // runs along: where short walls cross inside a junction, the faces of the
  // junction's own pieces can close such a loop inside the wall material.
  bool WithinWallReach(const TIntList& walk) const {
    int32_t thickest = 0;
    for (const auto& face : faces_)
      thickest = std::max(thickest, plan_.Walls[(face.first - 1) / 4].epais);
    const TPoint first = points_[static_cast<size_t>(walk[1])];
    int64_t left = first.x, top = first.y, right = first.x, bottom = first.y;
    for (int32_t i = 2; i <= walk.Count; ++i) {
      const TPoint p = points_[static_cast<size_t>(walk[i])];
      left = std::min<int64_t>(left, p.x);
      right = std::max<int64_t>(right, p.x);
      top = std::min<int64_t>(top, p.y);
      bottom = std::max<int64_t>(bottom, p.y);
    }
    return std::max(right - left, bottom - top) <= 2 * int64_t{thickest};
  }

  bool InAWall(long double x, long double y) const {
    for (int32_t w = 1; w <= plan_.WallCount; ++w)
      if (InBody(plan_, plan_.Walls[w], x, y)) return true;
    return false;
  }

  // For each entry, the entry of the neighbouring wall whose face the joint
  // rule meets it with at its corner: the angularly nearest wall on that
  // side, as UpdateWallOutline picks it. Those of walls first..last only,
  // when given.
  void FindNeighbourFaces(const CornerWallIndex& corners, int32_t first = 1, int32_t last = -1) {
    std::vector<CornerNeighbours> table;
    if (last < 0) {
      neighbourFace_.assign(static_cast<size_t>(lastEntry_) + 1, 0);
      last = plan_.WallCount;
      table = NeighboursOfEveryEnd(plan_, corners);
    }
    for (int32_t w = first; w <= last; ++w)
      for (const bool atC2 : {false, true}) {
        const int32_t corner = atC2 ? plan_.Walls[w].C2 : plan_.Walls[w].C1;
        SetNeighbourFaces(w, atC2,
                          table.empty() ? NeighboursAt(plan_, corners.WallsAt(corner), corner, w,
                                                       Leaving(plan_, w, atC2))
                                        : table[2 * static_cast<size_t>(w) + (atC2 ? 1 : 0)]);
      }
  }

  // Side B at C1 and side A at C2 meet the wall above; the other two the wall
  // below. Above, a wall leaving the corner offers its side A at its C1, one
  // arriving its side B at its C2; below, the reverse.
  void SetNeighbourFaces(int32_t w, bool atC2, const CornerNeighbours& near) {
    const int32_t base = 4 * w;
    if (near.above.wall != 0)
      neighbourFace_[static_cast<size_t>(atC2 ? base + 2 : base + 4)] =
          4 * near.above.wall + (near.above.atC2 ? 3 : 1);
    if (near.below.wall != 0)
      neighbourFace_[static_cast<size_t>(atC2 ? base + 3 : base + 1)] =
          4 * near.below.wall + (near.below.atC2 ? 2 : 4);
  }

  int32_t FirstCoincident(int32_t e) const {
    if (grid_) return grid_->FirstCoincident(e);
    return FirstCoincidentByScan(points_, kFirstEntry, lastEntry_, e);
  }

  int32_t FirstCoincidentAfter(int32_t e, int32_t after) const {
    if (grid_) return grid_->FirstCoincidentAfter(e, after);
    return FirstCoincidentByScan(points_, after + 1, lastEntry_, e);
  }

  int32_t CornerOf(int32_t e) const { return corner_[static_cast<size_t>(e)]; }

  // The other end of e's face.
  static int32_t FaceEndBefore(int32_t e) { return (e % 4 == 1 || e % 4 == 3) ? e + 1 : e - 1; }

  void Visit(int32_t e) {
    visited_.at(static_cast<size_t>(e)) = true;
    touched_.push_back(e);
  }

  // Whether a walk has been through e: this one, or, while a drag re-runs
  // walks, one from an earlier start.
  bool Visited(int32_t e) {
    Read(e);
    return visited_[static_cast<size_t>(e)] || (history_ != nullptr && history_->VisitedEarlier(e));
  }

  // What a walk looked at, so that a drag re-runs only the walks it can change.
  void Read(int32_t e) {
    if (recording_) read_.push_back(e);
  }

  // The area and moments of the walk's loop without its spikes, when it has
  // any: their few square millimetres lie far out and pull the centre off.
  std::optional<Sums> Spikeless(const TIntList& walk) {
    const std::vector<Point> loop = Exact(LoopCorners(walk));
    const std::vector<Point> kept = WithoutSpikes(loop);
    if (kept.size() == loop.size()) return std::nullopt;
    Sums sums;
    AddPiece(kept, sums);
    if (sums.area <= 0) return std::nullopt;
    return sums;
  }

  void AddRoom(TPiece& room, double area) {
    room.surface = area;
    room.Centre = plan_.Centroid(room.Border);
    // The room is the loop of its faces without its turned-back pieces, or
    // without its spikes.
    std::optional<Sums> sums = Untwisted(FaceLoop());
    if (!sums) sums = Spikeless(room.Border);
    if (sums) {
      room.surface = static_cast<double>(sums->area);
      room.Centre = {RoundToInt(static_cast<double>(sums->x / (3 * sums->area))),
                     RoundToInt(static_cast<double>(sums->y / (3 * sums->area)))};
    }
    room.hash = Md5Hex(room.Border.ToText());
  }

  TCasaPlan& plan_;
  const int32_t lastEntry_;
  std::vector<TPoint> points_;
  // The corner of each entry: steps compare them, and the walls' records are
  // too wide to read for it once a large plan's tables outgrow the cache.
  std::vector<int32_t> corner_;
  std::vector<bool> freeEnd_;  // the entry's corner holds no other wall end
  std::vector<bool> visited_;
  std::vector<int32_t> neighbourFace_;
  bool pairedStep_ = false;  // the current walk went on along a paired face
  // The current walk closed on its start's point without running its face.
  bool closedAtStart_ = false;
  bool full_ = false;  // the current walk outgrew its list
  // The wall faces the current walk has run along, as pairs of entries.
  std::vector<std::pair<int32_t, int32_t>> faces_;
  std::vector<int32_t> touched_;    // the entries the current walk has visited
  std::vector<TPoint> loopPoints_;  // a loop's points, kept for its capacity
  std::optional<PointGrid> grid_;
  // For a drag's local re-detection (RoomWalks, below).
  friend class casavo::RoomWalks;
  const WalkHistory* history_ = nullptr;
  bool recording_ = false;         // a RoomWalks keeps what the walks look at
  std::vector<int32_t> read_;      // the entries the current walk looked at
  bool freePointChecked_ = false;  // the current walk looked at every wall
};

__extension__ typedef __int128 Wide;  // a GCC and Clang type, not ISO C++

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

// --- the walks kept for a drag ------------------------------------------------

struct RoomWalks::Impl {
  explicit Impl(TCasaPlan& plan) : walker(plan, CoincidentSearch::kGrid) {
    walker.recording_ = true;
  }
  RoomWalker walker;
};

RoomWalks::RoomWalks(TCasaPlan& plan) : impl_(std::make_unique<Impl>(plan)) {}
RoomWalks::~RoomWalks() = default;

namespace {

void SortOnce(std::vector<int32_t>& entries) {
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
}

}  // namespace

RoomWalk RoomWalks::Record(const Impl& impl, int32_t stop, bool onLoop, bool room,
                           const TPiece& piece) {
  const RoomWalker& walker = impl.walker;
  RoomWalk walk{stop, onLoop, room, walker.freePointChecked_, {}, walker.read_, walker.touched_};
  // The border's points make its area, centre and key.
  for (int32_t i = 1; i <= piece.Border.Count; ++i) walk.read.push_back(piece.Border[i]);
  SortOnce(walk.read);
  SortOnce(walk.visited);
  if (walk.anyWall) {
    walk.box = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t i = 1; i <= piece.Border.Count; ++i) {
      const TPoint p = walker.points_[static_cast<size_t>(piece.Border[i])];
      walk.box = {std::min(walk.box.left, p.x), std::min(walk.box.top, p.y),
                  std::max(walk.box.right, p.x), std::max(walk.box.bottom, p.y)};
    }
  }
  return walk;
}

bool RoomWalks::DetectAll(std::vector<RoomWalk>& walks) {
  walks.clear();
  TCasaPlan& plan = impl_->walker.plan_;
  if (plan.WallCount < 0 || plan.WallCount > TCasaPlan::kMaxWalls) return false;
  RoomWalker& walker = impl_->walker;
  bool whole = true;
  try {
    walker.Run([&](const RoomWalker::WalkEnd& end, const TPiece& room) {
      walks.push_back(Record(*impl_, end.stop, end.onLoop, end.room, room));
    });
  } catch (const std::exception&) {
    // As DetectRooms: the rooms found so far stay.
    whole = false;
  }
  // From now on each walk is made alone, after the walks before it as a
  // WalkHistory tells them.
  std::fill(walker.visited_.begin(), walker.visited_.end(), false);
  return whole && plan.RoomCount < TCasaPlan::kMaxRooms &&
         walks.size() == static_cast<size_t>(std::max(0, 4 * plan.WallCount - 4));
}

std::vector<int32_t> RoomWalks::WallsMoved(const std::vector<int32_t>& walls,
                                           const CornerWallIndex& corners) {
  RoomWalker& walker = impl_->walker;
  PointGrid& grid = walker.grid_.value();
  std::vector<int32_t> near, moved;
  for (const int32_t w : walls)
    for (int32_t e = 4 * w + 1; e <= 4 * w + 4; ++e) {
      near.push_back(e);
      if (walker.points_.at(static_cast<size_t>(e)) != walker.plan_.Outline[e]) moved.push_back(e);
    }
  const auto addCoincident = [&] {
    for (const int32_t e : moved)
      for (int32_t j = grid.FirstCoincidentAfter(e, 0); j != 0; j = grid.FirstCoincidentAfter(e, j))
        near.push_back(j);
  };
  addCoincident();
  for (const int32_t e : moved) {
    walker.points_[static_cast<size_t>(e)] = walker.plan_.Outline[e];
    grid.Moved(e);
  }
  addCoincident();
  SortOnce(near);
  for (const int32_t e : near) grid.Refresh(e);
  for (const int32_t w : walls) {
    std::fill_n(walker.neighbourFace_.begin() + 4 * w + 1, 4, 0);
    walker.FindNeighbourFaces(corners, w, w);
  }
  return near;
}

RoomWalk RoomWalks::WalkAgain(int32_t start, TPiece& room, const WalkHistory& history) {
  RoomWalker& walker = impl_->walker;
  // The walk leaves no visit behind, whether it ends or raises.
  struct Alone {
    RoomWalker& walker;
    ~Alone() {
      for (const int32_t e : walker.touched_) walker.visited_[static_cast<size_t>(e)] = false;
      walker.history_ = nullptr;
    }
  } alone{walker};
  walker.history_ = &history;
  const RoomWalker::WalkEnd end = walker.Walk(start, room);
  return Record(*impl_, end.stop, end.onLoop, end.room, room);
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
