// TForm1: creation, start, shutdown, title, status bar, shortcuts.

#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLayout>
#include <QLocale>
#include <QProxyStyle>
#include <QStatusBar>

#include "editor/messages.h"
#include "files/settings.h"
#include "ui/calque_panel.h"
#include "ui/error_box.h"
#include "ui/furniture_catalogue.h"
#include "ui/view3d_controls.h"

namespace casavo {
namespace {

// The third field of the caption while the plan has no title: who made the
// program and today's month, e.g. "par l'équipe Casavo, décembre 2026".
QString AuthorLine() {
  return QStringLiteral("par l'équipe Casavo, ") +
         QLocale(QLocale::French).toString(QDate::currentDate(), QStringLiteral("MMMM yyyy"));
}

// Tool tips show as soon as the pointer rests on a control.
class ImmediateHintStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

void SetHintDelayToZero() {
  if (dynamic_cast<ImmediateHintStyle*>(QApplication::style())) return;
  QApplication::setStyle(new ImmediateHintStyle(QApplication::style()->name()));
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), dialogs_(std::make_unique<SystemWindowDialogs>(this)) {
  BuildLayout();
  ConnectHandlers();
  FormCreate();
}

void TForm1::FormCreate() {
  ApplyingEdit = false;
  SetupSettingsFolder();
  Messages::Init();

  Editor = new TCasa(ClientArea);
  ClientArea->SetEditor(Editor);
  Editor->Plan->OnMessage = [this](const std::string& text) { ShowStatus(text); };
  Editor->Plan->OnSelectionChange = [this](void*) { SelectionChange(); };
  connect(Editor, &TCasa::HistoryChanged, this, &TForm1::UpdateHistoryCommands);
  // The wheel, the keys and "Ajuster" zoom from the plan area: the slider follows.
  connect(Editor, &TCasa::ZoomChanged, this, [this](double zoom) { SetZoom(zoom); });
  View3D = new View3DControls(*this);
  tvMeubles->AcceptDropsOn(Editor);
  Calque = new CalquePanel(*this);

  ResetPlan();
  UpdateTitle();
  Editor->Plan->ShowProblems = true;

  OpeningTypes = {
      {QStringLiteral("Ouverture"), 0},         {QStringLiteral("Porte droite"), 1002},
      {QStringLiteral("Porte gauche"), 1001},   {QStringLiteral("Porte double"), 1011},
      {QStringLiteral("Fenêtre centré"), 2001}, {QStringLiteral("Fenêtre décalé"), 2002},
  };
  FillingPanels = true;
  for (const OpeningType& type : OpeningTypes) cbTrouSorte->addItem(type.name);
  FillingPanels = false;

  RestoreDisplay();
  SetCommandVisible(mlAnnuler, false);
  SetCommandVisible(mlRetablir, false);
  SetHintDelayToZero();
  pDebug->hide();
  AddSheetCommands();
  CreateSideMenu();
  AddShortcuts();
  setAcceptDrops(true);
}

// The keys of the commands work wherever the focus is in the window; a field
// being edited keeps its own Ctrl+Z.
void TForm1::AddShortcuts() {
  const auto add = [this](const QList<QKeySequence>& keys, auto handler) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
  };
  add({QKeySequence(Qt::CTRL | Qt::Key_O)}, &TForm1::mlOuvrirFichierClick);
  add({QKeySequence(Qt::CTRL | Qt::Key_S)}, &TForm1::mlEnregistrerClick);
  add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, &TForm1::mlEnregistrerSousClick);
  add({QKeySequence(Qt::CTRL | Qt::Key_Q)}, &TForm1::close);
  add({QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TForm1::mlAnnulerClick);
  add({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
      &TForm1::mlRetablirClick);
}

void TForm1::SetupSettingsFolder() {
  SetSettingsReporter(
      [](const std::string& message) { ShowErrorBox(QString::fromStdString(message)); });
  try {
    SetupAppFolder();
  } catch (const std::exception& error) {
    // The editor still works; only the settings and the recovery file are lost.
    ShowErrorBox(QStringLiteral("Impossible de préparer le dossier de Casavo : %1\n"
                                "Les réglages et la sauvegarde de secours ne fonctionneront pas.")
                     .arg(QString::fromUtf8(error.what())));
  }
}

void TForm1::CreateSideMenu() {
  SideMenu = new TkelpMenu(Panel2);
  Panel2->layout()->addWidget(SideMenu);
  SideMenu->Margin = 4;
  SideMenu->FrameWidth = 1;
  SideMenu->HeaderHeight = 16;
  FileSection = SideMenu->AddItem(pFichier, QStringLiteral("Fichier"), true);
  SideMenu->LayoutContent(FileSection);
  ActionSection = SideMenu->AddItem(pAction, QStringLiteral("Action"), true);
  SideMenu->LayoutContent(ActionSection);
  // Furniture comes before the display switches, within reach without scrolling.
  SideMenu->AddItem(pMeubles, QStringLiteral("Meubles"), true);
  // The piece just placed shows its panel right under the catalogue.
  SideMenu->AddItem(pObjet, QStringLiteral("Objet"), true);
  SideMenu->AddItem(pAffichage, QStringLiteral("Affichage"), true);
  SideMenu->AddItem(Calque->pCalque, QStringLiteral("Calque"), true);
  SideMenu->AddItem(pMur, QStringLiteral("Mur"), true);
  SideMenu->AddItem(pTrou, QStringLiteral("Trou"), true);
  SideMenu->AddItem(pCoin, QStringLiteral("Coin"), true);
  SideMenu->AddItem(pPiece, QStringLiteral("Pièce"), true);
}

TForm1::~TForm1() {
  // Nothing may reach the window's handlers while it comes apart.
  Editor->Plan->OnMessage = nullptr;
  Editor->Plan->OnSelectionChange = nullptr;
  disconnect(Editor, nullptr, this, nullptr);
  SetSettingsReporter({});
  Messages::Free();
}

void TForm1::SetOnlineService(std::unique_ptr<OnlineService> online) {
  online_ = std::move(online);
  if (online_ && online_->WebView()) ClientArea->SetWebView(online_->WebView());
}

void TForm1::SetDialogs(std::unique_ptr<WindowDialogs> dialogs) {
  dialogs_ = std::move(dialogs);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // After the window is on screen, so that the recovery question has it behind.
  QMetaObject::invokeMethod(this, &TForm1::FormShow, Qt::QueuedConnection);
}

void TForm1::FormShow() {
  SideMenu->Layout(true);
  Editor->setFocus();
  ShowWebView(true);
  if (Editor->OfferRecovery()) {
    // The slider and the panels follow the reloaded plan.
    SetZoom(Editor->Plan->zx);
    ShowEditor();
    SelectionChange();
  }
  // A plan named on the command line is what the user came for.
  if (!startFile_.isEmpty() && OpenPlanFile(startFile_)) ShowEditor();
}

void TForm1::ShowStatus(const std::string& text) {
  StatusBar->showMessage(QString::fromStdString(text));
}

void TForm1::ResetPlan() {
  TCasaPlan& plan = *Editor->Plan;
  // Empties the tables, the room attributes and the selection.
  plan.Clear();
  SetZoom(0.05);
  Editor->PlanInfo = TPlanInfo{};
  Editor->PlanInfo.Partage = 3;
  Editor->FilePath.clear();
  // The empty plan is the first state of its history, and nothing to save.
  Editor->StartHistory("Nouveau plan", true);
}

// The plan's file name, else its online title, else the author line; a "*"
// while it holds changes saved nowhere.
void TForm1::UpdateTitle() {
  const QString name =
      Editor->FilePath.empty() && Editor->PlanInfo.Titre.empty() ? AuthorLine() : PlanName();
  setWindowTitle(QStringLiteral("%1 V%2 - %3%4")
                     .arg(QStringLiteral("Casavo"), kVersion, name,
                          Editor->Modified() ? QStringLiteral("*") : QString()));
}

void TForm1::ShowEditor() {
  ClientArea->ShowWebView(false);
  pAction->show();
  pAffichage->show();
  pMeubles->show();
  mlAide->SetCaption(QStringLiteral("Aide et site internet"));
  SideMenu->Layout(true);
}

void TForm1::ShowWebView(bool loadHome) {
  // Without the online part there is no web view: the editor stays.
  if (!online_ || !ClientArea->WebView()) return;
  if (loadHome) online_->NavigateHome(false);
  for (QWidget* panel : {pAction, pAffichage, pMeubles, pMur, pTrou}) panel->hide();
  ClientArea->ShowWebView(true);
  mlAide->SetCaption(QStringLiteral("Retour a l'éditeur"));
  SideMenu->Layout(true);
}

void TForm1::SetCommandVisible(TkelpMenuLabel* command, bool visible) {
  if (command->isHidden() != visible) return;
  command->setHidden(!visible);
  if (!SideMenu) return;
  SideMenu->LayoutContent(command->parentWidget() == pFichier ? FileSection : ActionSection);
  SideMenu->Layout(true);
}

void TForm1::UpdateHistoryCommands() {
  SetCommandVisible(mlAnnuler, Editor->UndoAvailable());
  if (Editor->UndoAvailable())
    mlAnnuler->setToolTip(QString::fromStdString(Editor->UndoLabels.back()));
  SetCommandVisible(mlRetablir, Editor->RedoAvailable());
  if (Editor->RedoAvailable())
    mlRetablir->setToolTip(QString::fromStdString(Editor->RedoLabels.back()));
  UpdateTitle();
}

}  // namespace casavo
