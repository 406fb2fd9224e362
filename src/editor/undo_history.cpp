// TCasa: undo and redo by plan-text snapshots, the recovery file, autosave.

#include <QString>
#include <filesystem>
#include <memory>
#include <system_error>

#include "editor/casa.h"
#include "files/file_io.h"
#include "files/plan_file.h"
#include "files/plan_xml.h"
#include "files/settings.h"
#include "plan/room_colours.h"

namespace casavo {
namespace {

constexpr char kRecoveryFile[] = "LastUndo.plan";
// Beside the recovery file: the plan file the recovered plan belongs to.
constexpr char kRecoveryOrigin[] = "LastUndo.fichier";
constexpr char kRecoveryQuestion[] =
    "Casavo a planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
    "Voulez vous recharger votre plan ?";
constexpr char kStartLabel[] = "Plan de départ";

std::string InAppFolder(const char* name) {
  const std::string& folder = AppFolder();
  return folder.empty() ? std::string() : folder + name;
}

// The plan file the recovered plan belongs to; none when that was not kept.
std::string RecoveredOrigin() {
  try {
    return ReadFileIfExists(InAppFolder(kRecoveryOrigin)).value_or(std::string());
  } catch (const FileError&) {
    return {};
  }
}

bool HoldsEmptyPlan(const std::string& path) {
  auto plan = std::make_unique<TCasaPlan>();
  try {
    return LoadPlanFile(*plan, path).ok && plan->CornerCount == 0 && plan->ObjectCount == 0;
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace

void TCasa::PushUndo(const std::string& label) {
  // Rooms this change made take a colour their neighbours do not have.
  ColourNewRooms(*Plan, knownRooms_);
  knownRooms_ = RoomHashes(*Plan);
  UndoSnapshots.push_back(WritePlanXml(*Plan));
  UndoLabels.push_back(label);
  // A new change ends the branch that could be redone.
  RedoSnapshots.clear();
  RedoLabels.clear();
  // Only after the history holds the snapshot: a failed write loses nothing.
  Autosave();
  emit HistoryChanged();
}

void TCasa::AmendUndo(const std::string& label) {
  if (UndoSnapshots.size() > 1) {
    UndoSnapshots.pop_back();
    UndoLabels.pop_back();
  }
  PushUndo(label);
}

void TCasa::CommitPendingUndo() {
  if (PendingUndoLabel.empty()) return;
  const std::string label = std::move(PendingUndoLabel);
  PendingUndoLabel.clear();
  PushUndo(label);
}

// The recovery file follows every state the user sees of their own plans; a
// plan of another user opened from the service is not theirs to keep.
void TCasa::Autosave() {
  const std::string path = RecoveryFilePath();
  if (path.empty() || UndoSnapshots.empty()) return;
  if (!PlanInfo.Createur.empty() && PlanInfo.Createur != ReadSetting("Login")) return;
  try {
    // The current snapshot is the plan's text: no need to write it again.
    SavePlanText(UndoSnapshots.back(), path);
    const std::string origin = InAppFolder(kRecoveryOrigin);
    if (FilePath.empty()) {
      std::error_code ignored;
      std::filesystem::remove(origin, ignored);
    } else {
      ReplaceFile(origin, FilePath, 0600);
    }
  } catch (const FileError& error) {
    Plan->Message(std::string("Sauvegarde de secours impossible : ") + error.what());
  }
}

void TCasa::Undo() {
  CommitPendingUndo();
  if (UndoSnapshots.size() < 2) return;
  RedoSnapshots.push_back(std::move(UndoSnapshots.back()));
  RedoLabels.push_back(std::move(UndoLabels.back()));
  UndoSnapshots.pop_back();
  UndoLabels.pop_back();
  RestoreCurrent();
}

void TCasa::Redo() {
  CommitPendingUndo();
  if (RedoSnapshots.empty()) return;
  UndoSnapshots.push_back(std::move(RedoSnapshots.back()));
  UndoLabels.push_back(std::move(RedoLabels.back()));
  RedoSnapshots.pop_back();
  RedoLabels.pop_back();
  RestoreCurrent();
}

void TCasa::RestoreCurrent() {
  const PlanReadResult read = ReadPlanXml(*Plan, UndoSnapshots.back());
  Plan->SetSelection(0, kSelNothing);
  Paint();
  knownRooms_ = RoomHashes(*Plan);
  if (!read.ok) Plan->Message(read.error);
  Autosave();
  emit HistoryChanged();
  Plan->NotifySelectionChange();
}

void TCasa::ClearUndo() {
  UndoLabels.clear();
  UndoSnapshots.clear();
  RedoLabels.clear();
  RedoSnapshots.clear();
  PendingUndoLabel.clear();
}

void TCasa::StartHistory(const std::string& label, bool saved) {
  // The text holds the rooms as shown: detect them before it is taken.
  Plan->RefreshGeometry();
  knownRooms_ = RoomHashes(*Plan);
  ClearUndo();
  UndoSnapshots.push_back(WritePlanXml(*Plan));
  UndoLabels.push_back(label);
  savedText_ = saved ? UndoSnapshots.back() : std::string();
  emit HistoryChanged();
}

void TCasa::MarkSaved() {
  CommitPendingUndo();
  savedText_ = UndoSnapshots.empty() ? std::string() : UndoSnapshots.back();
  emit HistoryChanged();
}

bool TCasa::Modified() const {
  return !PendingUndoLabel.empty() || UndoSnapshots.empty() || UndoSnapshots.back() != savedText_;
}

std::string TCasa::RecoveryFilePath() {
  return InAppFolder(kRecoveryFile);
}

bool TCasa::OfferRecovery() {
  const std::string path = RecoveryFilePath();
  std::error_code ignored;
  if (path.empty() || !std::filesystem::exists(path, ignored)) return false;
  if (HoldsEmptyPlan(path)) {
    // Nothing was lost: an empty plan is no reason to ask.
    DeleteRecoveryFile();
    return false;
  }
  if (!dialogs_->AskYesNo(QString::fromUtf8(kRecoveryQuestion))) return false;
  return Recover(path);
}

bool TCasa::Recover(const std::string& path) {
  Plan->Clear();
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
    StartHistory(kStartLabel, true);
    Paint();
    Plan->Message("Impossible de recharger le plan : " + read.error);
    return false;
  }
  PlanInfo = TPlanInfo{};
  PlanInfo.Partage = 3;
  FilePath = RecoveredOrigin();
  // The recovered plan was saved nowhere: it holds unsaved changes.
  StartHistory(kStartLabel, false);
  Autosave();
  Paint();
  if (read.refused > 0) Plan->Message(read.refusal);
  return true;
}

void TCasa::DeleteRecoveryFile() {
  std::error_code ignored;
  for (const char* name : {kRecoveryFile, kRecoveryOrigin}) {
    const std::string path = InAppFolder(name);
    if (!path.empty()) std::filesystem::remove(path, ignored);
  }
}

}  // namespace casavo
