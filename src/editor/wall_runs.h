// WallRun: the pieces of one straight wall as the user sees it.

#pragma once

#include <cstdint>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {

// A straight wall as the user sees it: the plan cuts walls into pieces where
// other walls meet them, and a run joins the collinear pieces of one
// thickness that go straight on through their shared corners.
struct WallRun {
  // The pieces from the end on the first piece's C1 side to the other end.
  std::vector<int32_t> walls;
  // Every corner of the run, in the same order, ends included.
  std::vector<int32_t> corners;

  int32_t EndA() const { return corners.front(); }
  int32_t EndB() const { return corners.back(); }
};

// The run the piece w belongs to (w alone when nothing goes on straight).
WallRun FindWallRun(const TCasaPlan& plan, int32_t w);

}  // namespace casavo
