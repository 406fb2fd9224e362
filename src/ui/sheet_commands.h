// SheetCommands: the plan of the editor on paper.

#pragma once

#include <QString>
#include <functional>
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
  // author gives the name for the title block: the user signed in online.
  SheetCommands(TCasa& editor, std::unique_ptr<SheetDialogs> dialogs,
                std::function<QString()> author)
      : editor_(editor), dialogs_(std::move(dialogs)), author_(std::move(author)) {}

  void SetDialogs(std::unique_ptr<SheetDialogs> dialogs) { dialogs_ = std::move(dialogs); }

  void Export();
  void Print();

 private:
  // The choice to open the dialog on; nothing, after telling the user, for an
  // empty plan.
  std::optional<ExportRequest> Initial() const;
  // The dialog opened on Initial; the user's choice is kept for next time.
  std::optional<ExportRequest> Ask(bool print);

  TCasa& editor_;
  std::unique_ptr<SheetDialogs> dialogs_;
  std::function<QString()> author_;
  std::optional<ExportRequest> last_;
};

}  // namespace casavo
