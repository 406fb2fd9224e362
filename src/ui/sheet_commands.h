#pragma once

#include <memory>
#include <optional>

#include "editor/casa.h"
#include "ui/sheet_dialogs.h"

namespace casavo {

// "Exporter…" and "Imprimer…": the plan of the editor on paper. The dialog
// opens on the editor's display (problems off) the first time and on the
// user's last choice after that.
class SheetCommands {
 public:
  SheetCommands(TCasa& editor, std::unique_ptr<SheetDialogs> dialogs)
      : editor_(editor), dialogs_(std::move(dialogs)) {}

  void SetDialogs(std::unique_ptr<SheetDialogs> dialogs) { dialogs_ = std::move(dialogs); }

  void Export();
  void Print();

 private:
  // The choice to open the dialog on; nothing, after telling the user, for an
  // empty plan.
  std::optional<ExportRequest> Initial() const;

  TCasa& editor_;
  std::unique_ptr<SheetDialogs> dialogs_;
  std::optional<ExportRequest> last_;
};

}  // namespace casavo
