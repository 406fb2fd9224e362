// Tests of the clean-up after a gesture.

#include <gtest/gtest.h>

#include "common/errors.h"
#include "plan/casa_plan.h"
#include "plan_builders.h"

namespace casavo {
namespace {

TEST(CleanUp, ShortWallsGoFromNinetyNineMillimetres) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {5099, 5000});
  plan.AddWall({6000, 5000}, {6100, 5000});
  plan.AddWall({7000, 5000}, {7070, 5070});  // 98.99 mm
  plan.AddOpening(1, 50, 50, 0, 0, 0);
  plan.RemoveShortAndDuplicateWalls();
  ASSERT_EQ(plan.WallCount, 1);
  EXPECT_EQ(plan.Corners[plan.Walls[1].C1], (TPoint{6000, 5000}));
  EXPECT_EQ(plan.OpeningCount, 0);
  plan.MergeCoincidentCorners();
  EXPECT_EQ(plan.CornerCount, 2);  // corners no wall uses are gone
}

TEST(CleanUp, TheEarlierOfTwoDuplicateWallsGoesWithItsOpenings) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddWall({7000, 7000}, {8000, 7000});
  plan.AddWall({6000, 5000}, {5000, 5000});
  plan.AddOpening(1, 300, 400, 0, 0, 0);
  plan.AddOpening(3, 300, 600, 0, 0, 0);
  plan.RemoveShortAndDuplicateWalls();
  ASSERT_EQ(plan.WallCount, 2);
  EXPECT_EQ(plan.Corners[plan.Walls[1].C1], (TPoint{6000, 5000}));  // wall 3 moved into slot 1
  ASSERT_EQ(plan.OpeningCount, 1);
  EXPECT_EQ(plan.Openings[1].dcoin1, 600);
  EXPECT_EQ(plan.Openings[1].imur, 1);
}

TEST(CleanUp, ACornerDraggedOntoAnotherBecomesOne) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddWall({6000, 5000}, {6000, 6000});
  plan.AddWall({6000, 6000}, {7000, 6000});
  ASSERT_EQ(plan.CornerCount, 4);
  plan.SetSelection(3, kSelCorner);
  plan.Corners[3] = {6000, 5000};
  plan.CleanUpAfterCornerMove(3);
  EXPECT_EQ(plan.CornerCount, 3);
  ASSERT_EQ(plan.WallCount, 2);  // the wall between the two has gone
  EXPECT_EQ(plan.Walls[2].C1, 2);
  EXPECT_EQ(plan.Corners[plan.Walls[2].C2], (TPoint{7000, 6000}));
  EXPECT_EQ(plan.Selected(kSelCorner), 2);  // the dragged corner lives on as the survivor
}

TEST(CleanUp, ClampPullsAnOpeningBackInsideItsWall) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {5900, 5000});
  plan.AddOpening(1, 1000, 700, 0, 0, 0);
  EXPECT_TRUE(plan.ClampOpening(1));
  EXPECT_EQ(plan.Openings[1].large, 900);
  EXPECT_TRUE(plan.ClampOpening(1));
  EXPECT_EQ(plan.Openings[1].dcoin1, 450);
  EXPECT_FALSE(plan.ClampOpening(1));

  plan.AddOpening(1, 1000, 700, 0, 0, 0);
  plan.AddOpening(1, 301, 100, 0, 0, 0);  // too near the C1 end
  plan.AddOpening(1, 300, 450, 0, 0, 0);  // fits
  plan.Openings[1].dcoin1 = 800;
  EXPECT_TRUE(plan.ClampAllOpenings());
  EXPECT_EQ(plan.Openings[1].dcoin1, 450);
  EXPECT_EQ(plan.Openings[2].large, 900);
  EXPECT_EQ(plan.Openings[2].dcoin1, 450);
  EXPECT_EQ(plan.Openings[3].dcoin1, 150);
  EXPECT_EQ(plan.Openings[4].dcoin1, 450);
  EXPECT_FALSE(plan.ClampAllOpenings());
}

