// TCasaPlan: wall outlines and the joint rule (JoinEnd).

#include <algorithm>
#include <cmath>
#include <numeric>
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
    // The angle between the wall and its neighbour on each side.
    const auto opening = [](double from, double to) { return std::fmod(to - from + 360, 360); };
    // Walls nearly in line with different thicknesses are a step at k.
    const auto jointWith = [&](int32_t n, double angle) {
      return Joint{w,
                   n,
                   corner,
                   limit,
                   angle < kSharp,
                   std::abs(angle - 180) < kInLine && plan_.Walls[n].epais != plan_.Walls[w].epais};
    };
    // A face its C1 joint moved to within a few millimetres of its other end
    // has lost its direction to the rounding: at C2 it moves along its plain
    // line.
    const auto faceEnd = [&](size_t i, size_t j) {
      const int64_t dx = int64_t{o[i].x} - o[j].x, dy = int64_t{o[i].y} - o[j].y;
      return end == WallEnd::C2 && dx * dx + dy * dy < 25 ? PolygonOf(w)[i] : o[i];
    };
    if (above.wall != 0) {
      const TQuad p = PolygonOf(above.wall);
      const bool sideA = !above.atC2;
      const Joint joint = jointWith(above.wall, opening(t0, above.angle));
      if (end == WallEnd::C1)
        MoveTo(o[3], o[2], o[3], p, sideA, joint);
      else
        MoveTo(o[1], faceEnd(0, 1), o[1], p, sideA, joint);
    }
    if (below.wall != 0) {
      const TQuad p = PolygonOf(below.wall);
      const bool sideA = below.atC2;
      const Joint joint = jointWith(below.wall, opening(below.angle, t0));
      if (end == WallEnd::C1)
        MoveTo(o[0], o[0], o[1], p, sideA, joint);
      else
        MoveTo(o[2], o[2], faceEnd(3, 2), p, sideA, joint);
    }
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
    int64_t limit;  // how far from k a joint point may lie
    bool sharp;     // the walls meet at a sharp angle on this side
    bool inLine;    // nearly in line, with different thicknesses: a step
  };

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
  // library's miter limit leaves the inner side of a join alone. Walls nearly
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
    if (far && !sharp && (joint.inLine || !MeetFarOff(joint, x, y))) return;
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
