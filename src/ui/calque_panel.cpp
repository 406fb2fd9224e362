// The "Calque" section of the side menu and the import of a picture to trace.
#include "ui/calque_panel.h"

#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSlider>
#include <cmath>

#include "ui/main_window.h"

namespace casavo {
namespace {

constexpr int kOpacitySteps = 100;

// The picture's turn as users read angles: counter-clockwise, in (-180, 180].
double ShownAngle(double clockwise) {
  double a = -std::fmod(clockwise, 360.0);
  if (a <= -180) a += 360;
  if (a > 180) a -= 360;
  return a;
}

}  // namespace

CalquePanel::CalquePanel(TForm1& window)
    : QObject(&window), window_(window), editor_(*window.Editor) {
  AskFile = [this] {
    return QFileDialog::getOpenFileName(
        &window_, QStringLiteral("Importer un plan à décalquer"), QString(),
        QStringLiteral("Plans à décalquer (*.png *.jpg *.jpeg *.pdf);;Tous les fichiers (*)"));
  };
  AskPage = [this](int pageCount) -> std::optional<int> {
    bool ok = false;
    const int page =
        QInputDialog::getInt(&window_, QStringLiteral("Importer un plan à décalquer"),
                             QStringLiteral("Ce PDF a %1 pages. Page à décalquer :").arg(pageCount),
                             1, 1, pageCount, 1, &ok);
    return ok ? std::optional(page - 1) : std::nullopt;
  };
  editor_.AskTraceDistance = [this](const QString& prompt) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(&window_, QStringLiteral("Mettre à l'échelle"),
                                               prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional(text) : std::nullopt;
  };
  BuildControls();
  Connect();
  Refresh();
}

void CalquePanel::BuildControls() {
  // Like the other commands of "Fichier", which the side menu stacks.
  mlImporterCalque = new TkelpMenuLabel(window_.pFichier);
  mlImporterCalque->SetCaption(QStringLiteral("Importer un plan à décalquer…"));
  mlImporterCalque->setToolTip(
      QStringLiteral("Mettre sous le plan une image ou un PDF de plan existant pour le recopier"));
  // Its caption is the longest of the panel: the whole width, not the inset of the others.
  const QRect like = window_.mlOuvrirFichier->geometry();
  mlImporterCalque->setGeometry(like.x(), like.y(), window_.pFichier->width() - like.x(),
                                like.height());
  const int width = window_.pAffichage->width();
  pCalque = new QWidget(window_.pAffichage->parentWidget());
  pCalque->resize(width, 0);
  const auto command = [this, width](const QString& caption, const QString& hint) {
    auto* label = new TkelpMenuLabel(pCalque);
    label->SetCaption(caption);
    label->setToolTip(hint);
    label->resize(width, label->fontMetrics().height() + 4);
    return label;
  };
  mlEchelle = command(QStringLiteral("Mettre à l'échelle"),
                      QStringLiteral("Cliquer deux points du calque puis taper leur distance"));
  mlRedresser =
      command(QStringLiteral("Redresser"),
              QStringLiteral("Cliquer deux points d'une ligne qui doit être horizontale"));
  seAngle = new QDoubleSpinBox;
  seAngle->setRange(-180, 180);
  seAngle->setDecimals(1);
  seAngle->setSuffix(QStringLiteral(" °"));
  seAngle->setWrapping(true);
  seAngle->setKeyboardTracking(false);
  seAngle->setToolTip(
      QStringLiteral("Angle du calque, dans le sens inverse des aiguilles d'une montre"));
  tbOpacite = new QSlider(Qt::Horizontal);
  tbOpacite->setRange(5, kOpacitySteps);
  tbOpacite->setToolTip(QStringLiteral("Opacité du calque"));
  cbAfficher = new QCheckBox(QStringLiteral("Afficher le calque"));
  cbVerrouiller = new QCheckBox(QStringLiteral("Verrouiller"));
  cbVerrouiller->setToolTip(QStringLiteral("Sans verrou, Maj + glisser déplace le calque"));
  mlRetirer = command(QStringLiteral("Retirer le calque"), QString());

  PanelStack stack(pCalque, width);
  stack.Full(mlEchelle);
  stack.Full(mlRedresser);
  stack.Pair(QStringLiteral("Angle :"), seAngle);
  stack.Pair(QStringLiteral("Opacité :"), tbOpacite);
  stack.Full(cbAfficher);
  stack.Full(cbVerrouiller);
  stack.Full(mlRetirer);
  stack.Finish();
  pCalque->hide();
}

void CalquePanel::Connect() {
  connect(mlImporterCalque, &TkelpMenuLabel::clicked, this, &CalquePanel::mlImporterCalqueClick);
  connect(mlEchelle, &TkelpMenuLabel::clicked, this, [this] {
    editor_.StartTraceScale();
    editor_.setFocus();
  });
  connect(mlRedresser, &TkelpMenuLabel::clicked, this, [this] {
    editor_.StartTraceLevel();
    editor_.setFocus();
  });
  connect(seAngle, &QDoubleSpinBox::valueChanged, this, [this](double shown) {
    if (filling_) return;
    const double now = ShownAngle(editor_.Plan->Trace.angle);
    editor_.TurnTrace(-(shown - now));
  });
  connect(tbOpacite, &QSlider::valueChanged, this, [this](int value) {
    if (!filling_) editor_.SetTraceOpacity(static_cast<double>(value) / kOpacitySteps);
  });
  connect(cbAfficher, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) editor_.SetTraceVisible(on);
  });
  connect(cbVerrouiller, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) editor_.SetTraceLocked(on);
  });
  connect(mlRetirer, &TkelpMenuLabel::clicked, this, [this] { editor_.RemoveTrace(); });
  connect(&editor_, &TCasa::HistoryChanged, this, &CalquePanel::Refresh);
}

void CalquePanel::mlImporterCalqueClick() {
  const QString path = AskFile();
  if (path.isEmpty()) return;
  int page = 0;
  if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
    const int pages = PdfPageCount(path);
    if (pages > 1) {
      const auto chosen = AskPage(pages);
      if (!chosen) return;
      page = *chosen;
    }
  }
  window_.ShowEditor();
  if (const auto why = editor_.ImportTrace(path, page)) {
    window_.ShowError(QStringLiteral("Impossible d'importer « %1 » : %2.")
                          .arg(QDir::toNativeSeparators(path), *why));
    return;
  }
  editor_.setFocus();
}

void CalquePanel::Refresh() {
  const TTrace& trace = editor_.Plan->Trace;
  const bool shown = trace.Present();
  if (shown) {
    QScopedValueRollback<bool> filling(filling_, true);
    seAngle->setValue(ShownAngle(trace.angle));
    tbOpacite->setValue(static_cast<int>(std::lround(trace.opacity * kOpacitySteps)));
    cbAfficher->setChecked(trace.visible);
    cbVerrouiller->setChecked(trace.locked);
  }
  if (pCalque->isHidden() != !shown) {
    pCalque->setHidden(!shown);
    if (window_.SideMenu) window_.SideMenu->Layout(false);
  }
}

}  // namespace casavo
