// TfmExporter: the export and print dialog.

#pragma once

#include <QDialog>
#include <cstdint>

#include "ui/sheet_dialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace casavo {

// The export and print dialog: format, paper, scale and what to show, with a
// live preview of the sheet. A scale at which the plan does not fit is
// refused, and the largest standard scale that fits is offered instead.
class TfmExporter : public QDialog {
  Q_OBJECT

 public:
  TfmExporter(TCasaPlan& plan, const ExportRequest& initial, bool print, QWidget* parent = nullptr);

  // The choice the controls show.
  ExportRequest Request() const;

  QComboBox* cbFormat;
  QComboBox* cbResolution;
  QComboBox* cbPapier;
  QComboBox* cbOrientation;
  QComboBox* cbEchelle;
  QCheckBox* cbPieces;
  QCheckBox* cbLongueurs;
  QCheckBox* cbMobilier;
  QCheckBox* cbProblemes;
  // Offered while the plan has a picture traced over.
  QCheckBox* cbCalque;
  QLabel* lApercu;
  QLabel* lRefus;
  QPushButton* bProposee;  // takes the scale offered
  QPushButton* bOk;

  // Redraws the preview from the controls, or says why the sheet is refused.
  void UpdatePreview();

 private:
  void BuildControls(bool print);
  void ShowRequest(const ExportRequest& request);
  void TakeOfferedScale();
  void ShowPrintPreview();

  TCasaPlan& plan_;
  ExportRequest initial_;  // the texts of the title block
  int32_t offeredScale_ = 0;
};

}  // namespace casavo
