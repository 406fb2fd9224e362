// SheetCommands: "Exporter…" and "Imprimer…".

#include "ui/sheet_commands.h"

#include <QKeySequence>
#include <QSaveFile>
#include <QShortcut>

#include "ui/error_box.h"
#include "ui/main_window.h"

namespace casavo {

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw std::runtime_error(
        QStringLiteral("Impossible d'écrire %1 : %2").arg(path, file.errorString()).toStdString());
}

QString SuggestedName(const ExportRequest& request) {
  const QString title =
      request.options.title.isEmpty() ? QStringLiteral("plan") : request.options.title;
  return title + '.' + ExportExtension(request.format);
}

}  // namespace

std::optional<ExportRequest> SheetCommands::Initial() const {
  const TCasaPlan& plan = *editor_.Plan;
  if (plan.CornerCount <= 0) {
    ShowErrorBox(QStringLiteral("Le plan est vide : il n'y a rien à exporter ni à imprimer."));
    return std::nullopt;
  }
  ExportRequest request;
  if (last_) {
    request = *last_;
  } else {
    SheetOptions& o = request.options;
    o.rooms = plan.ShowRooms;
    o.dimensions = plan.ShowDimensions;
    o.objects = plan.ShowObjects;
    o.objectNames = plan.ShowObjectNames;
    o.problems = false;
  }
  // The picture as it is now; whether it goes on paper is the user's last choice.
  request.options.tracingPicture = editor_.Tracing().Image();
  // The title block follows the plan as it is now.
  request.options.title = QString::fromStdString(editor_.PlanInfo.Titre);
  request.options.author = author_();
  request.options.date = QDate::currentDate();
  return request;
}

std::optional<ExportRequest> SheetCommands::Ask(bool print) {
  const auto initial = Initial();
  if (!initial) return std::nullopt;
  const auto request = dialogs_->AskSheet(*editor_.Plan, *initial, print);
  if (request) last_ = *request;
  return request;
}

void SheetCommands::Export() {
  const auto request = Ask(false);
  if (!request) return;
  const QString path = dialogs_->AskFileName(SuggestedName(*request), request->format);
  if (path.isEmpty()) return;
  try {
    TCasaPlan& plan = *editor_.Plan;
    if (request->format == ExportFormat::kCsv) {
      WriteFile(path, ScheduleCsv(RoomSchedule(plan)));
    } else {
      WriteFile(path, SheetBytes(Sheet(plan, request->options), SheetFormatOf(request->format),
                                 request->dpi));
    }
  } catch (const std::exception& failure) {
    ShowErrorBox(QString::fromStdString(failure.what()));
  }
}

void SheetCommands::Print() {
  const auto request = Ask(true);
  if (!request) return;
  try {
    dialogs_->Print(Sheet(*editor_.Plan, request->options));
  } catch (const std::exception& failure) {
    ShowErrorBox(QString::fromStdString(failure.what()));
  }
}

// ---- the main window's part ----

void TForm1::AddSheetCommands() {
  sheetCommands_ = std::make_unique<SheetCommands>(
      *Editor, std::make_unique<SystemSheetDialogs>(this),
      [this] { return online_ ? online_->SignedInUser() : QString(); });
  mlExporter = MenuCommand(pFichier, QStringLiteral("Exporter…"),
                           QStringLiteral("Enregistrer le plan à l'échelle en PDF, SVG ou PNG"));
  mlImprimer = MenuCommand(pFichier, QStringLiteral("Imprimer…"),
                           QStringLiteral("Imprimer le plan à l'échelle (Ctrl+P)"));
  // Before "Aide et site Internet", the last command of the section.
  mlExporter->stackUnder(mlAide);
  mlImprimer->stackUnder(mlAide);
  connect(mlExporter, &TkelpMenuLabel::clicked, this, &TForm1::mlExporterClick);
  connect(mlImprimer, &TkelpMenuLabel::clicked, this, &TForm1::mlImprimerClick);
  auto* print = new QShortcut(QKeySequence::Print, this);
  connect(print, &QShortcut::activated, this, &TForm1::mlImprimerClick);
}

void TForm1::SetSheetDialogs(std::unique_ptr<SheetDialogs> dialogs) {
  sheetCommands_->SetDialogs(std::move(dialogs));
}

void TForm1::mlExporterClick() {
  ShowEditor();
  sheetCommands_->Export();
}

void TForm1::mlImprimerClick() {
  ShowEditor();
  sheetCommands_->Print();
}

}  // namespace casavo
