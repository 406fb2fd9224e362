#include "ui/sheet_dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/fm_exporter.h"

namespace casavo {

QString ExportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::kSvg:
      return QStringLiteral("svg");
    case ExportFormat::kPng:
      return QStringLiteral("png");
    case ExportFormat::kCsv:
      return QStringLiteral("csv");
    case ExportFormat::kPdf:
      break;
  }
  return QStringLiteral("pdf");
}

std::optional<ExportRequest> SystemSheetDialogs::AskSheet(TCasaPlan& plan,
                                                          const ExportRequest& initial,
                                                          bool print) {
  TfmExporter dialog(plan, initial, print, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Request();
}

QString SystemSheetDialogs::AskFileName(const QString& suggested, ExportFormat format) {
  const QString extension = ExportExtension(format);
  return QFileDialog::getSaveFileName(
      owner_, QStringLiteral("Exporter le plan"), suggested,
      QStringLiteral("%1 (*.%2)").arg(extension.toUpper(), extension));
}

bool SystemSheetDialogs::Print(const Sheet& sheet) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPrinter(sheet, printer);
  QPrintDialog dialog(&printer, owner_);
  if (dialog.exec() != QDialog::Accepted) return false;
  PrintSheet(sheet, printer);
  return true;
}

}  // namespace casavo
