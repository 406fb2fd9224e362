#include <QString>
#include <filesystem>
#include <system_error>

#include "editor/casa.h"
#include "files/file_io.h"
#include "files/plan_file.h"
#include "files/plan_xml.h"
#include "files/settings.h"

namespace casavo {
namespace {

constexpr char kRecoveryFile[] = "LastUndo.plan";
constexpr char kRecoveryQuestion[] =
    "Casavo à planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
    "Voulez vous recharger votre plan ?";
constexpr char kStartLabel[] = "Plan de départ";

}  // namespace

void TCasa::PushUndo(const std::string& label) {
  UndoSnapshots.push_back(WritePlanXml(*Plan));
  UndoLabels.push_back(label);
  // Only after the history holds the snapshot: a failed write loses nothing.
  Autosave();
}

// The recovery file follows every snapshot of the user's own plans; a plan
// of another user opened from the service is not theirs to keep.
void TCasa::Autosave() {
  const std::string path = RecoveryFilePath();
  if (path.empty()) return;
  if (!PlanInfo.Createur.empty() && PlanInfo.Createur != ReadSetting("Login")) return;
  try {
    // The snapshot just taken is the plan's text: no need to write it again.
    SavePlanText(UndoSnapshots.back(), path);
  } catch (const FileError& error) {
    Plan->Message(std::string("Sauvegarde de secours impossible : ") + error.what());
  }
}

void TCasa::Undo() {
  if (UndoSnapshots.size() < 2) return;
  const PlanReadResult read = ReadPlanXml(*Plan, UndoSnapshots[UndoSnapshots.size() - 2]);
  UndoSnapshots.pop_back();
  UndoLabels.pop_back();
  Plan->SetSelection(0, kSelNothing);
  Paint();
  if (!read.ok) Plan->Message(read.error);
  Plan->NotifySelectionChange();
}

void TCasa::ClearUndo() {
  UndoLabels.clear();
  UndoSnapshots.clear();
}

std::string TCasa::RecoveryFilePath() {
  const std::string& folder = AppFolder();
  return folder.empty() ? std::string() : folder + kRecoveryFile;
}

bool TCasa::OfferRecovery() {
  const std::string path = RecoveryFilePath();
  std::error_code ignored;
  if (path.empty() || !std::filesystem::exists(path, ignored)) return false;
  if (!dialogs_->AskYesNo(QString::fromUtf8(kRecoveryQuestion))) return false;
  // The reloaded plan starts a history of its own.
  Plan->Clear();
  ClearUndo();
  PlanReadResult read;
  try {
    read = LoadPlanFile(*Plan, path);
  } catch (const std::runtime_error& error) {
    read.ok = false;
    read.error = error.what();
  }
  if (!read.ok) {
    // Nothing half-read stays behind; the file is left for another try.
    Plan->Clear();
    Paint();
    Plan->Message("Impossible de recharger le plan : " + read.error);
    return false;
  }
  PushUndo(kStartLabel);
  Paint();
  if (read.refused > 0) Plan->Message(read.refusal);
  return true;
}

void TCasa::DeleteRecoveryFile() {
  const std::string path = RecoveryFilePath();
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove(path, ignored);
}

}  // namespace casavo
