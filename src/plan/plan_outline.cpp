// TCasaPlan: wall outlines and the joint rule (JoinEnd).

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <optional>
#include <vector>

#include "common/numeric.h"
#include "plan/casa_plan.h"
#include "plan/corner_index.h"
#include "plan/corner_neighbours.h"

namespace casavo {
namespace {

// Where the joint rule finds the walls at a corner and their plain rectangles:
// by scanning the whole table (one wall at a time), or through an index and
// rectangles computed once for a whole refresh. Both give the same walls in
// the same order, hence the same outlines.
struct JointLookup {
  const CornerWallIndex* index = nullptr;
  const std::vector<TQuad>* polygons = nullptr;
  const std::vector<CornerNeighbours>* neighbours = nullptr;  // of every wall end
};

// Walls closer than this (degrees) meet at a sharp angle.
constexpr double kSharp = 90;
// Walls within this (degrees) of a straight line continue each other.
constexpr double kInLine = 5;

// Outline points closer than this (mm) are one for the room walk.
constexpr double kCoincidence = 5;

// Walls leaving a corner within this (degrees) of each other fan out from it.
constexpr double kFanning = 5;

// The angle turned from direction `from` to direction `to`, in [0, 360).
double Opening(double from, double to) {
  return std::fmod(to - from + 360, 360);
}

// Which end of a wall is at the joint corner.
enum class WallEnd : uint8_t { C1, C2 };

class JointSolver {
 public:
  JointSolver(const TCasaPlan& plan, JointLookup lookup) : plan_(plan), lookup_(lookup) {}

  // Trims or extends wall w's faces at one end against the angularly nearest
  // walls on either side. True when another wall meets it. The outline o
  // holds points 1 to 4 as o[0] to o[3]; side A is on the left looking from
  // C1 to C2 on screen (y downwards):
  //
  //                  side A
  //       1 +-------------------------+ 2
  //         |                         |
  //      C1 *------------------------>* C2
  //         |                         |
  //       4 +-------------------------+ 3
  //                  side B
  //
  // At C1, the next wall turning one way (`above`) moves point 4 along the
  // line 4-3 and the next one the other way (`below`) moves point 1 along
  // 1-2; at C2, `above` moves point 2 along 1-2 and `below` point 3 along
  // 3-4. Each point stops on the face of the neighbour that looks its way.
  bool JoinEnd(int32_t w, TQuad& o, WallEnd end) const {
    const TWall& wall = plan_.Walls[w];
    const int32_t corner = end == WallEnd::C1 ? wall.C1 : wall.C2;
    const double t0 = Leaving(plan_, w, end == WallEnd::C2);
    const CornerNeighbours near = NeighboursOf(w, end, corner, t0);
    const CornerNeighbour& above = near.above;
    const CornerNeighbour& below = near.below;

    const int64_t limit = 2 * int64_t{near.thickest};
    // On each side, the point stops on the face of the wall that borders the
    // sector there near the corner.
    const auto joinSide = [&](const CornerNeighbour& n, bool aboveSide) {
      if (n.wall == 0) return;
      const Face face = FaceAt(end, aboveSide);
      TPoint& target = o[face.nearEnd];
      const Fan fan{
          corner, limit, {w, end == WallEnd::C2, t0}, n, aboveSide ? near.below : near.above};
      if (const auto out = Emerging(fan, aboveSide)) {
        target = *out;
        return;
      }
      const CornerNeighbour facing = FacingWall(fan, aboveSide);
      // A face its C1 joint moved to within a few millimetres of its other
      // end has lost its direction to the rounding: at C2 it moves along its
      // plain line.
      TPoint ends[2] = {o[face.first], o[face.first + 1]};
      if (end == WallEnd::C2 && Distance2(ends[0], ends[1]) < 25)
        ends[face.FarEnd() - face.first] = PolygonOf(w)[face.FarEnd()];
      MoveTo(target, ends[0], ends[1], PolygonOf(facing.wall), aboveSide != facing.atC2,
             JointWith(fan.self, facing, fan, aboveSide));
    };
    joinSide(above, true);
    joinSide(below, false);
    return above.wall != 0 || below.wall != 0;
  }

