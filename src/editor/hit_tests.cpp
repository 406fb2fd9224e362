// TCasa hit tests: the corner, wall, opening, room or object under a pixel.

#include <QPolygon>

#include "editor/casa.h"

namespace casavo {
namespace {

// Half the length of the probes crossed with centre lines, in pixels.
constexpr int32_t kProbe = 5;

// Whether the screen segment ab crosses the horizontal probe through (x, y),
// or else the vertical one.
bool CrossesProbes(TPoint a, TPoint b, int32_t x, int32_t y) {
  return SegmentIntersection(a, b, {x - kProbe, y}, {x + kProbe, y}) != kNoPoint ||
         SegmentIntersection(a, b, {x, y - kProbe}, {x, y + kProbe}) != kNoPoint;
}

bool Inside(const QPolygon& polygon, int32_t x, int32_t y) {
  return polygon.containsPoint(QPoint(x, y), Qt::WindingFill);
}

}  // namespace

int32_t TCasa::CornerAt(int32_t x, int32_t y) const {
  const int32_t m = Plan->MarkerSize;
  for (int32_t k = 1; k <= Plan->CornerCount; ++k) {
    const TPoint s = Plan->PlanToScreen(Plan->Corners[k]);
    if (s.x - m < x && x < s.x + m && s.y - m < y && y < s.y + m) return k;
  }
  return 0;
}

int32_t TCasa::WallAt(int32_t x, int32_t y) const {
  for (int32_t w = 1; w <= Plan->WallCount; ++w) {
    const TWall& wall = Plan->Walls[w];
    const TPoint a = Plan->PlanToScreen(Plan->Corners[wall.C1]);
    const TPoint b = Plan->PlanToScreen(Plan->Corners[wall.C2]);
    if (CrossesProbes(a, b, x, y)) return w;
  }
  return 0;
}

int32_t TCasa::OpeningAt(int32_t x, int32_t y, int32_t wall) const {
  for (int32_t n = 1; n <= Plan->OpeningCount; ++n) {
    if (Plan->Openings[n].imur != wall) continue;
    const TQuad q = Plan->OpeningPolygon(n);
    // The axis runs between the middles of the two short sides.
    const TPoint a = Plan->PlanToScreen(Midpoint(q[0], q[3]));
    const TPoint b = Plan->PlanToScreen(Midpoint(q[1], q[2]));
    if (CrossesProbes(a, b, x, y)) return n;
  }
  return 0;
}

int32_t TCasa::RoomAt(int32_t x, int32_t y) const {
  if (!Plan->ShowRooms) return 0;
  for (int32_t r = 1; r <= Plan->RoomCount; ++r) {
    const TIntList& border = Plan->Rooms[r].Border;
    QPolygon polygon;
    polygon.reserve(border.Count);
    for (int32_t i = 1; i <= border.Count; ++i) {
      const TPoint s = Plan->PlanToScreen(Plan->Outline[border[i]]);
      polygon << QPoint(s.x, s.y);
    }
    if (Inside(polygon, x, y)) return r;
  }
  return 0;
}

int32_t TCasa::ObjetAt(int32_t x, int32_t y) const {
  // The object added last lies on top.
  for (int32_t n = Plan->ObjectCount; n >= 1; --n) {
    QPolygon polygon;
    for (const TPoint& p : Plan->ObjetPolygon(n)) {
      const TPoint s = Plan->PlanToScreen(p);
      polygon << QPoint(s.x, s.y);
    }
    if (Inside(polygon, x, y)) return n;
  }
  return 0;
}

}  // namespace casavo
