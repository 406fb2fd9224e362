// Frames, glass and door leaves of the openings in 3D.

#include "model3d/opening_parts.h"

namespace casavo::model3d {
namespace {

constexpr double kFrameBar = 50;    // width of a frame member
constexpr double kFrameDepth = 80;  // across the wall, as the plan's window band
constexpr double kLeafThickness = 40;
constexpr double kGlassThickness = 8;
constexpr uint32_t kFrameColour = 0xF4F4F0;
constexpr uint32_t kLeafColour = 0xB5835A;
constexpr uint32_t kGlassColour = 0x9CC8E0;

// Where the frame sits across the wall: a window's band as the plan draws it
// (centred, or in the half of side A or side B); a door's and a bay's against
// the face they open towards.
double FrameCentre(const TOpening& o, double offA, double offB) {
  const double middle = (offA + offB) / 2;
  const bool towardsA = o.cote == 0;
  switch (KindOf(o.sorte)) {
    case OpeningKind::Window:
      if (o.sorte == 2001) return middle;
      return towardsA ? middle + kFrameDepth / 2 : middle - kFrameDepth / 2;
    case OpeningKind::Door:
      return towardsA ? offA - kFrameDepth / 2 : offB + kFrameDepth / 2;
    case OpeningKind::Bay:
      break;
  }
  return middle;
}

}  // namespace

void AddOpeningParts(Mesh& mesh, const TCasaPlan& plan, int32_t n, const Hole& hole) {
  const TOpening& o = plan.Openings[n];
  if (hole.s1 - hole.s0 <= 2 * kFrameBar || hole.z1 - hole.z0 <= 2 * kFrameBar) return;
  const WallFrame frame(plan, o.imur);
  const TWall& wall = plan.Walls[o.imur];
  const double offA = frame.Off(wall.Shape[1]);
  const double offB = frame.Off(wall.Shape[4]);
  const double c = FrameCentre(o, offA, offB);
  const double f0 = c - kFrameDepth / 2, f1 = c + kFrameDepth / 2;
  const OpeningKind kind = KindOf(o.sorte);
  const Paint framePaint{kFrameColour, Material::Frame, kSelOpening, n};
  const double in0 = hole.s0 + kFrameBar, in1 = hole.s1 - kFrameBar;
  const double sillTop = kind == OpeningKind::Window ? hole.z0 + kFrameBar : hole.z0;
  const double headBottom = hole.z1 - kFrameBar;
  frame.AddBox(mesh, hole.s0, in0, f0, f1, hole.z0, hole.z1, framePaint);
  frame.AddBox(mesh, in1, hole.s1, f0, f1, hole.z0, hole.z1, framePaint);
  frame.AddBox(mesh, in0, in1, f0, f1, headBottom, hole.z1, framePaint);
  if (kind == OpeningKind::Window) {
    frame.AddBox(mesh, in0, in1, f0, f1, hole.z0, sillTop, framePaint);
    frame.AddBox(mesh, in0, in1, c - kGlassThickness / 2, c + kGlassThickness / 2, sillTop,
                 headBottom, {kGlassColour, Material::Glass, kSelOpening, n});
  }
  if (kind != OpeningKind::Door) return;
  // The leaf turns about its hinge out of the face it swings to; seen from the
  // other side a left door stays a left door, so the hinge changes end.
  const bool towardsA = o.cote == 0;
  const double face = towardsA ? offA : offB;
  const double out = towardsA ? 1 : -1;
  const double width = (in1 - in0) / (o.sorte == 1011 ? 2 : 1);
  const Paint leafPaint{kLeafColour, Material::DoorLeaf, kSelOpening, n};
  const auto leaf = [&](double hinge, double inward) {
    frame.AddBox(mesh, hinge, hinge + inward * kLeafThickness, face, face + out * width, sillTop,
                 headBottom, leafPaint);
  };
  const bool atStart = (o.sorte == 1001) == towardsA;
  if (o.sorte == 1011 || atStart) leaf(in0, 1);
  if (o.sorte == 1011 || !atStart) leaf(in1, -1);
}

}  // namespace casavo::model3d