  CornerNeighbours NeighboursOf(int32_t w, WallEnd end, int32_t corner, double t0) const {
    if (lookup_.neighbours != nullptr)
      return (*lookup_.neighbours)[2 * static_cast<size_t>(w) + (end == WallEnd::C2 ? 1 : 0)];
    if (lookup_.index != nullptr)
      return NeighboursAt(plan_, lookup_.index->WallsAt(corner), corner, w, t0);
    // Without an index, every wall is a candidate.
    std::vector<int32_t> walls(static_cast<size_t>(plan_.WallCount));
    std::iota(walls.begin(), walls.end(), 1);
    return NeighboursAt(plan_, walls, corner, w, t0);
  }

  TQuad PolygonOf(int32_t w) const {
    if (lookup_.polygons != nullptr) return (*lookup_.polygons)[static_cast<size_t>(w)];
    return plan_.WallPolygon(w);
  }

 private:
  // Wall w's face meeting its neighbour n's at corner k.
  struct Joint {
    int32_t w, n, corner;
    int64_t limit;   // how far from k a joint point may lie
    bool sharp;      // the walls meet at a sharp angle on this side
    bool inLine;     // nearly in line
    bool step;       // nearly in line, with different thicknesses
    double bendOff;  // nearly in line: how far from its plain end the face meets the other
  };

  // A wall's face on one side at one end: the outline points it joins, in
  // order (first and first + 1), and the one at that end.
  struct Face {
    size_t first, nearEnd;
    size_t FarEnd() const { return 2 * first + 1 - nearEnd; }
  };
  static Face FaceAt(WallEnd end, bool aboveSide) {
    if (aboveSide) return end == WallEnd::C1 ? Face{2, 3} : Face{0, 1};
    return end == WallEnd::C1 ? Face{0, 0} : Face{2, 2};
  }

  // A wall being joined at a corner (`self`), its neighbour on the side
  // being joined and the one on its other side.
  struct Fan {
    int32_t corner;
    int64_t limit;  // how far from the corner a joint point may lie
    CornerNeighbour self, toward, over;
  };

  // Near a corner, a thicker wall leaving it within kFanning degrees of the
  // wall being joined (`over`) covers that wall's face on the other side, the
  // side of `toward`: the face borders the sector between the two only from
  // where it comes out from under `over`'s face. That point, when the faces
  // of the wall and of `toward` meet under `over`'s paint and `toward`'s face
  // comes out on `over`'s painted face, not on its mitre, and the wall's face
  // comes out before its far end.
  std::optional<TPoint> Emerging(const Fan& fan, bool aboveSide) const {
    const CornerNeighbour &self = fan.self, &over = fan.over;
    if (over.wall == 0 || over.wall == fan.toward.wall) return std::nullopt;
    const double apart =
        aboveSide ? Opening(over.angle, self.angle) : Opening(self.angle, over.angle);
    if (apart >= kFanning || plan_.Walls[over.wall].epais <= plan_.Walls[self.wall].epais)
      return std::nullopt;
    const WallEnd end = self.atC2 ? WallEnd::C2 : WallEnd::C1;
    const Face face = FaceAt(end, aboveSide);
    const TQuad q = PolygonOf(self.wall);
    const TPoint from = q[face.nearEnd], to = q[face.FarEnd()];
    const auto [o1, o2] = FaceTowards(over, !aboveSide);
    const auto [t1, t2] = FaceTowards(fan.toward, aboveSide);
    long double out = 0, onOver = 0, meet = 0, towardOut = 0;
    if (!LineCrossingParameter(from, to, o1, o2, out) || !(out > 0 && out < 1) ||
        !LineCrossingParameter(o1, o2, from, to, onOver) || !(onOver > 0 && onOver < 1) ||
        !LineCrossingParameter(from, to, t1, t2, meet) || !(meet > 0 && meet < out) ||
        !LineCrossingParameter(o1, o2, t1, t2, towardOut))
      return std::nullopt;
    // Along `over` from the corner, its paint covers the band of its faces
    // past its mitre point on this side.
    const TPoint k = plan_.Corners[fan.corner];
    const TWall& o = plan_.Walls[over.wall];
    const TPoint far = plan_.Corners[over.atC2 ? o.C1 : o.C2];
    const auto along = [&](std::pair<long double, long double> p) {
      return (p.first - k.x) * (static_cast<long double>(far.x) - k.x) +
             (p.second - k.y) * (static_cast<long double>(far.y) - k.y);
    };
    const TPoint mitre = PlainJoint(fan, aboveSide);
    const long double past = along({mitre.x, mitre.y});
    if (along(At(from, to, meet)) <= past || along(At(o1, o2, towardOut)) <= past)
      return std::nullopt;
    const auto [x, y] = At(from, to, out);
    return TPoint{RoundToInt(x), RoundToInt(y)};
  }

