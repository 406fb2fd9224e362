// Small widgets of the property panels.

#include "ui/panel_widgets.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace casavo {
namespace {

constexpr int kLeft = 6;
constexpr int kRowGap = 4;
constexpr int kCaptionWidth = 78;

// Controls without a preferred size keep the height they were given.
int PreferredHeight(const QWidget* control) {
  const QSize hint = control->sizeHint();
  return hint.isValid() ? hint.height() : control->height();
}

}  // namespace

// ---- ColourBox ----

ColourBox::ColourBox(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
  setCursor(Qt::PointingHandCursor);
}

void ColourBox::SetColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void ColourBox::paintEvent(QPaintEvent* event) {
  QPainter(this).fillRect(contentsRect(), colour_);
  QFrame::paintEvent(event);
}

void ColourBox::mousePressEvent(QMouseEvent*) {
  emit pressed();
}

// ---- PanelStack ----

PanelStack::PanelStack(QWidget* panel, int width) : panel_(panel), width_(width), y_(kRowGap) {}

void PanelStack::Full(QWidget* control) {
  control->setParent(panel_);
  const int h = PreferredHeight(control);
  control->setGeometry(kLeft, y_, width_ - 2 * kLeft, h);
  y_ += control->height() + kRowGap;
}

void PanelStack::Pair(const QString& caption, QWidget* control) {
  auto* label = new QLabel(caption, panel_);
  control->setParent(panel_);
  const int h = std::max(label->sizeHint().height(), PreferredHeight(control));
  label->setGeometry(kLeft, y_, kCaptionWidth, h);
  const int x = kLeft + kCaptionWidth;
  control->setGeometry(x, y_, width_ - kLeft - x, h);
  y_ += h + kRowGap;
}

void PanelStack::Finish() {
  panel_->resize(width_, y_);
}

// ---- EditorArea ----

EditorArea::EditorArea(QWidget* parent) : QWidget(parent) {}

void EditorArea::SetEditor(QWidget* editor) {
  editor_ = editor;
  editor->setParent(this);
  editor->show();
  Place();
}

void EditorArea::SetWebView(QWidget* webView) {
  webView_ = webView;
  webView->setParent(this);
  webView->show();
  Place();
}

void EditorArea::ShowWebView(bool shown) {
  webShown_ = shown;
  Place();
  if (shown && webView_) webView_->raise();
}

void EditorArea::resizeEvent(QResizeEvent*) {
  Place();
}

void EditorArea::Place() {
  if (editor_) editor_->setGeometry(rect());
  if (webView_) webView_->setGeometry(webShown_ ? rect() : QRect(0, 0, 0, 0));
}

}  // namespace casavo
