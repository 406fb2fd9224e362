// Tests of the editor's gestures: press, drag and release per tool.

#include "editor_fixture.h"

namespace casavo::testing {
namespace {

const std::string kUndoCoin = "Déplacer un coin";

using Gestures = EditorTest;

// The wall whose two ends show at the given screen y, or 0.
int32_t WallAtScreenY(TCasaPlan& plan, int32_t y) {
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    if (plan.PlanToScreenY(plan.Corners[plan.Walls[w].C1].y) == y &&
        plan.PlanToScreenY(plan.Corners[plan.Walls[w].C2].y) == y)
      return w;
  }
  return 0;
}

TEST_F(Gestures, DrawWallClickWithoutMovingLeavesNothing) {
  casa->Mode = TCasa::ModeDrawWall;
  Press(300, 300);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  EXPECT_EQ(plan().WallCount, 1);  // the wall exists while the button is down
  Release(300, 300);
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_EQ(plan().CornerCount, 0);
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_FALSE(casa->MouseIsDown);
}

TEST_F(Gestures, DrawWallRecordsOneCornerMoveAndTellsThePanelsOnRelease) {
  casa->Mode = TCasa::ModeDrawWall;
  Press(200, 300);
  EXPECT_EQ(selectionChanges, 0);  // not on the press
  EXPECT_FALSE(casa->Moved);
  for (int x = 250; x <= 400; x += 50) Drag(x, 300);
  EXPECT_TRUE(casa->Moved);
  EXPECT_EQ(LastMessage(), "Déplacement du coin du mur");
  Release(400, 300);
  EXPECT_FALSE(casa->Moved);
  EXPECT_EQ(selectionChanges, 1);
  ASSERT_EQ(plan().WallCount, 1);
  ASSERT_EQ(plan().CornerCount, 2);
  EXPECT_EQ(plan().WallLength(1), 2000);
  EXPECT_EQ(plan().Walls[1].epais, plan().DefaultThickness);
  // The clean-up moved the drawing's origin but not the picture.
  EXPECT_EQ(plan().GetBounds().left, 5000);
  EXPECT_EQ(Screen(plan().Walls[1].C1), (TPoint{200, 300}));
  EXPECT_EQ(Screen(plan().Walls[1].C2), (TPoint{400, 300}));
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", kUndoCoin}));
  EXPECT_EQ(casa->UndoSnapshots.size(), 2u);
}

TEST_F(Gestures, AnyMouseButtonDrawsAndSelects) {
  casa->Mode = TCasa::ModeDrawWall;
  Press(200, 300, Qt::RightButton);
  Drag(400, 300, Qt::RightButton);
  Release(400, 300, Qt::RightButton);
  EXPECT_EQ(plan().WallCount, 1);

  // The middle button pans whatever the tool, and selects nothing.
  const int32_t x0 = plan().x0;
  Press(300, 300, Qt::MiddleButton);
  Drag(340, 300, Qt::MiddleButton);
  Release(340, 300, Qt::MiddleButton);
  EXPECT_EQ(plan().Selected(kSelWall), 0);
  EXPECT_EQ(plan().x0, x0 + 40);
  EXPECT_EQ(plan().WallCount, 1);

  // The right button puts an armed tool down.
  casa->ArmTool(TCasa::ModeDrawWall);
  Press(200, 400, Qt::RightButton);
  Release(200, 400, Qt::RightButton);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  EXPECT_EQ(plan().WallCount, 1);
}

TEST_F(Gestures, WallDrawnAcrossAnotherCutsBoth) {
  DrawWallGesture(200, 300, 400, 300);
  DrawWallGesture(300, 200, 300, 400);
  EXPECT_EQ(plan().WallCount, 4);
  EXPECT_EQ(plan().CornerCount, 5);
  // All four pieces meet at the crossing.
  const TIntList atCrossing =
      plan().WallsAtCorner(plan().FindOrAddCorner(plan().ScreenToPlan({300, 300})));
  EXPECT_EQ(atCrossing.Count, 4);
}

TEST_F(Gestures, CornerDroppedNearAnotherLandsOnItAndMerges) {
  // Corners 1 and 2 would pull x alone to 402: landing on a corner wins.
  plan().AddWall({4020, 1000}, {4020, 1500});
  plan().AddWall({2000, 3000}, {4000, 3000});
  plan().AddWall({2000, 4000}, {4000, 4000});
  Press(400, 400);
  const int32_t grabbed = plan().Selected(kSelCorner);
  ASSERT_EQ(grabbed, 6);
  EXPECT_EQ(LastMessage(), "Déplacez le coin du mur");
  Drag(404, 304);
  EXPECT_EQ(Screen(grabbed), (TPoint{400, 300}));
  EXPECT_EQ(plan().PlanToScreen({plan().GuideX, plan().GuideY}), (TPoint{400, 300}));
  Release(404, 304);
  EXPECT_EQ(plan().CornerCount, 5);
  EXPECT_EQ(plan().WallCount, 3);
  const int32_t shared = plan().FindOrAddCorner(plan().ScreenToPlan({400, 300}));
  EXPECT_EQ(plan().WallsAtCorner(shared).Count, 2);
  EXPECT_EQ(casa->UndoLabels.back(), kUndoCoin);
}

TEST_F(Gestures, ShiftHeldOnTheFirstMoveDuplicatesTheWall) {
  DrawWallGesture(200, 300, 400, 300);
  selectionChanges = 0;
  keys->shift = true;
  Press(300, 300);
  EXPECT_EQ(plan().Selected(kSelWall), 1);
  EXPECT_EQ(LastMessage(), "Déplacez le mur. Appuyez sur Shift pour le dupliquer");
  EXPECT_EQ(selectionChanges, 1);
  Drag(300, 350);
  // Two new corners and three new walls: the copy and its two end walls.
  EXPECT_EQ(plan().CornerCount, 4);
  EXPECT_EQ(plan().WallCount, 4);
  EXPECT_EQ(plan().Selected(kSelWall), 4);
  EXPECT_EQ(selectionChanges, 2);
  Drag(300, 360);  // later moves carry the copy only
  EXPECT_EQ(plan().WallCount, 4);
  Release(300, 360);
  EXPECT_EQ(selectionChanges, 3);
  EXPECT_EQ(plan().WallCount, 4);
  EXPECT_GT(WallAtScreenY(plan(), 300), 0);  // the original stays
  EXPECT_GT(WallAtScreenY(plan(), 360), 0);
  for (int32_t w = 1; w <= plan().WallCount; ++w)
    EXPECT_EQ(plan().Walls[w].epais, plan().DefaultThickness);
  EXPECT_EQ(casa->UndoLabels.back(), "Déplacer un mur");
}

TEST_F(Gestures, ShiftPressedOnlyLaterMovesTheWallWithoutCopy) {
  DrawWallGesture(200, 300, 400, 300);
  Press(300, 300);
  Drag(300, 320);
  keys->shift = true;
  Drag(300, 350);
  Release(300, 350);
  EXPECT_EQ(plan().CornerCount, 2);
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_EQ(WallAtScreenY(plan(), 350), 1);
}

TEST_F(Gestures, WallDragLinesUpWithNeighboursAndSquares) {
  // Nearly level: the second end follows the first.
  plan().AddWall({2000, 3000}, {4000, 3030});
  Press(300, 301);
  ASSERT_EQ(plan().Selected(kSelWall), 1);
  Drag(300, 351);
  EXPECT_EQ(Screen(plan().Walls[1].C1), (TPoint{200, 350}));
  EXPECT_EQ(Screen(plan().Walls[1].C2), (TPoint{400, 350}));
  Release(300, 351);

  // Within 5 pixels of a neighbour's x, both ends take it.
  plan().Clear();
  plan().x0 = plan().y0 = 0;
  plan().AddWall({2000, 2000}, {2000, 4000});
  plan().AddWall({2000, 4000}, {5000, 4000});
  Press(200, 300);
  ASSERT_EQ(plan().Selected(kSelWall), 1);
  Drag(497, 300);
  EXPECT_EQ(Screen(plan().Walls[1].C1), (TPoint{500, 200}));
  EXPECT_EQ(Screen(plan().Walls[1].C2), (TPoint{500, 400}));
  Drag(490, 300);  // 10 pixels away: no pull
  EXPECT_EQ(Screen(plan().Walls[1].C1).x, 490);
}

TEST_F(Gestures, ShiftKeepsACornerOnTheAxisItMostlyFollows) {
  keys->shift = true;
  casa->Mode = TCasa::ModeDrawWall;
  Press(200, 300);
  const int32_t end = plan().Selected(kSelCorner);
  Drag(400, 320);  // mostly across: y stays where the corner was
  EXPECT_EQ(plan().Corners[end], (TPoint{4000, 3000}));
  Drag(230, 500);  // mostly down: x stays
  EXPECT_EQ(plan().Corners[end], (TPoint{2000, 5000}));
  keys->shift = false;
  Drag(400, 320);
  EXPECT_EQ(plan().Corners[end], (TPoint{4000, 3200}));
  Release(400, 320);
}

TEST_F(Gestures, ObjectsGroupWithShiftAndLeaveWithCtrl) {
  plan().ShowObjects = true;
  // A loaded plan: groups in use, NextGroup not carried by the file.
  plan().AddObjet(2000, 2000, 600, 600, 0, 0, "a");
  plan().AddObjet(4000, 2000, 600, 600, 0, 5, "b");
  plan().AddObjet(6000, 2000, 600, 600, 0, 5, "c");
  plan().AddObjet(4000, 4000, 600, 600, 0, 2, "d");
  Press(200, 200);
  Release(200, 200);
  ASSERT_EQ(plan().Selected(kSelObject), 1);

  keys->shift = true;
  Press(400, 200);
  Release(400, 200);
  EXPECT_EQ(plan().NextGroup, 6);  // never one of the groups in use
  EXPECT_EQ(plan().Objects[1].groupe, 6);
  EXPECT_EQ(plan().Objects[2].groupe, 6);
  EXPECT_EQ(plan().Objects[3].groupe, 6);  // b's former mate
  EXPECT_EQ(plan().Objects[4].groupe, 2);

  keys->shift = false;
  keys->ctrl = true;
  Press(600, 200);
  Release(600, 200);
  EXPECT_EQ(plan().Objects[3].groupe, -1);
  EXPECT_EQ(plan().Selected(kSelObject), 3);

  keys->ctrl = false;
  Press(400, 200);
  Drag(400, 250);
  Release(400, 250);
  EXPECT_EQ(plan().Objects[2].y, 2500);
  EXPECT_EQ(plan().Objects[1].y, 2500);  // its group mate follows
  EXPECT_EQ(plan().Objects[3].y, 2000);  // the one that left stays
  EXPECT_EQ(plan().Objects[4].y, 4000);
  EXPECT_EQ(casa->UndoLabels.back(), "Déplacer un objet");

  // Shift-click with a fresh counter above every group: the next number.
  plan().NextGroup = 9;
  keys->shift = true;
  Press(400, 400);
  Release(400, 400);
  EXPECT_EQ(plan().Objects[4].groupe, 10);
  EXPECT_EQ(plan().Objects[1].groupe, 10);
}

TEST_F(Gestures, OpeningPlacedOnAShortWallIsClamped) {
  plan().AddWall({3000, 3000}, {3600, 3000});
  casa->Mode = TCasa::ModeAddOpening;
  Press(330, 300);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  ASSERT_EQ(plan().OpeningCount, 1);
  EXPECT_EQ(plan().Openings[1].imur, 1);
  EXPECT_EQ(plan().Openings[1].large, 600);
  EXPECT_EQ(plan().Openings[1].dcoin1, 300);
  EXPECT_EQ(plan().Selected(kSelOpening), 1);
  EXPECT_EQ(selectionChanges, 1);
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Ajout d'une ouverture"}));
  Release(330, 300);
  EXPECT_EQ(selectionChanges, 1);

  casa->Mode = TCasa::ModeAddOpening;
  Press(600, 500);
  Release(600, 500);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  EXPECT_EQ(plan().OpeningCount, 1);
}

TEST_F(Gestures, ObjectPlacedOffWallsFollowsTheDragOfItsPress) {
  plan().ShowObjects = true;
  plan().AddWall({2000, 2000}, {6000, 2000});
  casa->Mode = TCasa::ModeAddObject;
  Press(300, 200);
  Release(300, 200);
  EXPECT_EQ(plan().ObjectCount, 0);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);

