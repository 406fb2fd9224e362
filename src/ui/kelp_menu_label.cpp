// TkelpMenuLabel: a clickable command of the side menu.

#include "ui/kelp_menu_label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace casavo {

TkelpMenuLabel::TkelpMenuLabel(QWidget* parent) : QWidget(parent) {
  resize(100, 16);
}

void TkelpMenuLabel::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void TkelpMenuLabel::SetGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  update();
}

QFont TkelpMenuLabel::CaptionFont() const {
  QFont captionFont = font();
  captionFont.setUnderline(hot_);
  return captionFont;
}

QRect TkelpMenuLabel::TextRect() const {
  const int left = glyph_.width() + 4;
  const QRect area(left, 0, std::max(0, width() - left), height());
  const int h = QFontMetrics(CaptionFont())
                    .boundingRect(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, caption_)
                    .height();
  return QRect(left, (height() - h) / 2, area.width(), h);
}

void TkelpMenuLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!glyph_.isNull()) painter.drawPixmap(0, (height() - glyph_.height()) / 2, glyph_);
  painter.setFont(CaptionFont());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(TextRect(), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, caption_);
}

void TkelpMenuLabel::enterEvent(QEnterEvent*) {
  hot_ = true;
  setCursor(Qt::PointingHandCursor);
  update();
}

void TkelpMenuLabel::leaveEvent(QEvent*) {
  hot_ = false;
  unsetCursor();
  update();
}

void TkelpMenuLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void TkelpMenuLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release both on the label, as with a button.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

}  // namespace casavo
