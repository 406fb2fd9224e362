// The panels of the selected element: filled when the selection changes,
// written back into the plan when the user edits them.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <algorithm>

#include "common/numeric.h"
#include "files/plan_xml.h"
#include "ui/main_window.h"

namespace casavo {
namespace {

const QColor kRoomWithoutColour{230, 230, 230};

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

    const bool nothing = plan.SelIndex == 0;
    pFichier->setHidden(!nothing);
    pAffichage->setHidden(!nothing);
    pTrou->setHidden(plan.Selected(kSelOpening) == 0);
    pMur->setHidden(plan.Selected(kSelWall) == 0);
    pObjet->setHidden(plan.Selected(kSelObject) == 0);
    pPiece->setHidden(plan.Selected(kSelRoom) == 0);

    if (const int32_t k = plan.Selected(kSelOpening)) FillOpeningPanel(k);
    if (const int32_t w = plan.Selected(kSelWall)) FillWallPanel(w);
    if (const int32_t o = plan.Selected(kSelObject)) FillObjectPanel(o);
    if (const int32_t r = plan.Selected(kSelRoom)) FillRoomPanel(r);
  }
  SideMenu->Layout(false);
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
  ueMurLong->SetValue(Distance(plan.Corners[wall.C1], plan.Corners[wall.C2]));
  ueMurEpais->SetValue(wall.epais);
  // The next wall drawn gets the thickness of the wall last selected.
  plan.DefaultThickness = wall.epais;
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
  opening.cote = cbTrouCote->isChecked() ? 1 : 0;
  if (cbTrouVolet->currentIndex() >= 0) opening.volet = cbTrouVolet->currentIndex();
  // One pass fixes one thing (the width, then the position): repeat until the
  // opening lies wholly inside its wall.
  while (plan.ClampOpening(k)) {
  }
}

// The chosen end keeps its place and the wall its direction; the other end
// moves to the typed length.
void TForm1::ApplyWallEdit(int32_t w) {
  QScopedValueRollback<bool> applying(ApplyingEdit, true);
  TCasaPlan& plan = *Editor->Plan;
  TWall& wall = plan.Walls[w];
  const bool fromA = FromA(cbMurPointAB);
  const int32_t fixed = fromA ? wall.C1 : wall.C2;
  const int32_t moving = fromA ? wall.C2 : wall.C1;
  const TPoint origin = plan.Corners[fixed];
  const double angle = Angle(origin, plan.Corners[moving]);
  const TPoint along{CheckedAdd(origin.x, ueMurLong->ValueInt()), origin.y};
  plan.Corners[moving] = Rotate(along, origin, angle);
  wall.epais = ueMurEpais->ValueInt();
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

void TForm1::sPieceCouleurMouseDown() {
  const std::optional<QColor> chosen = dialogs_->PickColour(sPieceCouleur->Colour());
  if (!chosen) return;
  sPieceCouleur->SetColour(*chosen);
  PieceChange();
  Editor->CommitPendingUndo();
}

void TForm1::cbPieceSorteChange() {
  PieceChange();
  Editor->CommitPendingUndo();
}

void TForm1::FocusPlan() {
  Editor->setFocus(Qt::OtherFocusReason);
}

}  // namespace casavo