  casa->Mode = TCasa::ModeAddObject;
  Press(500, 400);
  EXPECT_EQ(selectionChanges, 0);
  ASSERT_EQ(plan().ObjectCount, 1);
  EXPECT_EQ(plan().Objects[1].nom, "Objet");
  EXPECT_EQ(plan().Objects[1].l, 600);
  EXPECT_EQ(plan().Objects[1].h, 600);
  EXPECT_EQ(plan().Objects[1].groupe, 0);
  Drag(550, 420);
  Release(550, 420);
  EXPECT_EQ(plan().PlanToScreen({plan().Objects[1].x, plan().Objects[1].y}), (TPoint{550, 420}));
  EXPECT_EQ(selectionChanges, 1);
  // Placed and dragged on in one press: one step.
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Ajout d'un objet"}));
}

TEST_F(Gestures, DraggingOnEmptyAreaOrAnOpeningPans) {
  Press(500, 500);
  Drag(530, 540);
  EXPECT_EQ(plan().x0, 30);
  EXPECT_EQ(plan().y0, 40);
  EXPECT_EQ(LastMessage(), "Déplacement du plan");
  Release(530, 540);

  plan().AddWall({2000, 1000}, {6000, 1000});  // at screen y 140 now
  plan().AddOpening(1, 900, 2000, 0, 0, 0);
  Press(430, 140);
  ASSERT_EQ(plan().Selected(kSelOpening), 1);
  Drag(430, 240);
  Release(430, 240);
  EXPECT_EQ(plan().y0, 140);
  EXPECT_EQ(plan().Corners[1], (TPoint{2000, 1000}));
  EXPECT_FALSE(casa->UndoAvailable());
}

