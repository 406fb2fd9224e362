// Tests of the 3D view inside the main window.

#include <QCheckBox>
#include <QDockWidget>

#include "ui/support/window_fixture.h"
#include "ui/view3d_controls.h"
#include "view3d/view3d.h"

namespace casavo {
namespace {

class View3DWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  View3DControls& Controls() { return *form_->View3D; }
};

TEST_F(View3DWindowTest, TheViewFollowsEveryPaintAndItsClicksSelectInThePlan) {
  Controls().cbVue3D->click();
  ASSERT_NE(Controls().View, nullptr);
  view3d::View3D& view = *Controls().View;
  EXPECT_TRUE(view.Model().faces.empty());
  Plan().AddWall({5000, 5000}, {9000, 5000});
  Plan().RefreshGeometry();
  form_->Editor->Paint();
  ASSERT_FALSE(view.Model().faces.empty());
  EXPECT_EQ(view.Model().faces.front().kind, kSelWall);

  emit view.Picked(kSelWall, 1);
  EXPECT_EQ(Plan().Selected(kSelWall), 1);
  EXPECT_FALSE(form_->pMur->isHidden()) << "the wall's panel shows, as after a click in the plan";
}

TEST_F(View3DWindowTest, TheSwitchOpensAndClosesTheDock) {
  EXPECT_TRUE(Controls().Dock->isHidden());
  EXPECT_EQ(Controls().View, nullptr);
  Controls().cbVue3D->click();
  EXPECT_FALSE(Controls().Dock->isHidden());
  Controls().Dock->close();
  EXPECT_FALSE(Controls().cbVue3D->isChecked());
}

}  // namespace
}  // namespace casavo