  // The point at parameter u along line (p, r).
  static std::pair<long double, long double> At(TPoint p, TPoint r, long double u) {
    return {p.x + u * (static_cast<long double>(r.x) - p.x),
            p.y + u * (static_cast<long double>(r.y) - p.y)};
  }

  // The face that wall c, on one side of the wall being joined, turns
  // towards it, in its outline's order.
  std::pair<TPoint, TPoint> FaceTowards(const CornerNeighbour& c, bool aboveSide) const {
    const TQuad p = PolygonOf(c.wall);
    return aboveSide != c.atC2 ? std::pair{p[0], p[1]} : std::pair{p[2], p[3]};
  }

  // How the wall being joined meets the wall n on one side.
  Joint JointWith(const CornerNeighbour& self, const CornerNeighbour& n, const Fan& fan,
                  bool aboveSide) const {
    const double angle = aboveSide ? Opening(self.angle, n.angle) : Opening(n.angle, self.angle);
    const double bend = std::abs(angle - 180);
    const bool inLine = bend < kInLine;
    // Walls nearly in line with different thicknesses are a step at k.
    return Joint{self.wall,
                 n.wall,
                 fan.corner,
                 fan.limit,
                 angle < kSharp,
                 inLine,
                 inLine && plan_.Walls[n.wall].epais != plan_.Walls[self.wall].epais,
                 plan_.Walls[self.wall].epais / 2.0 * std::tan(bend / 2 * std::numbers::pi / 180)};
  }

  // `over`'s point on the face it turns towards the wall being joined, as
  // the plain joint with that wall puts it.
  TPoint PlainJoint(const Fan& fan, bool aboveSide) const {
    const Face face = FaceAt(fan.over.atC2 ? WallEnd::C2 : WallEnd::C1, aboveSide);
    const TQuad q = PolygonOf(fan.over.wall);
    TPoint point = q[face.nearEnd];
    MoveTo(point, q[face.first], q[face.first + 1], PolygonOf(fan.self.wall),
           aboveSide != fan.self.atC2, JointWith(fan.over, fan.self, fan, aboveSide));
    return point;
  }

  // The wall on whose face the joined wall's point on one side stops: its
  // neighbour there, or the wall that covers that neighbour's face towards
  // it near the corner.
  CornerNeighbour FacingWall(const Fan& fan, bool aboveSide) const {
    const CornerNeighbour& n = fan.toward;
    const CornerNeighbours nNear =
        NeighboursOf(n.wall, n.atC2 ? WallEnd::C2 : WallEnd::C1, fan.corner, n.angle);
    const CornerNeighbour& back = aboveSide ? nNear.below : nNear.above;
    const CornerNeighbour& beyond = aboveSide ? nNear.above : nNear.below;
    if (back.wall != fan.self.wall ||
        !Emerging({fan.corner, fan.limit, n, back, beyond}, !aboveSide))
      return n;
    return beyond;
  }

  // Whether (x, y) lies on wall c's body or its faces.
  bool OnBody(int32_t c, long double x, long double y) const {
    const TPoint a = plan_.Corners[plan_.Walls[c].C1], b = plan_.Corners[plan_.Walls[c].C2];
    const long double dx = static_cast<long double>(b.x) - a.x;
    const long double dy = static_cast<long double>(b.y) - a.y;
    const long double length2 = dx * dx + dy * dy;
    if (length2 == 0) return false;
    const long double along = ((x - a.x) * dx + (y - a.y) * dy) / length2;
    const long double across = std::abs((x - a.x) * dy - (y - a.y) * dx) / std::sqrt(length2);
    return along >= 0 && along <= 1 && across <= plan_.Walls[c].epais / 2.0L + 2;
  }

