// Tests of the editor's keyboard commands.

#include "editor_fixture.h"
#include "files/plan_xml.h"

namespace casavo::testing {
namespace {

using Keys = EditorTest;

TEST_F(Keys, DeleteAsksFirstAndNoChangesNothing) {
  plan().AddWall({2000, 3000}, {6000, 3000});
  plan().AddOpening(1, 900, 1000, 0, 0, 0);
  Press(500, 300);
  Release(500, 300);
  ASSERT_EQ(plan().Selected(kSelWall), 1);
  const int changes = selectionChanges;
  const std::string before = WritePlanXml(plan());

  dialogs->answers = {false};
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  ASSERT_EQ(dialogs->asked.size(), 1u);
  EXPECT_EQ(dialogs->asked[0], QString::fromUtf8("Etes vous sur de supprimer ce mur ?"));
  EXPECT_EQ(WritePlanXml(plan()), before);
  EXPECT_EQ(plan().Selected(kSelWall), 1);
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_EQ(selectionChanges, changes);

  dialogs->answers = {true};
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_EQ(plan().OpeningCount, 0);  // the wall's openings go with it
  EXPECT_EQ(plan().SelKind, kSelNothing);
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Supprimer un mur"}));
  EXPECT_EQ(selectionChanges, changes + 1);
}

TEST_F(Keys, DeleteTakesOpeningsAndObjectsButNotCornersOrRooms) {
  plan().AddWall({2000, 3000}, {6000, 3000});
  plan().AddOpening(1, 900, 1000, 0, 0, 0);
  plan().AddObjet(5000, 5000, 600, 600, 0, 0, "Objet");

  // No question at all: the scripted dialog fails the test if asked.
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  plan().SetSelection(1, kSelCorner);
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  plan().SetSelection(1, kSelRoom);
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  EXPECT_EQ(plan().CornerCount, 2);
  EXPECT_TRUE(dialogs->asked.empty());

  dialogs->answers = {true, true};
  plan().SetSelection(1, kSelOpening);
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  plan().SetSelection(1, kSelObject);
  QTest::keyClick(casa.get(), Qt::Key_Delete);
  EXPECT_EQ(plan().OpeningCount, 0);
  EXPECT_EQ(plan().ObjectCount, 0);
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_EQ(dialogs->asked,
            (std::vector<QString>{QString::fromUtf8("Etes vous sur de supprimer cette ouverture ?"),
                                  QString::fromUtf8("Etes vous sur de supprimer cet objet ?")}));
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Supprimer une ouverture",
                                                        "Supprimer un objet"}));
  EXPECT_EQ(selectionChanges, 2);
}

TEST_F(Keys, MStartsAWallWithGuidesBeforeTheMouseMoves) {
  plan().AddCorner({2500, 1000});
  Hover(252, 300);
  casa->Paint();
  const QImage before = casa->Picture();
  QTest::keyClick(casa.get(), Qt::Key_M);
  EXPECT_EQ(casa->Mode, TCasa::ModeDrawWall);
  EXPECT_EQ(casa->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(plan().GuideX, 2500);
  EXPECT_TRUE(casa->Moved);
  EXPECT_NE(casa->Picture(), before);

  // Shift+M is still the letter; Ctrl or Alt make it a window shortcut.
  const std::pair<Qt::KeyboardModifiers, TCasa::Tool> cases[] = {
      {Qt::ShiftModifier, TCasa::ModeDrawWall},
      {Qt::ControlModifier, TCasa::ModeSelect},
      {Qt::AltModifier, TCasa::ModeSelect},
  };
  for (const auto& [modifiers, mode] : cases) {
    casa->Mode = TCasa::ModeSelect;
    QTest::keyClick(casa.get(), Qt::Key_M, modifiers);
    EXPECT_EQ(casa->Mode, mode) << modifiers.toInt();
    QTest::keyClick(casa.get(), Qt::Key_O, modifiers);
    EXPECT_EQ(casa->Mode, mode == TCasa::ModeSelect ? mode : TCasa::ModeAddOpening)
        << modifiers.toInt();
  }
}

TEST_F(Keys, CtrlZUndoesOnlyWhileSomethingCanBeUndone) {
  DrawWallGesture(200, 300, 400, 300);
  const int32_t x0 = plan().x0;
  DrawWallGesture(100, 400, 400, 500);  // further left: the origin moves
  EXPECT_NE(plan().x0, x0);
  EXPECT_TRUE(casa->UndoAvailable());
  EXPECT_EQ(casa->UndoLabels.back(), "Déplacer un coin");
  EXPECT_EQ(plan().WallCount, 2);

  QTest::keyClick(casa.get(), Qt::Key_Z);
  EXPECT_EQ(plan().WallCount, 2);
  selectionChanges = 0;
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_EQ(plan().x0, x0);  // the view of the snapshot comes back too
  EXPECT_EQ(plan().SelKind, kSelNothing);
  EXPECT_EQ(selectionChanges, 1);
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_FALSE(casa->UndoAvailable());
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_EQ(casa->UndoLabels.size(), 1u);
}

}  // namespace
}  // namespace casavo::testing
