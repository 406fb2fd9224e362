// TipBar: a tip shown in a bar over the plan.

#include "ui/tip_bar.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "files/file_io.h"
#include "files/settings.h"
#include "ui/aide.h"

namespace casavo {

TipBar::TipBar(QWidget* parent)
    : QFrame(parent),
      label_(new QLabel(this)),
      never_(new QCheckBox(QStringLiteral("Ne plus afficher"), this)),
      close_(new QToolButton(this)) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(255, 250, 205));
  setPalette(palette);
  label_->setWordWrap(true);
  close_->setText(QStringLiteral("✕"));
  close_->setToolTip(QStringLiteral("Fermer"));
  close_->setAutoRaise(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 4, 4, 4);
  row->addWidget(label_, 1);
  row->addWidget(never_);
  row->addWidget(close_);
  connect(close_, &QToolButton::clicked, this, &QWidget::hide);
  if (parent) parent->installEventFilter(this);
  connect(never_, &QCheckBox::toggled, this, [this](bool ticked) {
    if (ticked) Remember();
  });
  hide();
}

bool TipBar::ShowTip(const QString& text) {
  if (ReadSetting(AideKey(text)) == "1") return false;
  text_ = text;
  label_->setText(text);
  never_->setChecked(false);
  FitWidth();
  show();
  raise();
  return true;
}

void TipBar::FitWidth() {
  if (QWidget* area = parentWidget()) {
    const int height = heightForWidth(area->width());
    setGeometry(0, 0, area->width(), height > 0 ? height : sizeHint().height());
  }
}

bool TipBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) FitWidth();
  return QFrame::eventFilter(watched, event);
}

QString TipBar::Text() const {
  return isHidden() ? QString() : text_;
}

void TipBar::Remember() {
  try {
    WriteSetting(AideKey(text_), "1");
  } catch (const FileError&) {
    // The settings reporter has said why; the tip just shows again next time.
  }
  hide();
}

}  // namespace casavo