  // Whether the faces of walls nearly in line really meet at their far
  // crossing (x, y): it lies along both walls, or on another wall at the
  // corner that carries one of them on through it. Else the crossing is on
  // a face carried past the end of its wall, where nothing is painted.
  bool MeetFarOff(const Joint& joint, long double x, long double y) const {
    if (OnBody(joint.w, x, y) && OnBody(joint.n, x, y)) return true;
    const auto carries = [&](int32_t c) { return c != joint.w && c != joint.n && OnBody(c, x, y); };
    if (lookup_.index != nullptr) {
      const auto walls = lookup_.index->WallsAt(joint.corner);
      return std::any_of(walls.begin(), walls.end(), carries);
    }
    for (int32_t c = 1; c <= plan_.WallCount; ++c)
      if ((plan_.Walls[c].C1 == joint.corner || plan_.Walls[c].C2 == joint.corner) && carries(c))
        return true;
    return false;
  }

  // target := crossing of line (a, b) with the neighbour's side A (p1 p2) or
  // side B (p3 p4); parallel lines leave it where it was. A crossing farther
  // than the limit from the joint corner k (walls meeting at a sharp angle, or
  // nearly in line with different thicknesses) is cut back along line (a, b)
  // to that distance, as a miter limit does. But a crossing along the face
  // itself (a and b are its two ends), on the side of a sharp angle, is where
  // the inner faces really meet, however far from k: it stays, as a drawing
  // library's miter limit leaves the inner side of a join alone, unless it
  // lies past a free end of one of the walls (PastFreeEnd). Walls nearly
  // in line whose faces meet nowhere painted step at k, as walls exactly in
  // line do: the face ends where it was.
  void MoveTo(TPoint& target, TPoint a, TPoint b, const TQuad& p, bool sideA,
              const Joint& joint) const {
    const TPoint k = plan_.Corners[joint.corner];
    const int64_t limit = joint.limit;
    const bool sharp = joint.sharp;
    long double u;
    if (!(sideA ? LineCrossingParameter(a, b, p[0], p[1], u)
                : LineCrossingParameter(a, b, p[2], p[3], u)))
      return;
    const long double dx = static_cast<long double>(b.x) - a.x;
    const long double dy = static_cast<long double>(b.y) - a.y;
    long double x = a.x + u * dx, y = a.y + u * dy;
    const long double fromKx = x - k.x, fromKy = y - k.y;
    const bool inner = sharp && u > 0 && u < 1;
    const bool far = fromKx * fromKx + fromKy * fromKy > static_cast<long double>(limit) * limit;
    if (sharp && far && PastFreeEnd(target, a, b, p, joint, x, y)) return;
    if (far && !sharp && (joint.step || !MeetFarOff(joint, x, y))) return;
    // The faces of walls of one thickness nearly in line meet beside their
    // plain ends (half the thickness times the tangent of half the bend).
    // A crossing farther off, past the 5 mm within which points are one,
    // comes from the rounding of their points, which can turn faces so
    // nearly parallel as much as they bend: they go on from their plain
    // ends, as walls in line do.
    if (!far && joint.inLine && !joint.step &&
        std::hypot(x - target.x, y - target.y) > kCoincidence + joint.bendOff)
      return;
    if (!inner && far) {
      // The foot of k on the line, then along the line towards the crossing.
      const long double length = std::sqrt(dx * dx + dy * dy);
      const long double ux = dx / length, uy = dy / length;
      const long double t = (k.x - a.x) * ux + (k.y - a.y) * uy;
      const long double footX = a.x + t * ux, footY = a.y + t * uy;
      const long double h2 = (k.x - footX) * (k.x - footX) + (k.y - footY) * (k.y - footY);
      const long double along = std::sqrt(std::max(0.0L, limit * limit - h2));
      const long double sign = (x - footX) * ux + (y - footY) * uy >= 0 ? 1 : -1;
      x = footX + sign * along * ux;
      y = footY + sign * along * uy;
    }
    target = {RoundToInt(x), RoundToInt(y)};
  }

  // Walls meeting at a sharp angle whose faces cross past the free far end
  // of one of them: that wall's face lies under the other wall all along,
  // and the other's face comes out from under it at its end. The face of
  // the short wall shrinks to its far end (a, b are its ends); the other's
  // stops on the short wall's end (p is its plain rectangle). False when
  // neither wall ends before (x, y).
  bool PastFreeEnd(TPoint& target, TPoint a, TPoint b, const TQuad& p, const Joint& joint,
                   long double x, long double y) const {
    const TPoint k = plan_.Corners[joint.corner];
    if (FreeFarEnd(joint.w, joint.corner, x, y)) {
      target = Distance2(a, k) > Distance2(b, k) ? a : b;
      return true;
    }
    const std::optional<WallEnd> end = FreeFarEnd(joint.n, joint.corner, x, y);
    if (!end) return false;
    const TPoint capA = *end == WallEnd::C2 ? p[1] : p[0];
    const TPoint capB = *end == WallEnd::C2 ? p[2] : p[3];
    long double u;
    if (!LineCrossingParameter(a, b, capA, capB, u)) return false;
    const auto [cx, cy] = At(a, b, u);
    target = {RoundToInt(cx), RoundToInt(cy)};
    return true;
  }

