// Tests of Clear, the selection and the plan <-> screen conversions.

#include <gtest/gtest.h>

#include "common/errors.h"
#include "plan/casa_plan.h"

namespace casavo {
namespace {

TEST(PlanState, NewAndClearedPlansAreEmpty) {
  TCasaPlan plan;
  EXPECT_EQ(
      plan.CornerCount + plan.WallCount + plan.OpeningCount + plan.RoomCount + plan.ObjectCount, 0);
  for (uint8_t kind = 0; kind <= kSelRoom; ++kind) EXPECT_EQ(plan.Selected(kind), 0);

  plan.AddWall({5000, 5000}, {6000, 5000});
  plan.AddOpening(1, 500, 500, 0, 0, 0);
  plan.AddObjet(1, 2, 3, 4, 5, 6, "Objet");
  plan.RoomNames.SetValue("K", "Salon");
  plan.NextGroup = 4;
  plan.zx = 0.05;
  plan.SetSelection(1, kSelWall);
  plan.Clear();
  EXPECT_EQ(plan.CornerCount + plan.WallCount + plan.OpeningCount + plan.ObjectCount, 0);
  EXPECT_TRUE(plan.RoomNames.Empty());
  EXPECT_EQ(plan.NextGroup, 0);
  EXPECT_EQ(plan.SelKind, kSelNothing);
  EXPECT_EQ(plan.zx, 0.05);  // the view belongs to the window
}

TEST(PlanState, SelectionIsReadByKind) {
  TCasaPlan plan;
  plan.SetSelection(7, kSelWall);
  EXPECT_EQ(plan.Selected(kSelOpening), 0);
  EXPECT_EQ(plan.Selected(kSelWall), 7);
  plan.SetSelection(0, kSelWall);
  EXPECT_EQ(plan.Selected(kSelWall), 0);
}

TEST(ViewConversion, RoundsOnceInExtendedPrecision) {
  TCasaPlan plan;
  plan.zx = plan.zy = 0.05;
  EXPECT_EQ(plan.PlanToScreenX(10), 1);
  EXPECT_EQ(plan.PlanToScreenY(10), 1);
  plan.x0 = 10;
  EXPECT_EQ(plan.PlanToScreenX(5000), 260);
  EXPECT_EQ(plan.ScreenToPlanX(260), 5000);
  plan.y0 = -20;
  EXPECT_EQ(plan.PlanToScreen({5000, 1000}), (TPoint{260, 30}));
  EXPECT_EQ(plan.ScreenToPlan({260, 30}), (TPoint{5000, 1000}));

  plan.zx = 0.5;
  plan.x0 = 0;
  EXPECT_EQ(plan.PlanToScreenX(5), 2);  // 2.5 goes to the even neighbour
  EXPECT_EQ(plan.PlanToScreenX(7), 4);  // 3.5 too
  EXPECT_EQ(plan.ScreenToPlanX(3), 6);
}

TEST(ViewConversion, ResultsOutsideInt32AreErrors) {
  TCasaPlan plan;
  plan.zx = 10;
  EXPECT_THROW(plan.PlanToScreenX(300000000), OverflowError);
  plan.zx = 0;
  EXPECT_THROW(plan.ScreenToPlanX(5), OverflowError);
  EXPECT_THROW(plan.ScreenToPlanX(0), OverflowError);
}

}  // namespace
}  // namespace casavo
