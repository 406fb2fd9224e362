// Tests of the hit tests and the hover feedback of each tool.

#include "editor_fixture.h"

namespace casavo::testing {
namespace {

using HitTests = EditorTest;

TEST_F(HitTests, HitTestsKeepTheirOrderAndReach) {
  plan().AddCorner({3000, 3000});
  plan().AddCorner({3030, 3000});
  EXPECT_EQ(casa->CornerAt(302, 300), 1);  // both boxes: the lower number
  EXPECT_EQ(casa->CornerAt(306, 300), 2);  // the box edge itself is outside

  plan().AddObjet(5000, 5000, 600, 600, 0, 0, "a");
  plan().AddObjet(5200, 5000, 600, 600, 0, 0, "b");
  EXPECT_EQ(casa->ObjetAt(510, 500), 2);  // the one added last lies on top
  EXPECT_EQ(casa->ObjetAt(475, 500), 1);

  // Thickness plays no part: only 5 pixels either side of the centre line.
  const int32_t w = plan().AddWallOfThickness({2000, 1000}, {6000, 1000}, 2000);
  EXPECT_EQ(casa->WallAt(400, 105), w);
  EXPECT_EQ(casa->WallAt(400, 106), 0);
  EXPECT_EQ(casa->WallAt(400, 150), 0);
}

class HoverOverRoom : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    plan().ShowRooms = true;
    plan().ShowObjects = true;
    plan().AddWall({1000, 1000}, {3000, 1000});
    plan().AddWall({3000, 1000}, {3000, 3000});
    plan().AddWall({1000, 3000}, {3000, 3000});
    plan().AddWall({1000, 1000}, {1000, 3000});
    plan().AddOpening(3, 900, 1000, 0, 0, 0);  // centred at (200, 300)
    plan().AddObjet(6000, 3000, 600, 600, 0, 0, "Objet");
    plan().RefreshGeometry();
    ASSERT_EQ(plan().RoomCount, 1);
  }

  void ExpectHover(int x, int y, Qt::CursorShape shape, const std::string& text) {
    Hover(x, y);
    EXPECT_EQ(casa->cursor().shape(), shape) << x << "," << y;
    EXPECT_EQ(LastMessage(), text) << x << "," << y;
  }
};

TEST_F(HoverOverRoom, SelectToolAnnouncesWhatAPressWouldTake) {
  plan().GuideX = plan().GuideY = 700;
  ExpectHover(600, 300, Qt::SizeAllCursor, "Cliquez pour sélectionner cet objet");
  EXPECT_EQ(plan().GuideX, -1);
  EXPECT_EQ(plan().GuideY, -1);
  ExpectHover(101, 101, Qt::SizeAllCursor, "Cliquez pour sélectionner le coin du mur");
  ExpectHover(200, 300, Qt::SizeAllCursor, "Cliquez pour sélectionner l'ouverture");
  ExpectHover(200, 100, Qt::SizeAllCursor, "Cliquez pour sélectionner le mur");
  const size_t count = messages.size();
  Hover(200, 200);
  EXPECT_EQ(casa->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(messages.size(), count);  // a room leaves the status as it was
  ExpectHover(500, 500, Qt::ArrowCursor, "Cliquez pour déplacer le plan");

  plan().ShowObjects = false;
  plan().ShowRooms = false;
  ExpectHover(600, 300, Qt::ArrowCursor, "Cliquez pour déplacer le plan");
  ExpectHover(200, 200, Qt::ArrowCursor, "Cliquez pour déplacer le plan");
  EXPECT_EQ(casa->RoomAt(200, 200), 0);
  EXPECT_EQ(selectionChanges, 0);
}

TEST_F(HoverOverRoom, AddOpeningToolHighlightsTheWallUnderThePointer) {
  casa->Mode = TCasa::ModeAddOpening;
  ExpectHover(200, 100, Qt::CrossCursor, "Cliquez pour poser l'ouverture");
  EXPECT_EQ(plan().Selected(kSelWall), 1);
  ExpectHover(500, 500, Qt::ArrowCursor, "Sélectionnez un mur pour poser l'ouverture");
  EXPECT_EQ(plan().SelIndex, 0);
  EXPECT_EQ(plan().SelKind, kSelWall);
  const size_t count = messages.size();
  Hover(510, 500);  // still nothing under the pointer: said once
  EXPECT_EQ(messages.size(), count);
  EXPECT_EQ(selectionChanges, 0);
}

TEST_F(HoverOverRoom, AddObjectToolShowsWhereAnObjectCanGo) {
  casa->Mode = TCasa::ModeAddObject;
  ExpectHover(200, 100, Qt::ArrowCursor, "");
  ExpectHover(500, 500, Qt::CrossCursor, "Cliquez pour poser un objet ici");
}

TEST_F(HoverOverRoom, CornerOnAnOpeningIsAnnouncedButThePressTakesTheOpening) {
  const int32_t n = plan().AddOpening(3, 900, 450, 0, 0, 0);  // from the corner at (100, 300)
  ExpectHover(102, 300, Qt::SizeAllCursor, "Cliquez pour sélectionner le coin du mur");
  Press(102, 300);
  EXPECT_EQ(plan().Selected(kSelOpening), n);
  Release(102, 300);
  Press(200, 200);  // a room only where nothing else is
  EXPECT_EQ(plan().Selected(kSelRoom), 1);
  Release(200, 200);
}

TEST_F(EditorTest, ResizeChangesOnlyTheViewSize) {
  plan().x0 = 12;
  plan().y0 = 34;
  casa->resize(640, 480);
  EXPECT_EQ(plan().ViewWidth, 640);
  EXPECT_EQ(plan().ViewHeight, 480);
  EXPECT_EQ(plan().x0, 12);
  EXPECT_EQ(plan().y0, 34);
  EXPECT_EQ(plan().zx, 0.1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(casa.get()));
  casa->repaint();  // the next paint draws at the new size
  EXPECT_EQ(casa->Picture().size(), QSize(640, 480));
}

TEST_F(EditorTest, PaintFailureKeepsThePictureAndSaysWhy) {
  plan().AddWall({2000, 3000}, {4000, 3000});
  casa->Paint();
  const QImage before = casa->Picture();
  ASSERT_FALSE(before.isNull());
  plan().zx = plan().zy = 1e9;  // screen coordinates beyond 32 bits
  casa->Paint();
  EXPECT_EQ(LastMessage().rfind("Erreur d'affichage : ", 0), 0u) << LastMessage();
  EXPECT_EQ(casa->Picture(), before);
  plan().zx = plan().zy = 0.1;
  plan().AddWall({2000, 4000}, {4000, 4000});
  casa->Paint();
  EXPECT_NE(casa->Picture(), before);
}

}  // namespace
}  // namespace casavo::testing
