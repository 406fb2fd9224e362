#include "ui/tip_bar.h"

#include <QCheckBox>
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
  show();
  return true;
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
