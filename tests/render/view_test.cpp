// Tests of the zoom helpers.

#include "render/view.h"

#include <gtest/gtest.h>

#include <QImage>

#include "common/errors.h"
#include "render/render_test_util.h"

namespace casavo {
namespace {

using namespace casavo::testing;

TEST(Zoom, SliderKeepsTheMiddleOfTheView) {
  auto plan = NewPlan();
  plan->zx = plan->zy = 0.1;
  plan->x0 = -123;
  plan->y0 = 77;
  const TPoint middle = plan->ScreenToPlan({400, 300});

  EXPECT_EQ(ZoomAbout(*plan, 200), "Zoom : 200 %");
  EXPECT_EQ(plan->zx, 0.2);
  EXPECT_EQ(plan->zy, 0.2);
  const TPoint after = plan->PlanToScreen(middle);
  EXPECT_LE(std::abs(after.x - 400), 1);
  EXPECT_LE(std::abs(after.y - 300), 1);

  // Zooming out to the slider's end keeps it too.
  const TPoint middle2 = plan->ScreenToPlan({400, 300});
  ZoomAbout(*plan, 10);
  const TPoint out = plan->PlanToScreen(middle2);
  EXPECT_LE(std::abs(out.x - 400), 1);
  EXPECT_LE(std::abs(out.y - 300), 1);
}

TEST(Zoom, SetZoomAndUnusableZoomsKeepTheOffsets) {
  auto plan = NewPlan();
  plan->x0 = 31;
  plan->y0 = -9;
  SetZoom(*plan, 0.8);
  EXPECT_EQ(plan->zx, 0.8);
  EXPECT_EQ(plan->zy, 0.8);
  EXPECT_EQ(plan->x0, 31);
  EXPECT_EQ(plan->y0, -9);

  // A zoom of 0 from a plan file cannot locate the middle: only the zoom changes.
  SetZoom(*plan, 0);
  EXPECT_EQ(ZoomAbout(*plan, 100), "Zoom : 100 %");
  EXPECT_EQ(plan->zx, 0.1);
  EXPECT_EQ(plan->x0, 31);

  // An overflow leaves the view as it was.
  plan->x0 = 2147483000;
  EXPECT_THROW(ZoomAbout(*plan, 10), OverflowError);
  EXPECT_EQ(plan->zx, 0.1);
  EXPECT_EQ(plan->x0, 2147483000);
}

TEST(ScaleBar, OneMetreFromTheLowerLeftCorner) {
  auto plan = NewPlan();
  RecordingSurface surface;
  DrawScaleBar(*plan, surface);
  const auto& ops = surface.Ops();
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(ops[0].coords, (std::vector<double>{10, 590, 60, 590}));
  EXPECT_EQ(ops[1].coords, (std::vector<double>{10, 590, 10, 585}));
  EXPECT_EQ(ops[2].coords, (std::vector<double>{60, 590, 60, 585}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ops[i].colour, kBlack);
    EXPECT_EQ(ops[i].width, 1);
  }
  EXPECT_EQ(ops[3].colour, kTransparentWhite);
  EXPECT_EQ(ops[4].text, "1 m");
  EXPECT_EQ(ops[4].font.emSize, 12);
  EXPECT_EQ(ops[4].coords, (std::vector<double>{65, 580}));

  plan->zx = 0.5;
  RecordingSurface wide;
  DrawScaleBar(*plan, wide);
  EXPECT_EQ(wide.Ops()[0].coords, (std::vector<double>{10, 590, 510, 590}));
  EXPECT_EQ(wide.Ops()[4].coords, (std::vector<double>{515, 580}));
}

TEST(ScaleBar, PixelsOnARealImage) {
  auto plan = NewPlan();
  QImage image(800, 600, QImage::Format_RGB32);
  image.fill(Qt::red);
  DrawPlan(*plan, image);
  // Antialiased one-pixel lines on whole coordinates grey the two rows around them.
  auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 200; };
  EXPECT_EQ(image.pixel(400, 300), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(799, 0), qRgb(255, 255, 255));
  EXPECT_TRUE(dark(35, 590));
  EXPECT_FALSE(dark(35, 594));
  EXPECT_FALSE(dark(35, 586));
  EXPECT_TRUE(dark(10, 587));
  EXPECT_TRUE(dark(60, 587));
  EXPECT_FALSE(dark(100, 590));
  int label = 0;  // "1 m" to the right of the bar
  for (int y = 578; y < 596; ++y)
    for (int x = 65; x < 100; ++x) label += dark(x, y);
  EXPECT_GT(label, 5);
}

}  // namespace
}  // namespace casavo
