// Tests of the plan generator the other tests use.

#include <gtest/gtest.h>

#include "plan/casa_plan.h"
#include "plan/rooms.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

TEST(GeneratedPlans, SameSeedSamePlanAndRoughlyTheAskedSize) {
  TCasaPlan a, b, c;
  gen::GeneratePlan(a, {250, 7});
  gen::GeneratePlan(b, {250, 7});
  gen::GeneratePlan(c, {250, 8});
  EXPECT_NEAR(a.WallCount, 250, 12);
  ASSERT_EQ(a.WallCount, b.WallCount);
  for (int32_t w = 1; w <= a.WallCount; ++w) {
    EXPECT_EQ(a.Corners[a.Walls[w].C1], b.Corners[b.Walls[w].C1]);
    EXPECT_EQ(a.Walls[w].epais, b.Walls[w].epais);
  }
  EXPECT_EQ(a.RoomNames.Count(), b.RoomNames.Count());
  EXPECT_NE(a.GetBounds(), c.GetBounds());
}

TEST(GeneratedPlans, EveryEnclosedAreaOfLargePlansIsARoom) {
  for (int32_t target : {250, 600, 1000, 2000}) {
    for (uint64_t seed : {1, 2}) {
      TCasaPlan plan;
      const int32_t areas = gen::GeneratePlan(plan, {target, seed});
      EXPECT_NEAR(plan.WallCount, target, target / 20 + 10) << target;
      EXPECT_GT(plan.OpeningCount, 0);
      EXPECT_EQ(plan.RoomCount, areas) << target << " seed " << seed;
      for (int32_t r = 1; r <= plan.RoomCount; ++r) {
        EXPECT_GT(plan.Rooms[r].surface, 1e6);
        EXPECT_FALSE(plan.RoomName(r).empty());
        EXPECT_EQ(plan.RoomColour(r).size(), 6u);
      }
    }
  }
}

// The indexed joints and the grid search must give exactly what the plain
// scans give, room for room, entry for entry.
TEST(GeneratedPlans, IndexedAndPlainSearchesAgree) {
  for (int32_t target : {1000, 2000}) {
    TCasaPlan plan;
    gen::GeneratePlan(plan, {target, 3});
    plan.RefreshGeometry();
    const TCasaPlan indexed = plan;

    for (int32_t w = 1; w <= plan.WallCount; ++w) plan.UpdateWallOutline(w);
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      ASSERT_EQ(plan.Walls[w].Shape, indexed.Walls[w].Shape) << w;
      ASSERT_EQ(plan.Walls[w].JoinedAtC1, indexed.Walls[w].JoinedAtC1) << w;
      ASSERT_EQ(plan.Walls[w].JoinedAtC2, indexed.Walls[w].JoinedAtC2) << w;
    }

    DetectRoomsWith(plan, CoincidentSearch::kScan);
    ASSERT_EQ(plan.RoomCount, indexed.RoomCount);
    EXPECT_GT(plan.RoomCount, target / 4);
    for (int32_t r = 1; r <= plan.RoomCount; ++r) {
      EXPECT_EQ(plan.Rooms[r].Border, indexed.Rooms[r].Border) << r;
      EXPECT_EQ(plan.Rooms[r].hash, indexed.Rooms[r].hash) << r;
      EXPECT_EQ(plan.Rooms[r].surface, indexed.Rooms[r].surface) << r;
      EXPECT_EQ(plan.Rooms[r].Centre, indexed.Rooms[r].Centre) << r;
    }
  }
}

}  // namespace
}  // namespace casavo
