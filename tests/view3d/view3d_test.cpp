// Tests of the 3D view's pictures.

#include "view3d/view3d.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "files/plan_file.h"
#include "model3d/model3d.h"

namespace casavo::view3d {
namespace {

using model3d::Vec3;

// Whether the pixel is the colour rgb under some light: one brightening or
// darkening for all three channels, and neither black nor washed out.
::testing::AssertionResult Lit(QColor pixel, uint32_t rgb) {
  const int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
  const double k = double(pixel.red() + pixel.green() + pixel.blue()) / (r + g + b);
  const bool same = std::abs(pixel.red() - k * r) <= 10 && std::abs(pixel.green() - k * g) <= 10 &&
                    std::abs(pixel.blue() - k * b) <= 10;
  if (same && k > 0.45 && k < 1.0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << pixel.name().toStdString() << " is not "
                                       << QColor(QRgb(rgb)).name().toStdString() << " lit";
}

class FamilyHouse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadPlanFile(plan, CASAVO_SOURCE_DIR "/examples/maison_familiale.plan"));
    plan.ShowRooms = true;
    plan.RefreshGeometry();
    view = std::make_unique<View3D>(plan);
    view->resize(480, 360);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }

  // The colour where the plan point shows, with the eye at eye looking at it.
  QColor Seen(Vec3 eye, Vec3 point) {
    view->ViewCamera().LookAt(ToScene(eye), ToScene(point));
    const QImage picture = view->grabFramebuffer();
    const QPointF at = view->Project(point);
    EXPECT_NEAR(at.x(), 240, 1);
    EXPECT_NEAR(at.y(), 180, 1);
    return picture.pixelColor(at.toPoint());
  }

  uint32_t RoomColour(const std::string& name) const {
    for (int32_t r = 1; r <= plan.RoomCount; ++r)
      if (plan.RoomName(r) == name) return TextToColour(plan.RoomColour(r));
    ADD_FAILURE() << "no room " << name;
    return 0;
  }

  TCasaPlan plan;
  std::unique_ptr<View3D> view;
};

TEST_F(FamilyHouse, DoorwaysShowTheRoomBehindWallsAndFloorsTheirLitColours) {
  // From the hall, through the double door, onto the living room's floor.
  EXPECT_TRUE(Lit(Seen({9750, 13000, 1300}, {9750, 8500, 0}), RoomColour("Séjour")));
  // The west outer wall from outside, beside its window.
  EXPECT_TRUE(Lit(Seen({1000, 9200, 1250}, {4850, 9200, 1250}), model3d::kWallColour));
  // The bathroom's floor from above.
  EXPECT_TRUE(Lit(Seen({12250, 13200, 9000}, {12250, 12700, 0}), RoomColour("Salle de bain")));
}

TEST_F(FamilyHouse, AClickPicksTheWallOrRoomUnderThePointer) {
  QSignalSpy picked(view.get(), &View3D::Picked);
  Seen({1000, 9200, 1250}, {4850, 9200, 1250});
  QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(240, 180));
  Seen({12250, 13200, 9000}, {12250, 12700, 0});
  QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(240, 180));
  ASSERT_EQ(picked.size(), 2);
  EXPECT_EQ(picked[0][0].toInt(), kSelWall);
  EXPECT_EQ(plan.Walls[picked[0][1].toInt()].C1, plan.Walls[4].C1);
  EXPECT_EQ(picked[1][0].toInt(), kSelRoom);
  EXPECT_EQ(plan.RoomName(picked[1][1].toInt()), "Salle de bain");
}

TEST_F(FamilyHouse, TheExportedPictureHasTheAskedSize) {
  const QImage picture = view->RenderImage(QSize(640, 400));
  EXPECT_EQ(picture.size(), QSize(640, 400));
  // The view framed the whole house: the middle of the picture is not sky.
  view->FramePlan();
  const QImage framed = view->RenderImage(QSize(320, 200));
  EXPECT_NE(framed.pixelColor(160, 100), framed.pixelColor(160, 2));
}

}  // namespace
}  // namespace casavo::view3d