  // Wall c's end away from corner k, when no other wall stands on it and
  // (x, y) lies past it along c.
  std::optional<WallEnd> FreeFarEnd(int32_t c, int32_t k, long double x, long double y) const {
    const TWall& wall = plan_.Walls[c];
    const WallEnd end = wall.C1 == k ? WallEnd::C2 : WallEnd::C1;
    const int32_t corner = end == WallEnd::C2 ? wall.C2 : wall.C1;
    const TPoint from = plan_.Corners[k], to = plan_.Corners[corner];
    const long double dx = static_cast<long double>(to.x) - from.x;
    const long double dy = static_cast<long double>(to.y) - from.y;
    if ((x - from.x) * dx + (y - from.y) * dy <= dx * dx + dy * dy || EndsAt(corner) != 1)
      return std::nullopt;
    return end;
  }

  int32_t EndsAt(int32_t corner) const {
    if (lookup_.index != nullptr) return lookup_.index->EndCount(corner);
    return plan_.WallsAtCorner(corner).Count;
  }

  static int64_t Distance2(TPoint p, TPoint q) {
    const int64_t dx = int64_t{p.x} - q.x, dy = int64_t{p.y} - q.y;
    return dx * dx + dy * dy;
  }

  const TCasaPlan& plan_;
  JointLookup lookup_;
};

// A wall's outline and joint flags, worked out before any is written so that
// a refresh that raises leaves the plan as it was.
struct WallOutline {
  TQuad o;
  bool joinedAtC1, joinedAtC2;
};

WallOutline OutlineOf(int32_t w, const JointSolver& solver) {
  WallOutline result{solver.PolygonOf(w), false, false};
  result.joinedAtC1 = solver.JoinEnd(w, result.o, WallEnd::C1);
  result.joinedAtC2 = solver.JoinEnd(w, result.o, WallEnd::C2);
  return result;
}

void Store(TCasaPlan& plan, int32_t w, const WallOutline& outline) {
  TWall& wall = plan.Walls[w];
  const TQuad& o = outline.o;
  wall.JoinedAtC1 = outline.joinedAtC1;
  wall.JoinedAtC2 = outline.joinedAtC2;
  wall.Shape = {plan.Corners[wall.C1], o[0], o[1], plan.Corners[wall.C2], o[2], o[3]};
  for (int32_t k = 1; k <= 4; ++k) plan.Outline[4 * w + k] = o[static_cast<size_t>(k - 1)];
}

}  // namespace

void TCasaPlan::UpdateWallOutline(int32_t w) {
  Store(*this, w, OutlineOf(w, JointSolver(*this, {})));
}

void TCasaPlan::UpdateWallOutline(int32_t w, const CornerWallIndex& index) {
  Store(*this, w, OutlineOf(w, JointSolver(*this, {&index, nullptr, nullptr})));
}

void TCasaPlan::RefreshGeometry() {
  const CornerWallIndex index(*this);
  std::vector<TQuad> polygons(static_cast<size_t>(WallCount) + 1);
  for (int32_t w = 1; w <= WallCount; ++w) polygons[static_cast<size_t>(w)] = WallPolygon(w);
  const std::vector<CornerNeighbours> neighbours = NeighboursOfEveryEnd(*this, index);
  const JointSolver solver(*this, {&index, &polygons, &neighbours});
  std::vector<WallOutline> outlines;
  outlines.reserve(static_cast<size_t>(WallCount));
  for (int32_t w = 1; w <= WallCount; ++w) outlines.push_back(OutlineOf(w, solver));
  for (int32_t w = 1; w <= WallCount; ++w) Store(*this, w, outlines[static_cast<size_t>(w - 1)]);
  if (ShowRooms) DetectRooms();
}

}  // namespace casavo
