// The panels of the selected element: filled when the selection changes,
// written back into the plan when the user edits them.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/numeric.h"
#include "editor/messages.h"
#include "files/plan_xml.h"
#include "ui/main_window.h"
#include "ui/room_palette.h"

namespace casavo {
namespace {

const QColor kRoomWithoutColour{230, 230, 230};

// The far corners of the walls at `end` that stand square to the run: they
// move with the end. A wall at a slant is left to turn.
std::vector<int32_t> SquareNeighbours(const TCasaPlan& plan, const WallRun& run, int32_t end) {
  const TPoint a = plan.Corners[run.EndA()], b = plan.Corners[run.EndB()];
  const double rx = double(b.x) - a.x, ry = double(b.y) - a.y;
  const double runLength = std::hypot(rx, ry);
  std::vector<int32_t> corners;
  const TIntList walls = plan.WallsAtCorner(end);
  for (int32_t i = 1; i <= walls.Count && runLength > 0; ++i) {
    const TWall& wall = plan.Walls[walls[i]];
    if (std::find(run.walls.begin(), run.walls.end(), walls[i]) != run.walls.end()) continue;
    const int32_t far = wall.C1 == end ? wall.C2 : wall.C1;
    const double wx = double(plan.Corners[far].x) - plan.Corners[end].x;
    const double wy = double(plan.Corners[far].y) - plan.Corners[end].y;
    const double wallLength = std::hypot(wx, wy);
    // Square within a tenth of a degree.
    if (wallLength > 0 && std::fabs(rx * wx + ry * wy) / (runLength * wallLength) < 0.002)
      corners.push_back(far);
  }
  return corners;
}

bool FromA(const QComboBox* pointAB) {
  return pointAB->currentIndex() != 1;
}

QString ToQString(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

void TForm1::SelectionChange() {
  if (ApplyingEdit) return;
  TCasaPlan& plan = *Editor->Plan;
  {
    QScopedValueRollback<bool> filling(FillingPanels, true);
    mlNouveauPlan->setEnabled(plan.WallCount > 0);
    UpdateHistoryCommands();

    pTrou->setHidden(plan.Selected(kSelOpening) == 0);
    pMur->setHidden(plan.Selected(kSelWall) == 0);
    pObjet->setHidden(plan.Selected(kSelObject) == 0);
    pPiece->setHidden(plan.Selected(kSelRoom) == 0);
    pCoin->setHidden(plan.Selected(kSelCorner) == 0);

    if (const int32_t k = plan.Selected(kSelOpening)) FillOpeningPanel(k);
    if (const int32_t w = plan.Selected(kSelWall)) FillWallPanel(w);
    if (const int32_t o = plan.Selected(kSelObject)) FillObjectPanel(o);
    if (const int32_t r = plan.Selected(kSelRoom)) FillRoomPanel(r);
    if (const int32_t c = plan.Selected(kSelCorner)) FillCornerPanel(c);
  }
  SideMenu->Layout(false);
  // The panel of the selection comes under "Fichier" and "Affichage": bring it into view.
  for (QWidget* panel : {pMur, pTrou, pCoin, pObjet, pPiece}) {
    if (!panel->isHidden()) SideMenu->ensureWidgetVisible(panel, 0, 0);
  }
}

void TForm1::FillOpeningPanel(int32_t k) {
  const TCasaPlan& plan = *Editor->Plan;
  const TOpening& opening = plan.Openings[k];
  // An opening lies within its wall: so does what the user may type.
  const double wallLength = plan.WallLength(opening.imur);
  ueTroudCoin1->SetValueMin(0);
  ueTroudCoin1->SetValueMax(wallLength);
  ueTrouLarge->SetValueMax(std::max(wallLength, ueTrouLarge->ValueMin()));
  ueTrouLarge->SetValue(opening.large);
  // Wide enough that no sum overflows; the field clamps what it shows.
  const int64_t half = opening.large / 2;
  const int64_t fromA = int64_t{opening.dcoin1} - half;
  ueTroudCoin1->SetValue(static_cast<double>(
      FromA(cbTrouPointAB) ? fromA
                           : int64_t{plan.WallLength(opening.imur)} - opening.dcoin1 - half));
  // A type or shutter code that the lists do not know shows no choice (and
  // TrouChange then keeps it).
  int type = -1;
  for (size_t row = 0; row < OpeningTypes.size() && type < 0; ++row) {
    if (OpeningTypes[row].code == opening.sorte) type = static_cast<int>(row);
  }
  cbTrouSorte->setCurrentIndex(type);
  cbTrouCote->setChecked(opening.cote == 1);
  cbTrouVolet->setCurrentIndex(opening.volet);
}

void TForm1::FillWallPanel(int32_t w) {
  TCasaPlan& plan = *Editor->Plan;
  const TWall& wall = plan.Walls[w];
  const WallRun run = SelectedRun(w);
  ueMurLong->SetValue(Distance(plan.Corners[run.EndA()], plan.Corners[run.EndB()]));
  ueMurEpais->SetValue(wall.epais);
  // The next wall drawn gets the thickness of the wall last selected.
  plan.DefaultThickness = wall.epais;
}

// A corner's place, from the plan's first corner, in the user's unit.
void TForm1::FillCornerPanel(int32_t c) {
  const TCasaPlan& plan = *Editor->Plan;
  ueCoinX->SetValue(double(plan.Corners[c].x) - plan.Corners[1].x);
  ueCoinY->SetValue(double(plan.Corners[c].y) - plan.Corners[1].y);
}

void TForm1::CoinChange() {
  if (FillingPanels) return;
  TCasaPlan& plan = *Editor->Plan;
  const int32_t c = plan.Selected(kSelCorner);
  if (c == 0) return;
  {
    QScopedValueRollback<bool> applying(ApplyingEdit, true);
    const TPoint first = plan.Corners[1];
    plan.Corners[c] = {CheckedAdd(first.x, ueCoinX->ValueInt()),
                       CheckedAdd(first.y, ueCoinY->ValueInt())};
    plan.CleanUpAfterCornerMove(c);
  }
  Editor->Paint();
  Editor->PushUndo(Msg("CASA_UNDO_COIN"));
  SelectionChange();
}

void TForm1::FillObjectPanel(int32_t o) {
  const TObjet& objet = Editor->Plan->Objects[o];
  eObjetNom->setText(ToQString(objet.nom));
  ueObjetL->SetValue(objet.l);
  ueObjetH->SetValue(objet.h);
  seObjetA->setValue(objet.a);
}

void TForm1::FillRoomPanel(int32_t r) {
  const TCasaPlan& plan = *Editor->Plan;
  ePieceNom->setText(ToQString(plan.RoomName(r)));
  const int kind = cbPieceSorte->findText(ToQString(plan.RoomKind(r)), Qt::MatchFixedString);
  cbPieceSorte->setCurrentIndex(kind < 0 ? 0 : kind);
  const std::string colour = plan.RoomColour(r);
  sPieceCouleur->SetColour(colour.empty() ? kRoomWithoutColour
                                          : QColor::fromRgb(TextToColour(colour)));
}

// Each edit of the wall and opening panels is an undo step of its own.
void TForm1::TrouChange() {
  if (FillingPanels) return;
  const TCasaPlan& plan = *Editor->Plan;
  if (const int32_t k = plan.Selected(kSelOpening)) {
    ApplyOpeningEdit(k);
    Editor->Paint();
    Editor->PushUndo("Modification ouverture");
    // Shows the values as the wall clamped them.
    SelectionChange();
  } else if (const int32_t w = plan.Selected(kSelWall)) {
    ApplyWallEdit(w);
    Editor->Paint();
    Editor->PushUndo("Modification mur");
  }
}

void TForm1::ApplyOpeningEdit(int32_t k) {
  QScopedValueRollback<bool> applying(ApplyingEdit, true);
  TCasaPlan& plan = *Editor->Plan;
  TOpening& opening = plan.Openings[k];
  const int32_t large = ueTrouLarge->ValueInt();
  const int32_t distance = ueTroudCoin1->ValueInt();
  // Computed before anything is written, so that an overflow changes nothing.
  const int32_t dcoin1 =
      FromA(cbTrouPointAB)
          ? CheckedAdd(distance, large / 2)
          : CheckedSub(CheckedSub(plan.WallLength(opening.imur), distance), large / 2);
  opening.large = large;
  opening.dcoin1 = dcoin1;
  if (const int row = cbTrouSorte->currentIndex(); row >= 0) opening.sorte = OpeningTypes[row].code;
  // The next opening placed takes this kind.
  Editor->NextOpeningSorte = opening.sorte;
  opening.cote = cbTrouCote->isChecked() ? 1 : 0;
  if (cbTrouVolet->currentIndex() >= 0) opening.volet = cbTrouVolet->currentIndex();
  // One pass fixes one thing (the width, then the position): repeat until the
  // opening lies wholly inside its wall.
  while (plan.ClampOpening(k)) {
  }
}

// The whole straight run the user selected: the piece alone when it was
// picked with Ctrl.
WallRun TForm1::SelectedRun(int32_t w) const {
  const TCasaPlan& plan = *Editor->Plan;
  if (plan.SelectedRun.Count == 0) return WallRun{{w}, {plan.Walls[w].C1, plan.Walls[w].C2}};
  return FindWallRun(plan, w);
}

// The chosen end keeps its place and the wall its direction; the other end
// moves to the typed length, and the walls square to the wall at that end
// move with it so that a room stays square.
void TForm1::ApplyWallEdit(int32_t w) {
  QScopedValueRollback<bool> applying(ApplyingEdit, true);
  TCasaPlan& plan = *Editor->Plan;
  const WallRun run = SelectedRun(w);
  const bool fromA = FromA(cbMurPointAB);
  const int32_t fixed = fromA ? run.EndA() : run.EndB();
  const int32_t moving = fromA ? run.EndB() : run.EndA();
  const TPoint origin = plan.Corners[fixed];
  const TPoint before = plan.Corners[moving];
  const double angle = Angle(origin, before);
  const TPoint along{CheckedAdd(origin.x, ueMurLong->ValueInt()), origin.y};
  const TPoint after = Rotate(along, origin, angle);
  const TPoint shift{CheckedSub(after.x, before.x), CheckedSub(after.y, before.y)};
  for (const int32_t square : SquareNeighbours(plan, run, moving)) {
    TPoint& far = plan.Corners[square];
    far = {CheckedAdd(far.x, shift.x), CheckedAdd(far.y, shift.y)};
  }
  plan.Corners[moving] = after;
  const int32_t thickness = ueMurEpais->ValueInt();
  for (const int32_t piece : run.walls) plan.Walls[piece].epais = thickness;
}

void TForm1::ObjetChange() {
  if (FillingPanels) return;
  const int32_t o = Editor->Plan->Selected(kSelObject);
  if (o == 0) return;
  {
    QScopedValueRollback<bool> applying(ApplyingEdit, true);
    TObjet& objet = Editor->Plan->Objects[o];
    objet.l = ueObjetL->ValueInt();
    objet.h = ueObjetH->ValueInt();
    objet.a = seObjetA->value();
    objet.nom = eObjetNom->text().toStdString();
  }
  Editor->PendingUndoLabel = "Modification objet";
  Editor->Paint();
}

// Name, type and colour are written together, whichever control changed.
void TForm1::PieceChange() {
  if (FillingPanels) return;
  TCasaPlan& plan = *Editor->Plan;
  const int32_t r = plan.Selected(kSelRoom);
  if (r == 0) return;
  {
    QScopedValueRollback<bool> applying(ApplyingEdit, true);
    const std::string& key = plan.Rooms[r].hash;
    plan.RoomNames.SetValue(key, ePieceNom->text().toStdString());
    plan.RoomKinds.SetValue(key, cbPieceSorte->currentText().toStdString());
    plan.RoomColours.SetValue(key, ColourToText(sPieceCouleur->Colour().rgb() & 0xFFFFFF));
  }
  Editor->PendingUndoLabel = "Modification pièce";
  Editor->Paint();
}

// The soft colours first; the full dialog behind "Autre couleur…".
void TForm1::sPieceCouleurMouseDown() {
  const auto apply = [this](const QColor& colour) {
    sPieceCouleur->SetColour(colour);
    PieceChange();
    Editor->CommitPendingUndo();
  };
  auto* palette = new RoomPalettePopup(this, sPieceCouleur->Colour(), apply, [this, apply] {
    if (const std::optional<QColor> chosen = dialogs_->PickColour(sPieceCouleur->Colour()))
      apply(*chosen);
  });
  palette->PopUpUnder(sPieceCouleur);
}

// A room without a name is named after its type.
void TForm1::cbPieceSorteChange() {
  if (!FillingPanels && cbPieceSorte->currentIndex() > 0 && ePieceNom->text().trimmed().isEmpty()) {
    QScopedValueRollback<bool> filling(FillingPanels, true);
    ePieceNom->setText(cbPieceSorte->currentText().simplified());
  }
  PieceChange();
  Editor->CommitPendingUndo();
}

void TForm1::FocusPlan() {
  Editor->setFocus(Qt::OtherFocusReason);
}

}  // namespace casavo
