// Tests of the 3D view's commands.

#include "ui/view3d_controls.h"

#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

class View3DControlsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  View3DControls& Controls() { return *form_->View3D; }
};

TEST_F(View3DControlsTest, WallHeightIsOneUndoStepAndFollowsUndo) {
  EXPECT_EQ(Controls().View, nullptr) << "no OpenGL view until the user asks for it";
  EXPECT_EQ(Controls().ueHauteurMurs->ValueStr(), "2,50 m");
  Type(Controls().ueHauteurMurs, "2,8");
  EXPECT_EQ(Plan().WallHeight, 2800);
  EXPECT_EQ(form_->Editor->UndoLabels.back(), "Hauteur des murs");

  Type(Controls().ueHauteurMurs, "0,5");  // lower than a wall can be
  EXPECT_EQ(Plan().WallHeight, 2800);

  form_->mlAnnulerClick();
  EXPECT_EQ(Plan().WallHeight, 2500);
  EXPECT_EQ(Controls().ueHauteurMurs->ValueStr(), "2,50 m");
  form_->mlRetablirClick();
  EXPECT_EQ(Controls().ueHauteurMurs->ValueStr(), "2,80 m");
}

}  // namespace
}  // namespace casavo
