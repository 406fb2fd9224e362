// SheetDialogs: the seam to the export dialog and the printer.

#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "plan/casa_plan.h"
#include "render/sheet.h"
#include "render/sheet_output.h"

class QWidget;

namespace casavo {

// What "Exporter…" writes: the sheet in one of its formats, or the room
// schedule alone for a spreadsheet.
enum class ExportFormat { kPdf, kSvg, kPng, kCsv };

struct ExportRequest {
  SheetOptions options;
  ExportFormat format = ExportFormat::kPdf;
  int32_t dpi = kDefaultPngDpi;  // PNG only
};

// The sheet's format of a choice other than CSV.
SheetFormat SheetFormatOf(ExportFormat format);
QString ExportExtension(ExportFormat format);

// The questions of the export and print commands. The program shows the
// dialogs; tests answer for the user.
class SheetDialogs {
 public:
  virtual ~SheetDialogs() = default;
  // The export or print dialog with its preview, opened on initial; nothing
  // when the user cancels.
  virtual std::optional<ExportRequest> AskSheet(TCasaPlan& plan, const ExportRequest& initial,
                                                bool print) = 0;
  // Where to write; empty when the user cancels.
  virtual QString AskFileName(const QString& suggested, ExportFormat format) = 0;
  // The printer dialog, then the sheet on the printer; false when cancelled.
  virtual bool Print(const Sheet& sheet) = 0;
};

// The export dialog, the file dialog and Qt's print dialog over the owner.
class SystemSheetDialogs final : public SheetDialogs {
 public:
  explicit SystemSheetDialogs(QWidget* owner) : owner_(owner) {}
  std::optional<ExportRequest> AskSheet(TCasaPlan& plan, const ExportRequest& initial,
                                        bool print) override;
  QString AskFileName(const QString& suggested, ExportFormat format) override;
  bool Print(const Sheet& sheet) override;

 private:
  QWidget* owner_;
};

}  // namespace casavo
