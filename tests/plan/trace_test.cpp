// Tests of the traced picture's placement: turned pictures, refused scales, the origin shift.
#include <gtest/gtest.h>

#include <cmath>

#include "plan/casa_plan.h"
#include "plan/trace.h"

namespace casavo {
namespace {

TTrace Placed(double scale, double angle) {
  TTrace trace;
  trace.path = "scan.png";
  trace.scale = scale;
  trace.x = 1234.5;
  trace.y = -678.25;
  trace.angle = angle;
  return trace;
}

double Gap(TracePoint a, TracePoint b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

// Clicks on a turned picture land on plan points and come back to the same
// picture points; turning and levelling keep their pivot where it was.
TEST(TraceTest, TurnedPicturesMapClicksBothWaysWithinAMillimetre) {
  const TracePoint click{512.25, 301.5};
  for (const double angle : {0.0, 3.5, 90.0, 181.0, 359.9}) {
    for (const double scale : {0.5, 10.0, 25.4}) {
      const TTrace trace = Placed(scale, angle);
      const TracePoint onPlan = trace.PictureToPlan(click);
      EXPECT_LT(Gap(trace.PlanToPicture(onPlan), click) * scale, 1) << angle << " " << scale;
      // The distance on the plan is the picture's distance times the scale, whatever the turn.
      const TracePoint origin = trace.PictureToPlan({0, 0});
      EXPECT_NEAR(Gap(onPlan, origin), std::hypot(click.x, click.y) * scale, 1e-6);
    }
  }

  TTrace turned = Placed(10, 0);
  const TracePoint pivot{5000, 3000};
  const TracePoint under = turned.PlanToPicture(pivot);
  turned.TurnAbout(pivot, -30);
  EXPECT_NEAR(turned.angle, 330, 1e-9);
  EXPECT_LT(Gap(turned.PictureToPlan(under), pivot), 1);

  // A wall scanned 4° off: two clicks along it make it horizontal, the first stays.
  TTrace level = Placed(10, 0);
  const TracePoint a{100, 100};
  const TracePoint b{100 + 800 * std::cos(0.0698), 100 + 800 * std::sin(0.0698)};
  const TracePoint before = level.PictureToPlan(a);
  level.Level(a, b);
  EXPECT_NEAR(level.PictureToPlan(a).y, level.PictureToPlan(b).y, 1);
  EXPECT_LT(Gap(level.PictureToPlan(a), before), 1);
  // Clicked right to left it turns the same small way, not half a turn.
  TTrace back = Placed(10, 0);
  back.Level(b, a);
  EXPECT_NEAR(back.angle, level.angle, 1e-6);
}

TEST(TraceTest, ScalingRefusesCoincidentPointsAndKeepsTheFirstPoint) {
  TTrace trace = Placed(25.4, 12);
  EXPECT_FALSE(trace.ScaleBetween({10, 10}, {10, 10}, 5000));
  EXPECT_FALSE(trace.ScaleBetween({10, 10}, {20, 10}, 0));
  EXPECT_DOUBLE_EQ(trace.scale, 25.4);
  const TracePoint kept = trace.PictureToPlan({10, 10});
  ASSERT_TRUE(trace.ScaleBetween({10, 10}, {10, 410}, 5200));
  EXPECT_DOUBLE_EQ(trace.scale, 13);
  EXPECT_LT(Gap(trace.PictureToPlan({10, 10}), kept), 1e-6);
}

// The clean-up shifts every plan point so that the plan starts near 0: the
// picture has to go along or the walls would leave what they were traced on.
TEST(TraceTest, ThePictureFollowsTheOriginShift) {
  TCasaPlan plan;
  plan.AddWall({50000, 40000}, {56000, 40000});
  plan.Trace = Placed(10, 0);
  const TracePoint under = plan.Trace.PlanToPicture({50000, 40000});
  plan.NormaliseOrigin();
  ASSERT_NE(plan.Corners[1].x, 50000);
  const TracePoint moved = plan.Trace.PictureToPlan(under);
  EXPECT_NEAR(moved.x, plan.Corners[1].x, 1e-6);
  EXPECT_NEAR(moved.y, plan.Corners[1].y, 1e-6);
  plan.Clear();
  EXPECT_FALSE(plan.Trace.Present());
}

}  // namespace
}  // namespace casavo