TEST_F(Gestures, PendingPanelLabelBecomesOneSnapshotAtTheNextPress) {
  casa->PendingUndoLabel = "Modification objet";
  Press(500, 500);
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Modification objet"}));
  EXPECT_TRUE(casa->PendingUndoLabel.empty());
  Release(500, 500);
  Press(500, 500);
  Release(500, 500);
  EXPECT_EQ(casa->UndoLabels.size(), 2u);
}

TEST_F(Gestures, PanelsHearOfSelectionChangesOnlyWhereTheyHappen) {
  plan().AddWall({2000, 3000}, {4000, 3000});
  Press(500, 500);  // nothing before, nothing after
  Release(500, 500);
  EXPECT_EQ(selectionChanges, 0);
  Press(300, 300);
  EXPECT_EQ(selectionChanges, 1);
  Release(300, 300);  // every wall release, changed or not
  EXPECT_EQ(selectionChanges, 2);
  Press(300, 300);  // the same wall again
  EXPECT_EQ(selectionChanges, 2);
  Release(300, 300);
  EXPECT_EQ(selectionChanges, 3);
  EXPECT_FALSE(casa->UndoAvailable());  // clicks without a move record nothing
  Press(500, 500);
  Release(500, 500);
  EXPECT_EQ(selectionChanges, 4);
  casa->ClearSelection();
  EXPECT_EQ(selectionChanges, 5);
}

