// The display switches and the zoom of the "Affichage" section.
#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSlider>

#include "common/numeric.h"
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
