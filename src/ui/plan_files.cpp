// Plan files on disk: open, save, recent files, the question before unsaved
// changes are lost, and the window's close.
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "files/file_io.h"
#include "files/plan_file.h"
#include "files/settings.h"
#include "ui/main_window.h"

namespace casavo {
namespace {

const QString kSuffix = QStringLiteral(".plan");
constexpr char kStartLabel[] = "Plan de départ";

std::string LocalPath(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
}

// Settings are Windows-1252 text: paths are kept percent-encoded so that any
// name survives.
std::string RecentKey(int i) {
  return "FichierRecent" + std::to_string(i);
}

QString PlanFileOf(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && url.toLocalFile().endsWith(kSuffix, Qt::CaseInsensitive))
      return url.toLocalFile();
  }
  return {};
}

}  // namespace

QString TForm1::PlanName() const {
  if (!Editor->FilePath.empty())
    return QFileInfo(QString::fromStdString(Editor->FilePath)).fileName();
  if (!Editor->PlanInfo.Titre.empty()) return QString::fromStdString(Editor->PlanInfo.Titre);
  return QStringLiteral("Plan sans nom");
}

bool TForm1::MaybeSaveChanges() {
  Editor->CommitPendingUndo();
  if (!Editor->Modified()) return true;
  switch (dialogs_->AskSaveChanges(PlanName())) {
    case SaveChoice::Save:
      return mlEnregistrerClick();
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

void TForm1::mlOuvrirFichierClick() {
  if (!MaybeSaveChanges()) return;
  const QString path = dialogs_->AskOpenFileName();
  if (!path.isEmpty()) ReadPlanFile(path);
}

bool TForm1::OpenPlanFile(const QString& path) {
  return MaybeSaveChanges() && ReadPlanFile(path);
}

bool TForm1::ReadPlanFile(const QString& path) {
  const std::string local = LocalPath(path);
  PlanReadResult read;
  std::string bytes;
  try {
    bytes = ReadWholeFile(local);
    // Read aside first: a file that cannot be read leaves the plan on screen alone.
    auto trial = std::make_unique<TCasaPlan>();
    read = ReadPlanFileBytes(*trial, bytes);
  } catch (const std::exception& error) {
    read.ok = false;
    read.error = error.what();
  }
  if (!read.ok) {
    dialogs_->ShowError(QStringLiteral("Impossible d'ouvrir le plan « %1 » : %2")
                            .arg(path, QString::fromStdString(read.error)));
    ForgetRecent(path);
    return false;
  }
  ShowEditor();
  ResetPlan();
  ReadPlanFileBytes(*Editor->Plan, bytes);
  Editor->FilePath = local;
  // Without its picture the plan is still whole: it opens, and the user hears once.
  const auto missingPicture = Editor->OpenPlanTrace();
  SetZoom(Editor->Plan->zx);
  Editor->StartHistory(kStartLabel, true);
  Editor->Autosave();
  Editor->Paint();
  SelectionChange();
  RememberRecent(path);
  if (read.refused > 0) ShowStatus(read.refusal);
  if (missingPicture) dialogs_->ShowError(*missingPicture);
  FocusPlan();
  return true;
}

bool TForm1::mlEnregistrerClick() {
  if (Editor->FilePath.empty()) return mlEnregistrerSousClick();
  return WritePlanFile(QString::fromStdString(Editor->FilePath));
}

bool TForm1::mlEnregistrerSousClick() {
  const QString suggested = Editor->FilePath.empty()
                                ? PlanName() + (PlanName().endsWith(kSuffix) ? QString() : kSuffix)
                                : QString::fromStdString(Editor->FilePath);
  QString path = dialogs_->AskSaveFileName(suggested);
  // Cancelling is not a failure: nothing to say.
  if (path.isEmpty()) return false;
  if (!path.endsWith(kSuffix, Qt::CaseInsensitive)) path += kSuffix;
  return WritePlanFile(path);
}

bool TForm1::WritePlanFile(const QString& path) {
  Editor->CommitPendingUndo();
  // The picture traced over is named from the folder the plan goes to.
  Editor->RebaseTrace(Editor->FilePath, LocalPath(path));
  try {
    SavePlanText(Editor->UndoSnapshots.back(), LocalPath(path));
  } catch (const FileError& error) {
    Editor->RebaseTrace(LocalPath(path), Editor->FilePath);
    dialogs_->ShowError(QStringLiteral("Le plan n'a pas été enregistré dans « %1 » : %2")
                            .arg(path, QString::fromStdString(error.what())));
    return false;
  }
  Editor->FilePath = LocalPath(path);
  Editor->MarkSaved();
  // The recovery file now names the file the plan belongs to.
  Editor->Autosave();
  RememberRecent(path);
  ShowStatus(QStringLiteral("Plan enregistré dans %1").arg(path).toStdString());
  return true;
}

void TForm1::PlanSavedOnline() {
  Editor->MarkSaved();
  UpdateTitle();
}

void TForm1::PlanLoadedOnline() {
  Editor->StartHistory(kStartLabel, true);
  Editor->Autosave();
}

QStringList TForm1::RecentFiles() const {
  QStringList files;
  for (int i = 1; i <= kRecentCount; ++i) {
    const std::string value = ReadSetting(RecentKey(i));
    if (!value.empty()) files << QUrl::fromPercentEncoding(QByteArray::fromStdString(value));
  }
  return files;
}

namespace {

void StoreRecent(const QStringList& files) {
  for (int i = 1; i <= TForm1::kRecentCount; ++i) {
    const QString file = i <= files.size() ? files[i - 1] : QString();
    WriteSetting(RecentKey(i), QUrl::toPercentEncoding(file, "/ ").toStdString());
  }
}

}  // namespace

void TForm1::RememberRecent(const QString& path) {
  if (AppFolder().empty()) return;
  QStringList files = RecentFiles();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  files.removeAll(absolute);
  files.prepend(absolute);
  try {
    StoreRecent(files.mid(0, kRecentCount));
  } catch (const FileError&) {
    // The list is a convenience; the settings reporter has said why.
  }
}

void TForm1::ForgetRecent(const QString& path) {
  if (AppFolder().empty()) return;
  QStringList files = RecentFiles();
  if (files.removeAll(QFileInfo(path).absoluteFilePath()) == 0) return;
  try {
    StoreRecent(files);
  } catch (const FileError&) {
  }
}

void TForm1::mlFichiersRecentsClick() {
  const QStringList files = RecentFiles();
  if (files.isEmpty()) {
    ShowStatus("Aucun fichier récent.");
    return;
  }
  QMenu menu(this);
  for (const QString& file : files) {
    menu.addAction(
            QFileInfo(file).fileName(), this,
            [this, file] {
              if (!QFileInfo::exists(file)) {
                ForgetRecent(file);
                dialogs_->ShowError(
                    QStringLiteral(
                        "Le fichier « %1 » n'existe plus : il est retiré des fichiers récents.")
                        .arg(file));
                return;
              }
              OpenPlanFile(file);
            })
        ->setToolTip(file);
  }
  menu.setToolTipsVisible(true);
  menu.exec(mlFichiersRecents->mapToGlobal(QPoint(0, mlFichiersRecents->height())));
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!MaybeSaveChanges()) {
    event->ignore();
    return;
  }
  // Nothing is left that the recovery file would have to bring back.
  TCasa::DeleteRecoveryFile();
  // Once, here: the settings file is rewritten whole, too slow for every slider step.
  RememberDisplay();
  event->accept();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!PlanFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = PlanFileOf(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenPlanFile(path);
}

}  // namespace casavo
