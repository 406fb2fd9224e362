// Small plans the model tests build.

#pragma once

#include "plan/casa_plan.h"

namespace casavo {

// The 4000 x 3000 rectangle of centre lines from (5000,5000), walls 200 mm
// thick drawn clockwise on screen, rooms shown.
inline void DrawRectangle(TCasaPlan& plan) {
  plan.DefaultThickness = 200;
  plan.ShowRooms = true;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({9000, 5000}, {9000, 8000});
  plan.AddWall({9000, 8000}, {5000, 8000});
  plan.AddWall({5000, 8000}, {5000, 5000});
}

// Adds a wall as the editor's drawing gesture does, then its clean-up pass.
inline int32_t DrawWall(TCasaPlan& plan, TPoint from, TPoint to) {
  const int32_t w = plan.AddWall(from, to);
  plan.CleanUpAfterWallMove(w);
  return w;
}

}  // namespace casavo
