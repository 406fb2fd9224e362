// The display switches and the zoom of the "Affichage" section.
#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSlider>

#include <iterator>

#include "common/numeric.h"
#include "files/file_io.h"
#include "files/settings.h"
#include "render/view.h"
#include "ui/main_window.h"

namespace casavo {

void TForm1::cbVoirClick() {
  if (ApplyingEdit) return;
  cbVoirNomObjet->setVisible(cbVoirObjet->isChecked());
  TCasaPlan& plan = *Editor->Plan;
  plan.ShowDimensions = cbDimension->isChecked();
  plan.ShowProblems = cbProbleme->isChecked();
  plan.ShowRooms = cbPiece->isChecked();
  plan.ShowObjects = cbVoirObjet->isChecked();
  plan.ShowObjectNames = cbVoirNomObjet->isChecked();
  Editor->Paint();
}

void TForm1::cbZoomChange() {
  if (ApplyingEdit) return;
  lZoom->SetCaption(ZoomAbout(*Editor->Plan, tbZoom->value()));
  Editor->Paint();
}

void TForm1::mlAjusterClick() {
  ShowEditor();
  Editor->FitPlan();
  FocusPlan();
}

namespace {

// The display switches by their settings keys, in the order they are stored.
constexpr const char* kDisplayKeys[] = {"VoirDimensions", "VoirPieces", "VoirProblemes",
                                        "VoirMeubles"};
constexpr char kZoomKey[] = "Zoom";

}  // namespace

void TForm1::RestoreDisplay() {
  QCheckBox* boxes[] = {cbDimension, cbPiece, cbProbleme, cbVoirObjet};
  for (size_t i = 0; i < std::size(boxes); ++i) {
    const std::string value = ReadSetting(kDisplayKeys[i]);
    if (!value.empty()) boxes[i]->setChecked(value == "1");
  }
  // Applies the switches to the plan even when none was stored.
  cbVoirClick();
  bool ok = false;
  const double zoom = QString::fromStdString(ReadSetting(kZoomKey)).toDouble(&ok);
  if (ok && zoom > 0) SetZoom(zoom);
}

void TForm1::RememberDisplay() {
  if (!shown_ || AppFolder().empty()) return;
  const QCheckBox* boxes[] = {cbDimension, cbPiece, cbProbleme, cbVoirObjet};
  try {
    for (size_t i = 0; i < std::size(boxes); ++i)
      WriteSetting(kDisplayKeys[i], boxes[i]->isChecked() ? "1" : "0");
    WriteSetting(kZoomKey, QString::number(Editor->Plan->zx, 'g', 6).toStdString());
  } catch (const FileError&) {
    // The settings reporter has said why; the display itself is not lost.
  }
}

void TForm1::lZoomClick() {
  tbZoom->setValue(100);
}

void TForm1::SetZoom(double f) {
  const int32_t position = RoundToInt(static_cast<long double>(f) * 1000);
  casavo::SetZoom(*Editor->Plan, f);
  QScopedValueRollback<bool> applying(ApplyingEdit, true);
  // The slider keeps the position within its range; the label shows it whole.
  tbZoom->setValue(position);
  lZoom->SetCaption(ZoomLabelText(position));
}

}  // namespace casavo
