// Tests of ray picking and walking obstacles.

#include "model3d/picking.h"

#include <gtest/gtest.h>

#include "model3d/model3d.h"
#include "plan/plan_builders.h"

namespace casavo::model3d {
namespace {

// The 4 x 3 m room with a door in its top wall and a window in its bottom one.
Mesh RoomWithDoorAndWindow(TCasaPlan& plan) {
  DrawRectangle(plan);
  plan.AddOpening(1, 900, 2000, 1001, 0, 1);   // door at x 6550..7450 of y 5000
  plan.AddOpening(3, 1200, 2000, 2001, 0, 0);  // window at x 6400..7600 of y 8000
  plan.RefreshGeometry();
  return Build3D(plan);
}

TEST(Picking, ARayFindsTheNearestElementItMeets) {
  TCasaPlan plan;
  const Mesh mesh = RoomWithDoorAndWindow(plan);
  const struct {
    Vec3 origin, direction;
    uint8_t kind;
    int32_t index;
  } cases[] = {
      {{6000, 6500, 10000}, {0, 0, -1}, kSelRoom, 1},   // down onto the floor
      {{8000, 6500, 1500}, {0, -1, 0}, kSelWall, 1},    // across the room to the top wall
      {{6000, 6500, 1500}, {-1, 0, 0}, kSelWall, 4},    // to the left wall
      {{5600, 6500, 1500}, {0, 1, 0}, kSelWall, 3},     // to the bottom wall beside the window
      {{7000, 6500, 1500}, {0, 1, 0}, kSelOpening, 2},  // the window's glass
  };
  for (const auto& c : cases) {
    const auto hit = Pick(mesh, c.origin, c.direction);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->face->kind, c.kind);
    EXPECT_EQ(hit->face->index, c.index);
  }
  EXPECT_FALSE(Pick(mesh, {6000, 6500, 10000}, {0, 0, 1}));
}

TEST(Walking, WallsStopTheWalkerAndDoorwaysLetHimThrough) {
  TCasaPlan plan;
  const Mesh mesh = RoomWithDoorAndWindow(plan);
  const WalkObstacles walls(mesh, 500);
  const struct {
    Vec3 from, to;
    bool blocked;
  } cases[] = {
      {{7000, 6500, 0}, {7000, 6000, 0}, false},  // inside the room
      {{7000, 6500, 0}, {7000, 4000, 0}, false},  // out through the door
      {{6000, 6500, 0}, {6000, 4000, 0}, true},   // into the wall beside it
      {{7000, 6500, 0}, {7000, 9000, 0}, true},   // the window's breast stops him
      {{8800, 6500, 0}, {8900, 6500, 0}, true},   // too close to the right wall
  };
  for (const auto& c : cases)
    EXPECT_EQ(walls.Blocked(c.from, c.to, 150), c.blocked) << c.to.x << "," << c.to.y;
}

}  // namespace
}  // namespace casavo::model3d
