// Tests that a failed operation leaves the plan as it was.

#include <gtest/gtest.h>

#include <optional>

#include "common/errors.h"
#include "plan/casa_plan.h"
#include "support/plan_generator.h"
#include "support/plan_tables.h"

namespace casavo {
namespace {

// A wall that crosses many others in a plan with a few wall slots left fails
// part-way through its cuts; the plan, with or without the reader's indexes,
// is left as it was.
TEST(Rollback, AWallThatFillsTheTablePartWayLeavesNothingBehind) {
  for (const bool indexed : {false, true}) {
    TCasaPlan plan;
    gen::GeneratePlan(plan, {2000, 2});
    for (int32_t x = 0; plan.WallCount < TCasaPlan::kMaxWalls - 5; x += 1000)
      plan.AddWall({x, 1000}, {x + 500, 1000});  // a row of stubs out of the way
    const TCasaPlan before = plan;
    {
      std::optional<TCasaPlan::BulkAdding> adding;
      if (indexed) adding.emplace(plan);
      const TRect box = plan.GetBounds();
      EXPECT_THROW(plan.AddWall({box.left - 100, (box.top + box.bottom) / 2},
                                {box.right + 100, (box.top + box.bottom) / 2}),
                   RangeError);
      EXPECT_EQ(gen::FirstDifference(before, plan), "") << indexed;
      EXPECT_EQ(plan.CornerCount, before.CornerCount);
      // The index still finds the corners and walls that are there.
      plan.AddWall({box.left + 7, box.top - 2000}, {box.left + 1007, box.top - 2000});
    }
    EXPECT_EQ(plan.WallCount, before.WallCount + 1);
    EXPECT_EQ(plan.CornerCount, before.CornerCount + 2);
  }
}

TEST(Rollback, ACornerPassThatFailsPutsTheCornersBack) {
  TCasaPlan crowded;
  crowded.AddCorner({9000, 9000});  // used by no wall
  crowded.AddCorner({6000, 7000});  // at the place of a later corner
  const int32_t hub = crowded.AddCorner({5000, 5000});
  for (int32_t i = 0; i < 1001; ++i)
    crowded.AppendWall(hub, crowded.AddCorner({6000 + i, 7000}), 200);
  crowded.SetSelection(5, kSelCorner);
  TCasaPlan plan = crowded;
  EXPECT_THROW(plan.MergeCoincidentCorners(), RangeError);
  EXPECT_EQ(gen::FirstDifference(crowded, plan), "");
  EXPECT_THROW(plan.CleanUpAfterCornerMove(hub), RangeError);
  EXPECT_EQ(gen::FirstDifference(crowded, plan), "");
  EXPECT_EQ(plan.x0, crowded.x0);
}

}  // namespace
}  // namespace casavo
