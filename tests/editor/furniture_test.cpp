// Tests of furniture in the editor: placement, magnetism, turns, copy and paste, undo steps.
#include "editor_fixture.h"
#include "files/plan_xml.h"

namespace casavo::testing {
namespace {

// At 10 mm per pixel: pixel (x, y) is plan point (10x, 10y).
class Furniture : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    plan().ShowObjects = true;
  }
  TObjet& Objet(int32_t k) { return plan().Objects[k]; }
  void Click(int32_t k) {
    const TPoint s = plan().PlanToScreen({Objet(k).x, Objet(k).y});
    Press(s.x, s.y);
    Release(s.x, s.y);
  }
};

// A 90 × 200 bed dragged, turned across, to 10 cm from a wall face comes to
// rest with its head flat against the face, turned to face away from it.
TEST_F(Furniture, BedDraggedNearAWallRestsAgainstIt) {
  struct Case {
    TPoint a, b;        // the wall, 200 mm thick
    TPoint start, end;  // the bed's centre before and after the drag (at angle 90 or 0)
    int32_t angle;      // the bed's angle at rest
    TPoint rest;        // its centre at rest
  };
  // Wall above the room, face at y 5100; wall on its left, face at x 5100.
  // Their first corner is where the clean-up keeps the plan's top left.
  const Case cases[] = {
      {{5000, 5000}, {11000, 5000}, {8000, 8000}, {8000, 5100 + 100 + 450}, 0, {8000, 6100}},
      {{5000, 5000}, {5000, 8500}, {8000, 7000}, {5100 + 100 + 450, 7000}, 270, {6100, 7000}},
  };
  // The view shows plan x 3000 to 11000, y 3000 to 9000.
  plan().x0 = plan().y0 = -300;
  for (const Case& c : cases) {
    plan().Clear();
    plan().AddWallOfThickness(c.a, c.b, 200);
    const int32_t start = c.angle == 0 ? 90 : 0;  // across the wall's way
    const int32_t bed = plan().AddObjet(c.start.x, c.start.y, 900, 2000, start, 0, "Lit 90");
    Objet(bed).modele = "lit90";
    casa->Paint();
    const TPoint from = plan().PlanToScreen(c.start);
    const TPoint to = plan().PlanToScreen(c.end);
    DragFromTo(from.x, from.y, to.x, to.y);
    EXPECT_EQ(Objet(bed).a, c.angle);
    EXPECT_EQ(Objet(bed).x, c.rest.x);
    EXPECT_EQ(Objet(bed).y, c.rest.y);
    EXPECT_EQ(casa->UndoLabels.back(), "Déplacer un objet");
  }
  // Far from the wall it moves freely and keeps its angle.
  const TPoint from = plan().PlanToScreen({Objet(1).x, Objet(1).y});
  DragFromTo(from.x, from.y, from.x + 200, from.y);
  EXPECT_EQ(Objet(1).x, 8100);
  EXPECT_EQ(Objet(1).a, 270);
}

TEST_F(Furniture, ChosenModelIsPlacedOnceAsOneStep) {
  casa->ArmFurniture("lit140");
  DragFromTo(300, 300, 320, 310);  // a placement, dragged on in the same press
  ASSERT_EQ(plan().ObjectCount, 1);
  EXPECT_EQ(Objet(1).modele, "lit140");
  EXPECT_EQ(Objet(1).nom, "Lit 140");
  EXPECT_EQ(std::tie(Objet(1).l, Objet(1).h), std::make_tuple(1400, 1900));
  EXPECT_EQ(std::tie(Objet(1).x, Objet(1).y), std::make_tuple(3200, 3100));
  EXPECT_EQ(casa->UndoLabels, (std::vector<std::string>{"Nouveau plan", "Ajout d'un objet"}));
  // The next press selects: nothing more is placed.
  Press(600, 500);
  Release(600, 500);
  EXPECT_EQ(plan().ObjectCount, 1);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
}

// R turns by a quarter, Maj+R by 15°, each one step; a group turns about
// the selected object.
TEST_F(Furniture, RTurnsTheSelection) {
  plan().AddObjet(3000, 3000, 1600, 900, 0, 2, "Table");
  plan().AddObjet(3000, 2300, 450, 500, 350, 2, "Chaise");
  Click(1);
  casa->KeyDown(Qt::Key_R, Qt::NoModifier);
  EXPECT_EQ(Objet(1).a, 90);
  EXPECT_EQ(Objet(2).a, 80);
  EXPECT_EQ(std::tie(Objet(2).x, Objet(2).y), std::make_tuple(3700, 3000));
  casa->KeyDown(Qt::Key_R, Qt::ShiftModifier);
  EXPECT_EQ(Objet(1).a, 105);
  EXPECT_EQ(Objet(2).a, 95);
  EXPECT_EQ(casa->UndoLabels.size(), 3u);
  casa->KeyDown(Qt::Key_R, Qt::ControlModifier);  // not a turn
  EXPECT_EQ(Objet(1).a, 105);
  casa->Undo();
  EXPECT_EQ(Objet(1).a, 90);
}

// Each paste adds one object per object copied, all in one group that no
// object had before; the originals stay as they were.
TEST_F(Furniture, PasteMakesANewGroup) {
  plan().AddObjet(3000, 3000, 1600, 900, 0, 4, "Table");
  plan().AddObjet(3000, 2300, 450, 500, 0, 4, "Chaise");
  plan().AddObjet(6000, 3000, 600, 600, 0, 0, "Caisse");
  Objet(1).modele = "table";
  const std::string before = WritePlanXml(plan());
  Click(2);
  casa->KeyDown(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(WritePlanXml(plan()), before);
  for (const int32_t paste : {1, 2}) {
    casa->KeyDown(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(plan().ObjectCount, 3 + 2 * paste);
    const TObjet& a = Objet(2 + 2 * paste);
    const TObjet& b = Objet(3 + 2 * paste);
    EXPECT_GT(a.groupe, 0);
    EXPECT_EQ(a.groupe, b.groupe);
    for (int32_t i = 1; i < 2 + 2 * paste; ++i) EXPECT_NE(Objet(i).groupe, a.groupe);
    EXPECT_EQ(a.modele, "table");
    EXPECT_EQ(a.x, 3000 + 300 * paste);
    EXPECT_EQ(plan().Selected(kSelObject), 2 + 2 * paste);
  }
  EXPECT_EQ(casa->UndoLabels.back(), "Coller");
  EXPECT_EQ(casa->UndoLabels.size(), 3u);
}

}  // namespace
}  // namespace casavo::testing
