// View3DControls: the 3D view's dock, its commands and picture export.

#include "ui/view3d_controls.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFormLayout>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "view3d/view3d.h"

namespace casavo {
namespace {

// The picture's file and size, asked in one small dialog.
std::optional<View3DControls::ImageRequest> AskImageWithDialog(QWidget* owner, QSize current) {
  const QString path = QFileDialog::getSaveFileName(owner, QStringLiteral("Exporter l'image 3D"),
                                                    QStringLiteral("vue3d.png"),
                                                    QStringLiteral("Images PNG (*.png)"));
  if (path.isEmpty()) return std::nullopt;
  QDialog dialog(owner);
  dialog.setWindowTitle(QStringLiteral("Taille de l'image"));
  auto* form = new QFormLayout(&dialog);
  auto* width = new QSpinBox;
  auto* height = new QSpinBox;
  width->setRange(64, 8192);
  height->setRange(64, 8192);
  width->setValue(std::max(current.width(), 1280));
  height->setValue(std::max(current.height(), 800));
  form->addRow(QStringLiteral("Largeur (pixels) :"), width);
  form->addRow(QStringLiteral("Hauteur (pixels) :"), height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return View3DControls::ImageRequest{path, QSize(width->value(), height->value())};
}

}  // namespace

View3DControls::View3DControls(TForm1& window)
    : QObject(&window), window_(window), editor_(*window.Editor) {
  AskImage = [this] { return AskImageWithDialog(&window_, EnsureView().size()); };
  BuildControls();
  BuildDock();
  Connect();
  ShowWallHeight();
}

void View3DControls::BuildControls() {
  QWidget* panel = window_.pAffichage;
  auto* box = new QWidget(panel);
  cbVue3D = new QCheckBox(QStringLiteral("Vue 3D"));
  ueHauteurMurs = new TUnitEdit;
  ueHauteurMurs->SetCaption(QStringLiteral("Hauteur des murs :"));
  ApplyPanelFieldProperties(*ueHauteurMurs, window_.UnitEditBase, TCasaPlan::kMaxWallHeight,
                            QStringLiteral("m"));
  ueHauteurMurs->SetValueMin(TCasaPlan::kMinWallHeight);
  const int width = panel->width();
  const auto command = [box, width](const QString& caption, const QString& hint) {
    auto* label = new TkelpMenuLabel(box);
    label->SetCaption(caption);
    label->setToolTip(hint);
    label->resize(width, label->fontMetrics().height() + 4);
    return label;
  };
  mlVisite = command(QStringLiteral("Visite"),
                     QStringLiteral("Se promener dans la pièce choisie : flèches pour marcher, "
                                    "souris pour regarder, Échap pour sortir"));
  mlExporter3D = command(QStringLiteral("Exporter l'image 3D…"),
                         QStringLiteral("Enregistrer la vue 3D en image PNG"));
  PanelStack stack(box, width);
  stack.Full(cbVue3D);
  stack.Full(ueHauteurMurs);
  stack.Full(mlVisite);
  stack.Full(mlExporter3D);
  stack.Finish();
  // Below what the panel held, which grows by as much.
  box->move(0, panel->height());
  panel->resize(panel->width(), panel->height() + box->height());
}

void View3DControls::BuildDock() {
  Dock = new QDockWidget(QStringLiteral("Vue 3D"), &window_);
  Dock->setObjectName(QStringLiteral("dockVue3D"));
  // The commands again above the view: while a room is selected its panel
  // takes the place of "Affichage" in the side menu.
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* tools = new QToolBar(content);
  tools->addAction(QStringLiteral("Visite"), this, &View3DControls::mlVisiteClick);
  tools->addAction(QStringLiteral("Exporter l'image 3D…"), this,
                   &View3DControls::mlExporter3DClick);
  layout->addWidget(tools);
  Dock->setWidget(content);
  window_.addDockWidget(Qt::RightDockWidgetArea, Dock);
  Dock->hide();
}

void View3DControls::Connect() {
  connect(cbVue3D, &QCheckBox::clicked, this, &View3DControls::cbVue3DClick);
  connect(Dock->toggleViewAction(), &QAction::toggled, cbVue3D, &QCheckBox::setChecked);
  ueHauteurMurs->SetOnChange([this](QObject*) { ueHauteurMursChange(); });
  connect(mlVisite, &TkelpMenuLabel::clicked, this, &View3DControls::mlVisiteClick);
  connect(mlExporter3D, &TkelpMenuLabel::clicked, this, &View3DControls::mlExporter3DClick);
  connect(&editor_, &TCasa::HistoryChanged, this, &View3DControls::ShowWallHeight);
}

view3d::View3D& View3DControls::EnsureView() {
  if (View) return *View;
  View = new view3d::View3D(*editor_.Plan);
  Dock->widget()->layout()->addWidget(View);
  connect(&editor_, &TCasa::Painted, View, &view3d::View3D::PlanChanged);
  connect(View, &view3d::View3D::Picked, this, &View3DControls::SelectPicked);
  // The selection tint follows the plan's own notification.
  TCasaPlan& plan = *editor_.Plan;
  plan.OnSelectionChange = [previous = plan.OnSelectionChange, this](void* sender) {
    if (previous) previous(sender);
    View->SelectionChanged();
  };
  return *View;
}

void View3DControls::cbVue3DClick() {
  if (cbVue3D->isChecked()) EnsureView();
  Dock->setVisible(cbVue3D->isChecked());
  if (!cbVue3D->isChecked()) return;
  // Beside the plan, sharing the room with it.
  if (!Dock->isFloating())
    window_.resizeDocks({Dock}, {window_.centralWidget()->width() / 2}, Qt::Horizontal);
  View->PlanChanged();
}

void View3DControls::ueHauteurMursChange() {
  const int32_t height = ueHauteurMurs->ValueInt();
  TCasaPlan& plan = *editor_.Plan;
  if (height == plan.WallHeight || height < TCasaPlan::kMinWallHeight ||
      height > TCasaPlan::kMaxWallHeight)
    return;
  plan.WallHeight = height;
  editor_.Paint();
  editor_.PushUndo("Hauteur des murs");
}

void View3DControls::ShowWallHeight() {
  if (ueHauteurMurs->ValueInt() != editor_.Plan->WallHeight)
    ueHauteurMurs->SetValue(editor_.Plan->WallHeight);
  if (View) View->PlanChanged();
}

void View3DControls::mlVisiteClick() {
  if (!Dock->isVisible()) {
    cbVue3D->setChecked(true);
    cbVue3DClick();
  }
  EnsureView().StartVisit(editor_.Plan->Selected(kSelRoom));
  window_.ShowStatus("Visite : flèches pour marcher, souris pour regarder, Échap pour sortir");
}

bool View3DControls::mlExporter3DClick() {
  if (!Dock->isVisible()) {
    cbVue3D->setChecked(true);
    cbVue3DClick();
  }
  const auto request = AskImage();
  if (!request) return false;
  const QImage image = EnsureView().RenderImage(request->size);
  if (!image.isNull() && image.save(request->path, "PNG")) {
    window_.ShowStatus("Image 3D enregistrée");
    return true;
  }
  window_.ShowStatus("L'image 3D n'a pas pu être enregistrée");
  return false;
}

void View3DControls::SelectPicked(uint8_t kind, int32_t index) {
  TCasaPlan& plan = *editor_.Plan;
  // Rooms are numbered in the plan only while it shows them.
  if (kind == kSelRoom && !plan.ShowRooms) return;
  plan.SetSelection(index, kind);
  editor_.Paint();
  plan.NotifySelectionChange();
}

}  // namespace casavo
