// WallFrame: a wall's own coordinates; the heights of its holes.

#pragma once

#include "model3d/mesh.h"
#include "plan/casa_plan.h"

namespace casavo::model3d {

// Coordinates along one wall: s from C1 towards C2 on the centre line, off
// across it towards side A, z upwards (all millimetres).
class WallFrame {
 public:
  WallFrame(const TCasaPlan& plan, int32_t w);

  Vec3 At(double s, double off, double z) const;
  double S(TPoint p) const;
  double Off(TPoint p) const;
  // The box s0..s1 by off0..off1 by z0..z1.
  void AddBox(Mesh& mesh, double s0, double s1, double off0, double off1, double z0, double z1,
              const Paint& paint) const;

  Vec3 along;
  Vec3 sideA;

 private:
  Vec3 origin_;
};

// What an opening's hole is, by its kind: doors, windows and bays.
enum class OpeningKind { Door, Window, Bay };
OpeningKind KindOf(int32_t sorte);

// Bottom and top of an opening's hole above the floor (millimetres).
struct OpeningHeights {
  double bottom = 0;
  double top = 0;
};
OpeningHeights HeightsOf(int32_t sorte);

// The hole of an opening through its wall in the wall's frame, limited to
// the length both faces of the wall share; empty (s1 <= s0) when nothing of
// it is left.
struct Hole {
  double s0 = 0;
  double s1 = 0;
  double z0 = 0;
  double z1 = 0;
};
Hole HoleOf(const TCasaPlan& plan, int32_t n, double wallHeight);

}  // namespace casavo::model3d