TEST_F(Gestures, GestureRefusedOnAFullTableSaysSoAndChangesNothing) {
  for (int32_t k = 1; k < TCasaPlan::kMaxCorners; ++k) plan().AddCorner({100000 + k, 100000});
  casa->Mode = TCasa::ModeDrawWall;
  Press(200, 300);
  EXPECT_EQ(LastMessage(), "Le plan est plein : impossible d'ajouter un mur.");
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  Drag(300, 300);
  Release(300, 300);
  EXPECT_EQ(plan().CornerCount, TCasaPlan::kMaxCorners - 1);
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_EQ(plan().x0, 0);  // the refused press does not pan either
  EXPECT_FALSE(casa->UndoAvailable());
}

TEST_F(Gestures, WallTableRunningOutIsReportedNotThrown) {
  plan().AddWall({3000, 2000}, {3000, 4000});
  const int32_t a = plan().AddCorner({90000, 90000});
  const int32_t b = plan().AddCorner({90000, 91000});
  while (plan().WallCount < TCasaPlan::kMaxWalls - 2) plan().AppendWall(a, b, 100);

  // A copy needs three walls: refused, and the wall stays put for the press.
  keys->shift = true;
  Press(300, 250);
  Drag(350, 250);
  EXPECT_EQ(LastMessage(), "Le plan est plein : impossible de dupliquer le mur.");
  Drag(360, 250);
  Release(360, 250);
  EXPECT_EQ(plan().WallCount, TCasaPlan::kMaxWalls - 2);
  EXPECT_EQ(Screen(plan().Walls[1].C1), (TPoint{300, 200}));
  keys->shift = false;

  // A new wall fits; cutting it and the wall it crosses does not.
  selectionChanges = 0;
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_EQ(LastMessage(), "Le plan est plein : l'opération a été interrompue.");
  EXPECT_EQ(selectionChanges, 1);
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_FALSE(casa->MouseIsDown);
}

TEST_F(Gestures, CornerMovedSlowlyNearAWallSlidesOntoIt) {
  plan().AddWall({2000, 2500}, {6000, 3500});  // crosses x = 300 at y = 275
  plan().AddWall({3000, 1000}, {3000, 2000});
  Press(300, 200);
  const int32_t c = plan().Selected(kSelCorner);
  ASSERT_GT(c, 0);
  for (int y = 202; y <= 272; y += 2) Drag(300, y);
  EXPECT_EQ(plan().Corners[c].x, 3000);  // lined up with its neighbour
  EXPECT_GE(plan().Corners[c].y, 2740);
  EXPECT_LE(plan().Corners[c].y, 2760);
  EXPECT_EQ(plan().GuideY, plan().Corners[c].y);
}

}  // namespace
}  // namespace casavo::testing
