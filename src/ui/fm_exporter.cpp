// TfmExporter: the export and print dialog with its preview.

#include "ui/fm_exporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace casavo {

namespace {

constexpr int kPreviewWidth = 480;
constexpr int kPreviewHeight = 340;
constexpr double kMmPerInch = 25.4;

QComboBox* Combo(const std::vector<std::pair<QString, int>>& items) {
  auto* combo = new QComboBox;
  for (const auto& [text, value] : items) combo->addItem(text, value);
  return combo;
}

void Select(QComboBox* combo, int value) {
  const int index = combo->findData(value);
  if (index >= 0) combo->setCurrentIndex(index);
}

int Value(const QComboBox* combo) {
  return combo->currentData().toInt();
}

// The resolution at which the whole page fits the preview.
int32_t PreviewDpi(QSizeF pageMm) {
  const double dpi = std::min(kPreviewWidth / (pageMm.width() / kMmPerInch),
                              kPreviewHeight / (pageMm.height() / kMmPerInch));
  return std::max(1, static_cast<int32_t>(dpi));
}

}  // namespace

TfmExporter::TfmExporter(TCasaPlan& plan, const ExportRequest& initial, bool print, QWidget* parent)
    : QDialog(parent), plan_(plan), initial_(initial) {
  setWindowTitle(print ? QStringLiteral("Imprimer le plan") : QStringLiteral("Exporter le plan"));
  BuildControls(print);
  ShowRequest(initial);
  for (QComboBox* combo : {cbFormat, cbResolution, cbPapier, cbOrientation, cbEchelle})
    connect(combo, &QComboBox::currentIndexChanged, this, &TfmExporter::UpdatePreview);
  for (QCheckBox* box : {cbPieces, cbLongueurs, cbMobilier, cbProblemes, cbCalque})
    connect(box, &QCheckBox::toggled, this, &TfmExporter::UpdatePreview);
  connect(bProposee, &QPushButton::clicked, this, &TfmExporter::TakeOfferedScale);
  UpdatePreview();
}

