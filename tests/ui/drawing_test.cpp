// Tests of drawing walls in the main window.

#include <QLineEdit>
#include <QSlider>
#include <QWheelEvent>

#include "common/numeric.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

class DrawingTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  TPoint At(QPoint pixel) { return Plan().ScreenToPlan({pixel.x(), pixel.y()}); }
  // The only wall's end other than `start`.
  TPoint OtherEnd(TPoint start) {
    const TWall& wall = Plan().Walls[1];
    const TPoint a = Plan().Corners[wall.C1];
    return a == start ? Plan().Corners[wall.C2] : a;
  }
  // Types text after a wall is drawn: the first key opens the entry.
  void TypeLength(const QString& text) {
    QTest::keyClick(form_->Editor, text[0].toLatin1());
    QTest::keyClicks(form_->Editor->Entry()->LengthBox(), text.mid(1));
  }
};

TEST_F(DrawingTest, ALengthTypedAfterDrawingSetsTheWallExactlyFromItsStart) {
  DrawWall(QPoint(200, 300), QPoint(390, 310));
  const TPoint start = At(QPoint(200, 300));
  TypeLength("3,60");
  EXPECT_EQ(form_->Editor->Entry()->Reading(), QString::fromUtf8("→ 3,60 m"));
  QTest::keyClick(form_->Editor->Entry()->LengthBox(), Qt::Key_Return);
  ASSERT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(Distance(start, OtherEnd(start)), 3600);
  EXPECT_EQ(form_->Editor->UndoLabels.size(), 2u) << "one step for the drawn wall";
}

TEST_F(DrawingTest, TabTakesTheAngleAndNinetyDegreesGoesUp) {
  DrawWall(QPoint(200, 300), QPoint(400, 300));
  TypeLength("3,6");
  QTest::keyClick(form_->Editor->Entry()->LengthBox(), Qt::Key_Tab);
  QLineEdit* angle = form_->Editor->Entry()->AngleBox();
  angle->selectAll();
  QTest::keyClicks(angle, "90");
  QTest::keyClick(angle, Qt::Key_Return);
  // The clean-up may shift the plan's points, never the picture: the start
  // corner is still under the pixel where the wall began.
  const TPoint start = At(QPoint(200, 300));
  EXPECT_EQ(Plan().PlanToScreen(start), (TPoint{200, 300}));
  EXPECT_EQ(OtherEnd(start), (TPoint{start.x, start.y - 3600}));
}

TEST_F(DrawingTest, MagnetismLevelsAWallDrawnSlightlyOffAndAltTurnsItOff) {
  DrawWall(QPoint(200, 300), QPoint(400, 306));  // 1,7° off the axis
  const TWall level = Plan().Walls[1];
  EXPECT_EQ(Plan().Corners[level.C1].y, Plan().Corners[level.C2].y);
  EXPECT_EQ(Distance(Plan().Corners[level.C1], Plan().Corners[level.C2]) % 10, 0)
      << "whole centimetres";

  script_.alt = true;
  DrawWall(QPoint(200, 500), QPoint(400, 506));
  ASSERT_EQ(Plan().WallCount, 2);
  const TWall free = Plan().Walls[2];
  EXPECT_NE(Plan().Corners[free.C1].y, Plan().Corners[free.C2].y);
}

TEST_F(DrawingTest, DraggingOnePieceOfAStraightWallMovesTheWholeWall) {
  DrawWall(QPoint(100, 100), QPoint(500, 100));
  DrawWall(QPoint(300, 100), QPoint(300, 300));  // a T: the first wall is cut in two
  form_->Editor->Disarm();
  ASSERT_EQ(Plan().WallCount, 3);
  Drag(QPoint(200, 100), QPoint(200, 140));
  int32_t moved = 0;
  for (int32_t c = 1; c <= Plan().CornerCount; ++c)
    if (Plan().PlanToScreen(Plan().Corners[c]).y == 140) ++moved;
  EXPECT_EQ(moved, 3) << "both ends and the T corner";
  EXPECT_EQ(Plan().WallCount, 3) << "the joined wall stretched, nothing else changed";
  Select(1, kSelWall);
  Drag(QPoint(200, 140), QPoint(200, 140));
  EXPECT_EQ(Plan().SelectedRun.Count, 1) << "the other piece is selected with it";
}

TEST_F(DrawingTest, ALengthSetInThePanelKeepsTheRoomSquare) {
  const QPoint corners[] = {{100, 100}, {400, 100}, {400, 300}, {100, 300}};
  Click(form_->mlTracerMur);
  for (int i = 0; i < 4; ++i) Drag(corners[i], corners[(i + 1) % 4]);
  form_->Editor->Disarm();
  ASSERT_EQ(Plan().RoomCount, 1) << "four drags of the armed tool close a room";
  QTest::mouseClick(form_->Editor, Qt::LeftButton, {}, QPoint(250, 100));
  ASSERT_GT(Plan().Selected(kSelWall), 0);
  Type(form_->ueMurLong, "5");
  for (int32_t w = 1; w <= Plan().WallCount; ++w) {
    const TPoint a = Plan().Corners[Plan().Walls[w].C1], b = Plan().Corners[Plan().Walls[w].C2];
    EXPECT_TRUE(a.x == b.x || a.y == b.y) << "wall " << w << " stays square";
  }
  ASSERT_EQ(Plan().RoomCount, 1);
  EXPECT_NEAR(Plan().Rooms[1].surface, (5000.0 - 250) * (4000.0 - 250), 1);
}

TEST_F(DrawingTest, TheWheelZoomsAboutThePointerAndAjusterShowsEveryCorner) {
  DrawWall(QPoint(100, 100), QPoint(500, 400));
  const QPoint pointer(320, 240);
  const TPoint under = At(pointer);
  QWheelEvent wheel(pointer, form_->Editor->mapToGlobal(pointer), {}, {0, 240}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(form_->Editor, &wheel);
  EXPECT_GT(Plan().zx, 0.05);
  const TPoint back = Plan().PlanToScreen(under);
  EXPECT_NEAR(back.x, pointer.x(), 1);
  EXPECT_NEAR(back.y, pointer.y(), 1);
  EXPECT_EQ(form_->tbZoom->value(), RoundToInt(Plan().zx * 1000)) << "the slider follows";

  script_.saveChoice = SaveChoice::Discard;
  ASSERT_TRUE(form_->OpenPlanFile(QStringLiteral(CASAVO_SOURCE_DIR "/examples/immeuble.plan")));
  QTest::keyClick(form_->Editor, Qt::Key_F);
  for (int32_t c = 1; c <= Plan().CornerCount; ++c) {
    const TPoint p = Plan().PlanToScreen(Plan().Corners[c]);
    EXPECT_TRUE(form_->Editor->rect().contains(p.x, p.y))
        << "corner " << c << " at " << p.x << "," << p.y << " zoom " << Plan().zx;
  }
}

}  // namespace
}  // namespace casavo