TEST(NormaliseOrigin, ShiftsThePlanButNotTheDrawingOnScreen) {
  TCasaPlan plan;
  plan.zx = plan.zy = 0.05;
  plan.x0 = 10;
  plan.y0 = 20;
  plan.AddWall({6000, 7000}, {8000, 9000});
  plan.AddObjet(7000, 7500, 600, 600, 0, 0, "Table");
  plan.RefreshGeometry();
  const TPoint cornerOnScreen = plan.PlanToScreen(plan.Corners[2]);
  const TPoint objectOnScreen = plan.PlanToScreen({plan.Objects[1].x, plan.Objects[1].y});
  const TPoint outlineBefore = plan.Outline[5];

  plan.NormaliseOrigin();
  EXPECT_EQ(plan.Corners[1], (TPoint{5000, 5000}));
  EXPECT_EQ(plan.Corners[2], (TPoint{7000, 7000}));
  EXPECT_EQ(plan.Objects[1].x, 6000);
  EXPECT_EQ(plan.Outline[5], (TPoint{outlineBefore.x - 1000, outlineBefore.y - 2000}));
  EXPECT_EQ(plan.x0, 60);
  EXPECT_EQ(plan.y0, 120);
  EXPECT_EQ(plan.PlanToScreen(plan.Corners[2]), cornerOnScreen);
  EXPECT_EQ(plan.PlanToScreen({plan.Objects[1].x, plan.Objects[1].y}), objectOnScreen);
}

TEST(NormaliseOrigin, ObjectsAloneOrAnOverflowChangeNothing) {
  TCasaPlan objects;
  objects.AddObjet(100, 200, 600, 600, 0, 0, "Lit");
  objects.NormaliseOrigin();
  EXPECT_EQ(objects.Objects[1].x, 100);
  EXPECT_EQ(objects.x0, 0);

  TCasaPlan far;
  far.AddWall({-2000000000, 0}, {-2000000000, 1000});
  far.AddObjet(200000000, 0, 600, 600, 0, 0, "Loin");
  EXPECT_THROW(far.NormaliseOrigin(), OverflowError);
  EXPECT_EQ(far.Corners[1], (TPoint{-2000000000, 0}));
  EXPECT_EQ(far.Objects[1].x, 200000000);
  EXPECT_EQ(far.x0, 0);
}

TEST(CleanUp, AMovedWallIsCutWhereItNowCrosses) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({7000, 6000}, {7000, 8000});
  plan.AddOpening(2, 400, 1400, 0, 0, 0);
  // Drag wall 2 up by 1500 mm: it now crosses wall 1, and the origin moves.
  plan.Corners[plan.Walls[2].C1].y -= 1500;
  plan.Corners[plan.Walls[2].C2].y -= 1500;
  plan.CleanUpAfterWallMove(2);
  EXPECT_EQ(plan.WallCount, 4);
  const int32_t crossing = plan.FindOrAddCorner({7000, 5500});
  EXPECT_EQ(plan.WallsAtCorner(crossing).Count, 4);
  EXPECT_EQ(plan.CornerCount, 5);
  // The opening stays where it was, on wall 2, which now starts at the
  // crossing, 500 mm before the opening's old place along it.
  EXPECT_EQ(plan.WallLength(2), 1500);
  EXPECT_EQ(plan.Openings[1].imur, 2);
  EXPECT_EQ(plan.Openings[1].dcoin1, 900);
}

TEST(CleanUp, MovesOfMissingElementsAreRefused) {
  TCasaPlan plan;
  DrawRectangle(plan);
  EXPECT_THROW(plan.CleanUpAfterWallMove(5), RangeError);
  EXPECT_THROW(plan.CleanUpAfterCornerMove(0), RangeError);
}

}  // namespace
}  // namespace casavo
