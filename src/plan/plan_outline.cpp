#include <algorithm>
#include <cmath>
#include <vector>

#include "common/numeric.h"
#include "plan/casa_plan.h"
#include "plan/corner_index.h"

namespace casavo {
namespace {

// Where the joint rule finds the walls at a corner and their plain rectangles:
// by scanning the whole table (one wall at a time), or through an index and
// rectangles computed once for a whole refresh. Both give the same walls in
// the same order, hence the same outlines.
struct JointLookup {
  const CornerWallIndex* index = nullptr;
  const std::vector<TQuad>* polygons = nullptr;
};

// Walls closer than this (degrees) meet at a sharp angle.
constexpr double kSharp = 90;

struct Candidate {
  int32_t wall = 0;
  int32_t kind = 0;  // 1: the wall's C1 is the joint corner, 2: its C2
  double angle = 0;
};

class JointSolver {
 public:
  JointSolver(const TCasaPlan& plan, JointLookup lookup) : plan_(plan), lookup_(lookup) {}

  // Trims or extends wall w's faces at one end (1: C1, 2: C2) against the
  // angularly nearest walls on either side. True when another wall meets it.
  bool JoinEnd(int32_t w, TQuad& o, int end) const {
    const TWall& wall = plan_.Walls[w];
    const int32_t corner = end == 1 ? wall.C1 : wall.C2;
    const TPoint p1 = plan_.Corners[wall.C1];
    const TPoint p2 = plan_.Corners[wall.C2];
    const double t0 = end == 1 ? Angle(p1, p2) : Angle(p2, p1);

    Candidate lowest{0, 0, 360}, highest{0, 0, -1}, above{0, 0, 360}, below{0, 0, -1};
    int32_t thickest = wall.epais;
    const auto consider = [&](int32_t i) {
      if (i == w) return;
      const TWall& other = plan_.Walls[i];
      if (other.C1 == corner || other.C2 == corner) thickest = std::max(thickest, other.epais);
      int32_t kind = 0;
      if (other.C1 == corner) kind = 1;
      if (other.C2 == corner) kind = 2;
      if (kind == 0) return;
      const TPoint q1 = plan_.Corners[other.C1];
      const TPoint q2 = plan_.Corners[other.C2];
      const double t = kind == 1 ? Angle(q1, q2) : Angle(q2, q1);
      if (t < lowest.angle) lowest = {i, kind, t};
      if (t > highest.angle) highest = {i, kind, t};
      if (t < above.angle && t > t0) above = {i, kind, t};
      if (t > below.angle && t < t0) below = {i, kind, t};
    };
    if (lookup_.index != nullptr) {
      for (int32_t i : lookup_.index->WallsAt(corner)) consider(i);
    } else {
      for (int32_t i = 1; i <= plan_.WallCount; ++i) consider(i);
    }
    // Turning past 360 degrees: the nearest wall on a side may be the one at
    // the other end of the angle range.
    if (above.wall == 0) above = lowest;
    if (below.wall == 0) below = highest;

    const TPoint k = plan_.Corners[corner];
    const int64_t limit = 2 * int64_t{thickest};
    // The angle between the wall and its neighbour on each side.
    const auto opening = [](double from, double to) { return std::fmod(to - from + 360, 360); };
    if (above.wall != 0) {
      const TQuad p = PolygonOf(above.wall);
      const bool sideA = above.kind == 1;
      const bool sharp = opening(t0, above.angle) < kSharp;
      if (end == 1)
        MoveTo(o[3], o[2], o[3], p, sideA, k, limit, sharp);
      else
        MoveTo(o[1], o[0], o[1], p, sideA, k, limit, sharp);
    }
    if (below.wall != 0) {
      const TQuad p = PolygonOf(below.wall);
      const bool sideA = below.kind == 2;
      const bool sharp = opening(below.angle, t0) < kSharp;
      if (end == 1)
        MoveTo(o[0], o[0], o[1], p, sideA, k, limit, sharp);
      else
        MoveTo(o[2], o[2], o[3], p, sideA, k, limit, sharp);
    }
    return above.wall != 0 || below.wall != 0;
  }

  TQuad PolygonOf(int32_t w) const {
    if (lookup_.polygons != nullptr) return (*lookup_.polygons)[static_cast<size_t>(w)];
    return plan_.WallPolygon(w);
  }

 private:
  // target := crossing of line (a, b) with the neighbour's side A (p1 p2) or
  // side B (p3 p4); parallel lines leave it where it was. A crossing farther
  // than `limit` from the joint corner k (walls meeting at a sharp angle, or
  // nearly in line with different thicknesses) is cut back along line (a, b)
  // to that distance, as a miter limit does. But a crossing along the face
  // itself (a and b are its two ends), on the side of a sharp angle, is where
  // the inner faces really meet, however far from k: it stays, as a drawing
  // library's miter limit leaves the inner side of a join alone.
  static void MoveTo(TPoint& target, TPoint a, TPoint b, const TQuad& p, bool sideA, TPoint k,
                     int64_t limit, bool sharp) {
    long double u;
    if (!(sideA ? LineCrossingParameter(a, b, p[0], p[1], u)
                : LineCrossingParameter(a, b, p[2], p[3], u)))
      return;
    const long double dx = static_cast<long double>(b.x) - a.x;
    const long double dy = static_cast<long double>(b.y) - a.y;
    long double x = a.x + u * dx, y = a.y + u * dy;
    const long double fromKx = x - k.x, fromKy = y - k.y;
    const bool inner = sharp && u > 0 && u < 1;
    if (!inner && fromKx * fromKx + fromKy * fromKy > static_cast<long double>(limit) * limit) {
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
  result.joinedAtC1 = solver.JoinEnd(w, result.o, 1);
  result.joinedAtC2 = solver.JoinEnd(w, result.o, 2);
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

void TCasaPlan::RefreshGeometry() {
  const CornerWallIndex index(*this);
  std::vector<TQuad> polygons(static_cast<size_t>(WallCount) + 1);
  for (int32_t w = 1; w <= WallCount; ++w) polygons[static_cast<size_t>(w)] = WallPolygon(w);
  const JointSolver solver(*this, {&index, &polygons});
  std::vector<WallOutline> outlines;
  outlines.reserve(static_cast<size_t>(WallCount));
  for (int32_t w = 1; w <= WallCount; ++w) outlines.push_back(OutlineOf(w, solver));
  for (int32_t w = 1; w <= WallCount; ++w) Store(*this, w, outlines[static_cast<size_t>(w - 1)]);
  if (ShowRooms) DetectRooms();
}

}  // namespace casavo
