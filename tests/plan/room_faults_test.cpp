#include <gtest/gtest.h>

#include <cmath>

#include "plan/casa_plan.h"

namespace casavo {
namespace {

struct Wall {
  TPoint from, to;
  int32_t epais;
};

TCasaPlan Drawn(std::initializer_list<Wall> walls) {
  TCasaPlan plan;
  plan.ShowRooms = true;
  for (const Wall& w : walls) plan.AddWallOfThickness(w.from, w.to, w.epais);
  plan.RefreshGeometry();
  return plan;
}

double Far(TPoint a, TPoint b) {
  return std::hypot(double{1} * b.x - a.x, double{1} * b.y - a.y);
}

// A short wall lying along a longer one at a T junction closes nothing.
TEST(RoomFaults, WallsAlongEachOtherMakeNoPhantomRoom) {
  const TCasaPlan plan = Drawn({{{6000, 8500}, {5500, 8500}, 200},
                               {{7500, 8500}, {5500, 8500}, 200},
                               {{7500, 8500}, {7500, 5000}, 200},
                               {{7500, 8500}, {9000, 8500}, 200}});
  EXPECT_EQ(plan.RoomCount, 0);
}

// One side of a 250 mm rectangle made of a 250 mm and a 100 mm piece: the
// room runs along the step between their inner faces.
TEST(RoomFaults, AStepBetweenThicknessesKeepsTheRoom) {
  const TCasaPlan plan = Drawn({{{5000, 5000}, {7000, 5000}, 250},
                               {{7000, 5000}, {9000, 5000}, 100},
                               {{9000, 5000}, {9000, 8000}, 250},
                               {{9000, 8000}, {5000, 8000}, 250},
                               {{5000, 8000}, {5000, 5000}, 250}});
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_EQ(plan.Rooms[1].surface, 3750.0 * 2750 + 1875.0 * 75);
}

// A thin triangle: the mitre at its sharp corners stops at twice the wall
// thickness from the corner, and the room is still found.
TEST(RoomFaults, SharpCornersAreCutBackAndTheRoomStays) {
  const TCasaPlan plan = Drawn({{{5000, 5000}, {9000, 5000}, 200},
                               {{9000, 5000}, {5000, 6000}, 200},
                               {{5000, 6000}, {5000, 5000}, 200}});
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    const auto& shape = plan.Walls[w].Shape;
    for (int k : {1, 5}) EXPECT_LE(Far(shape[0], shape[static_cast<size_t>(k)]), 400.5) << w;
    for (int k : {2, 4}) EXPECT_LE(Far(shape[3], shape[static_cast<size_t>(k)]), 400.5) << w;
  }
  ASSERT_EQ(plan.RoomCount, 1);
  EXPECT_GT(plan.Rooms[1].surface, 1e6);
  EXPECT_LT(plan.Rooms[1].surface, 2e6);
}

}  // namespace
}  // namespace casavo
