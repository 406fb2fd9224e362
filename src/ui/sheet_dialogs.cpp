// The real export and print dialogs.

#include "ui/sheet_dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/fm_exporter.h"

namespace casavo {

SheetFormat SheetFormatOf(ExportFormat format) {
  switch (format) {
    case ExportFormat::kSvg:
      return SheetFormat::kSvg;
    case ExportFormat::kPng:
      return SheetFormat::kPng;
    case ExportFormat::kPdf:
    case ExportFormat::kCsv:
      break;
  }
  return SheetFormat::kPdf;
}

QString ExportExtension(ExportFormat format) {
  return format == ExportFormat::kCsv ? QStringLiteral("csv")
                                      : FormatExtension(SheetFormatOf(format));
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
