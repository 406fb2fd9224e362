// Tests of the clean-up passes on spoilt generated plans.

#include <gtest/gtest.h>

#include <random>

#include "common/errors.h"
#include "plan/cleanup.h"
#include "support/plan_generator.h"
#include "support/plan_tables.h"

namespace casavo {
namespace {

// A generated plan spoilt as hasty drawing leaves plans, up to about `walls`
// walls: walls drawn two to four times (either way round, on the same corners
// or on corners of their own at the same places, some carrying openings),
// walls shorter than 100 mm, wall ends moved to new corners at the place of
// the old ones, and corners no wall uses; then a few sound walls at the end of
// the tables, which the deletions move into the freed slots.
void Spoil(TCasaPlan& plan, int32_t walls, uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto pick = [&random](int32_t n) {
    return std::uniform_int_distribution<int32_t>(1, n)(random);
  };
  const int32_t drawn = plan.WallCount;
  while (plan.WallCount < walls - 10 && plan.CornerCount < TCasaPlan::kMaxCorners - 20) {
    const TWall wall = plan.Walls[pick(drawn)];
    switch (random() % 5) {
      case 0:
        for (int32_t copies = pick(3); copies > 0; --copies) {
          const bool reversed = random() % 2 == 0;
          const int32_t twin =
              plan.AppendWall(reversed ? wall.C2 : wall.C1, reversed ? wall.C1 : wall.C2, 160);
          if (random() % 2 == 0) plan.AddOpening(twin, 800, 700, 1001, 0, 0);
        }
        break;
      case 1: {
        const int32_t c1 = plan.AddCorner(plan.Corners[wall.C1]);
        const int32_t c2 = plan.AddCorner(plan.Corners[wall.C2]);
        plan.AppendWall(c2, c1, 200);
        break;
      }
      case 2: {
        const TPoint from = plan.Corners[wall.C1];
        const int32_t to = plan.AddCorner({from.x + pick(99) - 50, from.y + pick(99) - 50});
        plan.AppendWall(wall.C1, to, 120);
        break;
      }
      case 3: {
        const int32_t w = pick(plan.WallCount);
        plan.Walls[w].C2 = plan.AddCorner(plan.Corners[plan.Walls[w].C2]);
        break;
      }
      default:
        plan.AddCorner({pick(40000), pick(40000)});
    }
  }
  for (int32_t i = 0; i < 4; ++i) plan.AddWall({1000 + 900 * i, 1000}, {1000 + 900 * i, 2000});
}

// The indexed passes must delete the same walls, merge the same corners and
// leave every table, the openings and the selection exactly as the nested
// scans do.
TEST(CleanUpSearch, IndexedPassesLeaveTheSameTablesAsTheScans) {
  struct Case {
    int32_t generated, spoiltTo;
  };
  for (const Case c : {Case{700, 1000}, Case{1600, 2000}}) {
    TCasaPlan spoilt;
    gen::GeneratePlan(spoilt, {c.generated, 11});
    Spoil(spoilt, c.spoiltTo, c.generated);
    spoilt.SetSelection(spoilt.WallCount - 3, kSelWall);

    TCasaPlan scanned = spoilt, indexed = spoilt;
    RemoveShortAndDuplicateWallsWith(scanned, CleanUpSearch::kScan);
    RemoveShortAndDuplicateWallsWith(indexed, CleanUpSearch::kIndexed);
    ASSERT_EQ(gen::FirstDifference(scanned, indexed), "") << c.spoiltTo << " walls";
    EXPECT_LT(scanned.WallCount, spoilt.WallCount - 150);
    EXPECT_LT(scanned.OpeningCount, spoilt.OpeningCount);

    scanned.SetSelection(scanned.CornerCount - 5, kSelCorner);
    indexed.SetSelection(indexed.CornerCount - 5, kSelCorner);
    const int32_t corners = scanned.CornerCount;
    MergeCoincidentCornersWith(scanned, CleanUpSearch::kScan);
    MergeCoincidentCornersWith(indexed, CleanUpSearch::kIndexed);
    ASSERT_EQ(gen::FirstDifference(scanned, indexed), "") << c.spoiltTo << " walls";
    EXPECT_LT(scanned.CornerCount, corners - 150);
  }
}

// A corner with more wall ends than a corner's wall list holds stops the
// corner pass at the same corner, with the same corners deleted before it.
TEST(CleanUpSearch, BothPassesStopAtACornerWithTooManyWalls) {
  TCasaPlan crowded;
  crowded.AddCorner({9000, 9000});  // used by no wall: deleted first
  const int32_t hub = crowded.AddCorner({5000, 5000});
  for (int32_t i = 0; i < 1001; ++i)
    crowded.AppendWall(hub, crowded.AddCorner({6000 + i, 7000}), 200);
  TCasaPlan scanned = crowded, indexed = crowded;
  EXPECT_THROW(MergeCoincidentCornersWith(scanned, CleanUpSearch::kScan), RangeError);
  EXPECT_THROW(MergeCoincidentCornersWith(indexed, CleanUpSearch::kIndexed), RangeError);
  EXPECT_EQ(gen::FirstDifference(scanned, indexed), "");
  EXPECT_EQ(scanned.CornerCount, crowded.CornerCount - 1);
}

}  // namespace
}  // namespace casavo
