// The commands of the "Fichier" and "Action" sections and the furniture
// command of the hidden panel.
#include <QCheckBox>

#include "ui/aide.h"
#include "ui/main_window.h"

namespace casavo {
namespace {

const QString kServiceMissing = QStringLiteral(
    "Le service en ligne n'est pas disponible : les plans ne peuvent pas être chargés ni "
    "sauvegardés sur Internet pour le moment.");

QString Text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

bool TForm1::OnlineMissing() const {
  if (online_) return false;
  ShowMessageDialog(false, kServiceMissing);
  return true;
}

// Asks before unsaved changes are lost, like every command that replaces the plan.
void TForm1::mlNouveauPlanClick() {
  if (!MaybeSaveChanges()) return;
  ShowEditor();
  ResetPlan();
  Editor->Autosave();
  UpdateTitle();
  Editor->Paint();
  // Hides "Annuler" and the element panels, and disables "Nouveau plan".
  SelectionChange();
  Tips->ShowTip(
      Text("Nouveau plan vierge. Vous pouvez maintenant tracer des murs et des ouvertures."));
}

void TForm1::mlChargerPlanClick() {
  if (!OnlineMissing()) online_->LoadPlanCommand();
}

void TForm1::mlSauverPlanClick() {
  if (!OnlineMissing()) online_->SavePlanCommand();
}

void TForm1::mlAideClick() {
  if (WebViewShown()) {
    ShowEditor();
  } else {
    ShowWebView(false);
  }
}

void TForm1::ShowTool(TCasa::Tool mode, const char* status) {
  ShowEditor();
  Editor->ArmTool(mode);
  Editor->Plan->Message(status);
  FocusPlan();
}

void TForm1::mlTracerMurClick() {
  ShowTool(TCasa::ModeDrawWall, "Cliquez sur le plan et déplacez la souris pour tracer le mur.");
  const bool shown = Tips->ShowTip(
      Text("Pour tracer un mur, cliquez sur le plan puis déplacez la souris en la maintenant "
           "appuyé. L'outil reste actif : Échap ou un clic droit le pose."));
  if (!shown && Editor->Plan->WallCount > 3) {
    Tips->ShowTip(
        Text("Vous pouvez cliquer sur la touche \"M\" du clavier pour tracer un nouveau mur."));
  }
}

void TForm1::mlAjouterOuvertureClick() {
  ShowTool(TCasa::ModeAddOpening, "Cliquez sur un mur du plan pour placer une ouverture.");
  Tips->ShowTip(Editor->Plan->WallCount > 0
                    ? Text("Pour placer une ouverture, cliquez sur un mur du plan.")
                    : Text("Avant de placer une ouverture, vous devez tracer un mur."));
}

void TForm1::mlAjouterObjetClick() {
  Editor->NextModel.clear();
  ShowTool(TCasa::ModeAddObject, "Cliquez sur le plan pour placer un objet.");
  if (!cbVoirObjet->isChecked()) cbVoirObjet->setChecked(true);
  Tips->ShowTip(Text("Pour placer un objet, cliquez sur le plan ou vous souhaitez le poser."));
}

void TForm1::MeubleChoisi(const QString& key) {
  ShowEditor();
  if (!cbVoirObjet->isChecked()) cbVoirObjet->setChecked(true);
  Editor->ArmFurniture(key.toStdString());
  Editor->Plan->Message(
      "Cliquez sur le plan pour poser le meuble ; près d'un mur, il se met contre lui.");
  FocusPlan();
}

void TForm1::mlAnnulerClick() {
  ShowEditor();
  Editor->Undo();
}

void TForm1::mlRetablirClick() {
  ShowEditor();
  Editor->Redo();
}

}  // namespace casavo