void TfmExporter::BuildControls(bool print) {
  cbFormat = Combo({{QStringLiteral("PDF"), int(ExportFormat::kPdf)},
                    {QStringLiteral("SVG"), int(ExportFormat::kSvg)},
                    {QStringLiteral("PNG"), int(ExportFormat::kPng)},
                    {QStringLiteral("CSV (liste des pièces)"), int(ExportFormat::kCsv)}});
  cbResolution =
      Combo({{QStringLiteral("150 dpi"), 150}, {QStringLiteral("300 dpi (impression)"), 300}});
  cbPapier = Combo({{QStringLiteral("A4"), int(Paper::kA4)},
                    {QStringLiteral("A3"), int(Paper::kA3)},
                    {QStringLiteral("Letter"), int(Paper::kLetter)}});
  cbOrientation = Combo({{QStringLiteral("Automatique"), int(Orientation::kAuto)},
                         {QStringLiteral("Portrait"), int(Orientation::kPortrait)},
                         {QStringLiteral("Paysage"), int(Orientation::kLandscape)}});
  std::vector<std::pair<QString, int>> scales;
  for (int32_t scale : kStandardScales) scales.emplace_back(ScaleText(scale), scale);
  scales.emplace_back(QStringLiteral("Ajuster à la page"), kFitToPage);
  cbEchelle = Combo(scales);
  cbPieces = new QCheckBox(QStringLiteral("Pièces"));
  cbLongueurs = new QCheckBox(QStringLiteral("Longueurs des murs"));
  cbMobilier = new QCheckBox(QStringLiteral("Mobilier"));
  cbProblemes = new QCheckBox(QStringLiteral("Problèmes"));
  cbCalque = new QCheckBox(QStringLiteral("Inclure le calque"));
  cbCalque->setToolTip(QStringLiteral("Le plan à décalquer sous le dessin"));

  auto* form = new QFormLayout;
  if (!print) {
    form->addRow(QStringLiteral("Format :"), cbFormat);
    form->addRow(QStringLiteral("Résolution :"), cbResolution);
  } else {
    cbFormat->hide();
    cbResolution->hide();
  }
  form->addRow(QStringLiteral("Papier :"), cbPapier);
  form->addRow(QStringLiteral("Orientation :"), cbOrientation);
  form->addRow(QStringLiteral("Échelle :"), cbEchelle);
  for (QCheckBox* box : {cbPieces, cbLongueurs, cbMobilier, cbProblemes}) form->addRow(box);
  form->addRow(cbCalque);
  cbCalque->setVisible(plan_.Trace.Present() && !initial_.options.tracingPicture.isNull());

  lRefus = new QLabel;
  lRefus->setWordWrap(true);
  lRefus->setStyleSheet(QStringLiteral("color: #b00000"));
  bProposee = new QPushButton;
  form->addRow(lRefus);
  form->addRow(bProposee);

  lApercu = new QLabel;
  lApercu->setFixedSize(kPreviewWidth, kPreviewHeight);
  lApercu->setAlignment(Qt::AlignCenter);
  lApercu->setStyleSheet(QStringLiteral("background: #808080"));

  auto* buttons = new QDialogButtonBox;
  bOk = buttons->addButton(print ? QStringLiteral("Imprimer…") : QStringLiteral("Exporter…"),
                           QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  if (print) {
    QPushButton* preview = buttons->addButton(QStringLiteral("Aperçu avant impression…"),
                                              QDialogButtonBox::ActionRole);
    connect(preview, &QPushButton::clicked, this, &TfmExporter::ShowPrintPreview);
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addLayout(form);
  columns->addWidget(lApercu);
  auto* page = new QVBoxLayout(this);
  page->addLayout(columns);
  page->addWidget(buttons);
}

void TfmExporter::ShowRequest(const ExportRequest& request) {
  const SheetOptions& o = request.options;
  Select(cbFormat, int(request.format));
  Select(cbResolution, request.dpi);
  Select(cbPapier, int(o.paper.paper));
  Select(cbOrientation, int(o.paper.orientation));
  Select(cbEchelle, o.paper.scale);
  cbPieces->setChecked(o.rooms);
  cbLongueurs->setChecked(o.dimensions);
  cbMobilier->setChecked(o.objects);
  cbProblemes->setChecked(o.problems);
  cbCalque->setChecked(o.tracing);
}

ExportRequest TfmExporter::Request() const {
  ExportRequest request = initial_;
  request.format = static_cast<ExportFormat>(Value(cbFormat));
  request.dpi = Value(cbResolution);
  SheetOptions& o = request.options;
  o.paper.paper = static_cast<Paper>(Value(cbPapier));
  o.paper.orientation = static_cast<Orientation>(Value(cbOrientation));
  o.paper.scale = Value(cbEchelle);
  o.rooms = cbPieces->isChecked();
  o.dimensions = cbLongueurs->isChecked();
  o.objects = cbMobilier->isChecked();
  o.objectNames = o.objects && initial_.options.objectNames;
  o.problems = cbProblemes->isChecked();
  o.tracing = !cbCalque->isHidden() && cbCalque->isChecked();
  return request;
}

void TfmExporter::UpdatePreview() {
  cbResolution->setEnabled(Value(cbFormat) == int(ExportFormat::kPng));
  offeredScale_ = 0;
  try {
    const Sheet sheet(plan_, Request().options);
    lApercu->setPixmap(QPixmap::fromImage(SheetImage(sheet, PreviewDpi(sheet.Layout().page))));
    lRefus->clear();
    bOk->setEnabled(true);
  } catch (const SheetError& refusal) {
    lApercu->clear();
    lRefus->setText(QString::fromStdString(refusal.what()));
    offeredScale_ = refusal.fittingScale;
    bOk->setEnabled(false);
  } catch (const std::exception& failure) {
    lApercu->clear();
    lRefus->setText(QString::fromStdString(failure.what()));
    bOk->setEnabled(false);
  }
  bProposee->setText(QStringLiteral("Passer à %1").arg(ScaleText(offeredScale_)));
  bProposee->setVisible(offeredScale_ > 0);
}

void TfmExporter::TakeOfferedScale() {
  if (offeredScale_ > 0) Select(cbEchelle, offeredScale_);
}

void TfmExporter::ShowPrintPreview() {
  try {
    const Sheet sheet(plan_, Request().options);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(sheet, printer);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { PrintSheet(sheet, *target); });
    dialog.exec();
  } catch (const std::exception& failure) {
    lRefus->setText(QString::fromStdString(failure.what()));
  }
}

}  // namespace casavo
