// Tests of wall outlines and joints.

#include <gtest/gtest.h>

#include "plan/casa_plan.h"

namespace casavo {
namespace {

TQuad OutlineOf(const TCasaPlan& plan, int32_t w) {
  return {plan.Outline[4 * w + 1], plan.Outline[4 * w + 2], plan.Outline[4 * w + 3],
          plan.Outline[4 * w + 4]};
}

TEST(WallOutline, LCornerIsMitred) {
  TCasaPlan plan;
  plan.AddWall({0, 0}, {1000, 0});
  plan.AddWall({0, 0}, {0, 1000});
  plan.RefreshGeometry();
  EXPECT_EQ(OutlineOf(plan, 1),
            (TQuad{TPoint{-125, -125}, TPoint{1000, -125}, TPoint{1000, 125}, TPoint{125, 125}}));
  EXPECT_TRUE(plan.Walls[1].JoinedAtC1);
  EXPECT_FALSE(plan.Walls[1].JoinedAtC2);
  // Both walls end on the same outer and inner points.
  EXPECT_EQ(OutlineOf(plan, 2),
            (TQuad{TPoint{125, 125}, TPoint{125, 1000}, TPoint{-125, 1000}, TPoint{-125, -125}}));
  EXPECT_EQ(plan.Walls[1].Shape[0], (TPoint{0, 0}));
  EXPECT_EQ(plan.Walls[1].Shape[1], (TPoint{-125, -125}));
  EXPECT_EQ(plan.Walls[1].Shape[3], (TPoint{1000, 0}));
  EXPECT_EQ(plan.Walls[1].Shape[5], (TPoint{125, 125}));
}

TEST(WallOutline, ALoneWallKeepsItsSquareEnds) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {5000, 3000});
  plan.UpdateWallOutline(1);
  const TQuad plain = plan.WallPolygon(1);
  EXPECT_EQ(OutlineOf(plan, 1), plain);
  EXPECT_FALSE(plan.Walls[1].JoinedAtC1);
  EXPECT_FALSE(plan.Walls[1].JoinedAtC2);
  EXPECT_EQ(plan.Walls[1].Shape, (std::array<TPoint, 6>{TPoint{5000, 5000}, plain[0], plain[1],
                                                        TPoint{5000, 3000}, plain[2], plain[3]}));
}

TEST(WallOutline, TJunctionCutsTheStemBackToTheThroughWall) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.AddWall({5000, 5000}, {7000, 5000});
  plan.AddWall({6000, 5000}, {6000, 6000});
  ASSERT_EQ(plan.WallCount, 3);
  plan.RefreshGeometry();
  // Wall 2 is the stem: both faces end on the through wall's face.
  EXPECT_EQ(plan.Outline[9], (TPoint{6100, 5100}));
  EXPECT_EQ(plan.Outline[12], (TPoint{5900, 5100}));
  EXPECT_EQ(plan.Outline[10], (TPoint{6100, 6000}));  // the free end stays square
  EXPECT_FALSE(plan.Walls[2].JoinedAtC2);
  // Wall 1, the right half of the through wall: its far face runs on
  // straight into the left half's, its near face meets the stem.
  EXPECT_EQ(plan.Outline[5], (TPoint{6000, 4900}));
  EXPECT_EQ(plan.Outline[8], (TPoint{6100, 5100}));
}

TEST(WallOutline, OpeningCoversTheWallThicknessAroundItsCentre) {
  TCasaPlan plan;
  plan.DefaultThickness = 200;
  plan.AddWall({0, 0}, {1000, 0});
  plan.AddOpening(1, 900, 500, 1002, 0, 0);
  EXPECT_EQ(plan.OpeningPolygon(1),
            (TQuad{TPoint{50, -100}, TPoint{950, -100}, TPoint{950, 100}, TPoint{50, 100}}));
  plan.AddWall({2000, 0}, {2000, 1001});
  EXPECT_EQ(plan.WallMiddle(2), (TPoint{2000, 500}));  // 500.5 to the even neighbour
  plan.AddOpening(2, 400, 300, 0, 0, 0);
  EXPECT_EQ(plan.OpeningPolygon(2),
            (TQuad{TPoint{2100, 100}, TPoint{2100, 500}, TPoint{1900, 500}, TPoint{1900, 100}}));
}

}  // namespace
}  // namespace casavo
