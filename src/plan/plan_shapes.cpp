// TCasaPlan: wall, opening and object polygons, bounds, lengths.

#include <algorithm>
#include <limits>

#include "common/numeric.h"
#include "plan/casa_plan.h"

namespace casavo {

TQuad TCasaPlan::WallPolygon(int32_t w) const {
  const TWall& wall = Walls[w];
  return ThickSegment(Corners[wall.C1], Corners[wall.C2], wall.epais);
}

TQuad TCasaPlan::OpeningPolygon(int32_t n) const {
  const TOpening& opening = Openings[n];
  const TWall& wall = Walls[opening.imur];
  const TPoint p1 = Corners[wall.C1];
  const double angle = Angle(p1, Corners[wall.C2]);
  const int32_t half = opening.large / 2;
  const int32_t centre = CheckedAdd(p1.x, opening.dcoin1);
  const TPoint start = Rotate({CheckedSub(centre, half), p1.y}, p1, angle);
  const TPoint end = Rotate({CheckedAdd(centre, half), p1.y}, p1, angle);
  return ThickSegment(start, end, wall.epais);
}

TQuad TCasaPlan::ObjetPolygon(int32_t n) const {
  const TObjet& objet = Objects[n];
  const int32_t hl = RoundToInt(objet.l / 2.0L);
  const int32_t hh = RoundToInt(objet.h / 2.0L);
  const TQuad local = {TPoint{hl, -hh}, TPoint{hl, hh}, TPoint{-hl, hh}, TPoint{-hl, -hh}};
  TQuad result;
  for (size_t k = 0; k < local.size(); ++k) {
    const TPoint turned = Rotate(local[k], {0, 0}, objet.a);
    result[k] = {CheckedAdd(turned.x, objet.x), CheckedAdd(turned.y, objet.y)};
  }
  return result;
}

TPoint TCasaPlan::WallIntersection(int32_t i, int32_t j) const {
  const TWall& a = Walls[i];
  const TWall& b = Walls[j];
  return SegmentIntersection(Corners[a.C1], Corners[a.C2], Corners[b.C1], Corners[b.C2]);
}

TRect TCasaPlan::GetBounds() const {
  TRect bounds{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
               std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
  for (int32_t k = 1; k <= CornerCount; ++k) {
    const TPoint p = Corners[k];
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
  }
  return bounds;
}

int32_t TCasaPlan::WallLength(int32_t w) const {
  const TWall& wall = Walls[w];
  return CheckedDistance(Corners[wall.C1], Corners[wall.C2]);
}

TPoint TCasaPlan::WallMiddle(int32_t w) const {
  const TWall& wall = Walls[w];
  const TPoint a = Corners[wall.C1];
  const TPoint b = Corners[wall.C2];
  return {RoundToInt(a.x + (static_cast<long double>(b.x) - a.x) / 2),
          RoundToInt(a.y + (static_cast<long double>(b.y) - a.y) / 2)};
}

}  // namespace casavo
