// Along-the-wall coordinates and the holes openings cut.

#include "model3d/wall_frame.h"

#include <algorithm>
#include <cmath>

namespace casavo::model3d {
namespace {

// A hole never reaches the very end of a face nor the top of the wall, so
// that the wall's end and top faces stay whole and the solid closed.
constexpr double kEndMargin = 10;

Vec3 Flat(TPoint p) {
  return {static_cast<double>(p.x), static_cast<double>(p.y), 0};
}

}  // namespace

WallFrame::WallFrame(const TCasaPlan& plan, int32_t w) {
  const TWall& wall = plan.Walls[w];
  origin_ = Flat(plan.Corners[wall.C1]);
  along = Normalised(Flat(plan.Corners[wall.C2]) - origin_);
  // Side A lies a quarter turn from the wall's direction towards -y.
  sideA = {along.y, -along.x, 0};
}

Vec3 WallFrame::At(double s, double off, double z) const {
  return origin_ + along * s + sideA * off + Vec3{0, 0, z};
}

double WallFrame::S(TPoint p) const {
  return Dot(Flat(p) - origin_, along);
}

double WallFrame::Off(TPoint p) const {
  return Dot(Flat(p) - origin_, sideA);
}

void WallFrame::AddBox(Mesh& mesh, double s0, double s1, double off0, double off1, double z0,
                       double z1, const Paint& paint) const {
  mesh.AddBox(At(s0, off0, z0), along * (s1 - s0), sideA * (off1 - off0), Vec3{0, 0, z1 - z0},
              paint);
}

OpeningKind KindOf(int32_t sorte) {
  if (sorte == 1001 || sorte == 1002 || sorte == 1011) return OpeningKind::Door;
  if (sorte == 2001 || sorte == 2002) return OpeningKind::Window;
  return OpeningKind::Bay;
}

OpeningHeights HeightsOf(int32_t sorte) {
  switch (KindOf(sorte)) {
    case OpeningKind::Door:
      return {0, 2100};
    case OpeningKind::Window:
      return {1000, 2150};
    case OpeningKind::Bay:
      break;
  }
  return {0, 2150};
}

Hole HoleOf(const TCasaPlan& plan, int32_t n, double wallHeight) {
  const TOpening& o = plan.Openings[n];
  const WallFrame frame(plan, o.imur);
  const auto& outline = plan.Walls[o.imur].Shape;
  // Shape holds C1, o1, o2, C2, o3, o4: side A is o1-o2, side B o3-o4.
  const double lo = std::max(std::min(frame.S(outline[1]), frame.S(outline[2])),
                             std::min(frame.S(outline[4]), frame.S(outline[5])));
  const double hi = std::min(std::max(frame.S(outline[1]), frame.S(outline[2])),
                             std::max(frame.S(outline[4]), frame.S(outline[5])));
  const int32_t half = o.large / 2;
  const OpeningHeights heights = HeightsOf(o.sorte);
  Hole hole;
  hole.s0 = std::max<double>(o.dcoin1 - half, lo + kEndMargin);
  hole.s1 = std::min<double>(o.dcoin1 + half, hi - kEndMargin);
  hole.z0 = std::min(heights.bottom, wallHeight);
  hole.z1 = std::min(heights.top, wallHeight - kEndMargin);
  if (hole.z1 <= hole.z0) hole.s1 = hole.s0;
  return hole;
}

}  // namespace casavo::model3d
