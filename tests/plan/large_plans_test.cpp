// Tests of plans far from the origin and near the table capacities.

#include <gtest/gtest.h>

#include "plan/casa_plan.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

TQuad OutlineOf(const TCasaPlan& plan, int32_t w) {
  return {plan.Outline[4 * w + 1], plan.Outline[4 * w + 2], plan.Outline[4 * w + 3],
          plan.Outline[4 * w + 4]};
}

// A closed rectangle of centre lines, clockwise on screen, rooms shown.
TCasaPlan Rectangle(TPoint from, int32_t width, int32_t height, int32_t epais) {
  TCasaPlan plan;
  plan.DefaultThickness = epais;
  plan.ShowRooms = true;
  const TPoint a = from, b{from.x + width, from.y}, c{from.x + width, from.y + height},
               d{from.x, from.y + height};
  plan.AddWall(a, b);
  plan.AddWall(b, c);
  plan.AddWall(c, d);
  plan.AddWall(d, a);
  plan.RefreshGeometry();
  return plan;
}

TEST(LargePlans, AFortySevenMetreLIsMitredLikeASmallOne) {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {52000, 5000});
  plan.AddWall({5000, 5000}, {5000, 52000});
  ASSERT_NO_THROW(plan.RefreshGeometry());
  EXPECT_EQ(OutlineOf(plan, 1), (TQuad{TPoint{4875, 4875}, TPoint{52000, 4875}, TPoint{52000, 5125},
                                       TPoint{5125, 5125}}));
  EXPECT_EQ(OutlineOf(plan, 2), (TQuad{TPoint{5125, 5125}, TPoint{5125, 52000}, TPoint{4875, 52000},
                                       TPoint{4875, 4875}}));
  EXPECT_EQ(plan.WallLength(1), 47000);
}

TEST(LargePlans, ClosedSquaresUpToNineKilometresGiveOneRoom) {
  for (const int32_t side : {47000, 9000000}) {
    for (const TPoint from : {TPoint{5000, 5000}, TPoint{-9500000, 500000}}) {
      TCasaPlan plan = Rectangle(from, side, side, 300);
      ASSERT_EQ(plan.RoomCount, 1) << side;
      const double inner = side - 300.0;
      EXPECT_EQ(plan.Rooms[1].surface, inner * inner) << side;
      EXPECT_EQ(plan.Rooms[1].Centre, (TPoint{from.x + side / 2, from.y + side / 2})) << side;
      EXPECT_EQ(OutlineOf(plan, 1)[3], (TPoint{from.x + 150, from.y + 150})) << side;
      // The clean-up of a moved corner brings the plan to the origin's margin.
      plan.Corners[1].x += 10;
      ASSERT_NO_THROW(plan.CleanUpAfterCornerMove(1)) << side;
      EXPECT_EQ(plan.RoomCount, 1) << side;
      EXPECT_EQ(plan.GetBounds().left, 5000) << side;
    }
  }
}

TEST(LargePlans, APlanMovedNineKilometresAwayKeepsItsRooms) {
  TCasaPlan plan;
  gen::GeneratePlan(plan, {2000, 4});
  TCasaPlan moved = plan;
  constexpr int32_t kShift = 9000000;
  for (int32_t k = 1; k <= moved.CornerCount; ++k) {
    moved.Corners[k].x += kShift;
    moved.Corners[k].y -= kShift;
  }
  ASSERT_NO_THROW(moved.RefreshGeometry());
  ASSERT_EQ(moved.RoomCount, plan.RoomCount);
  EXPECT_GT(plan.RoomCount, 500);
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    EXPECT_EQ(moved.Rooms[r].hash, plan.Rooms[r].hash) << r;
    EXPECT_EQ(moved.Rooms[r].surface, plan.Rooms[r].surface) << r;
    EXPECT_EQ(moved.Rooms[r].Centre,
              (TPoint{plan.Rooms[r].Centre.x + kShift, plan.Rooms[r].Centre.y - kShift}))
        << r;
  }
}

}  // namespace
}  // namespace casavo
