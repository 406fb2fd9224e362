// TkelpMenu: the side accordion menu's painting and layout.

#include "ui/kelp_menu.h"

#include <QFileInfo>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

namespace casavo {
namespace {

void SetWindowColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// Fills the 4-connected area of the seed's colour; the zigzag edges are
// chains of diagonal pixels, which such a fill cannot cross.
void FloodFill(QImage& image, QPoint seed, QRgb colour) {
  if (!image.valid(seed)) return;
  const QRgb target = image.pixel(seed);
  if (target == colour) return;
  std::vector<QPoint> pending{seed};
  while (!pending.empty()) {
    const QPoint p = pending.back();
    pending.pop_back();
    if (!image.valid(p) || image.pixel(p) != target) continue;
    image.setPixel(p, colour);
    pending.insert(pending.end(),
                   {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
  }
}

}  // namespace

// ---- TkelpMenuItem ----

TkelpMenuItem::TkelpMenuItem(TkelpMenu* menu, bool expanded, const QString& title, QWidget* panel)
    : QWidget(menu->widget()),
      Title(title),
      Expanded(expanded),
      WantExpanded(expanded),
      menu_(menu),
      panel_(panel) {
  // Reparenting hides a widget; only a panel its owner hid stays hidden.
  const bool hidden = panel->testAttribute(Qt::WA_WState_ExplicitShowHide) && panel->isHidden();
  panel->setParent(this);
  panel->setHidden(hidden);
  if (auto* frame = qobject_cast<QFrame*>(panel)) frame->setFrameShape(QFrame::NoFrame);
  SetWindowColour(panel, Qt::white);
  // The panel would otherwise inherit the hand pointer of the header band.
  if (!panel->testAttribute(Qt::WA_SetCursor)) panel->setCursor(Qt::ArrowCursor);
  ContentHeight = panel->height();
  setMouseTracking(true);
}

int TkelpMenuItem::BandHeight() const {
  return menu_->HeaderHeight + 2 * menu_->FrameWidth;
}

void TkelpMenuItem::PlacePanel() {
  panel_->setGeometry(menu_->FrameWidth, BandHeight(), panel_->width(), ContentHeight);
}

void TkelpMenuItem::Paint() {
  // Drawn once per size change: the header is the same until the section folds,
  // unfolds or is resized.
  if (image_.size() == size()) return;
  image_ = QImage(size(), QImage::Format_RGB32);
  if (image_.isNull()) return;
  if (menu_->ZigzagSize > 0) {
    DrawZigzagEdges();
  } else {
    image_.fill(menu_->ItemColor);
  }

  QPainter painter(&image_);
  DrawIcon(painter);
  if (Expanded) {
    painter.setPen(QPen(menu_->TextColor, 1));
    painter.drawLine(6, 30, width() - 6, 30);
  }
  QFont titleFont = font();
  titleFont.setBold(true);
  titleFont.setPointSize(10);
  painter.setFont(titleFont);
  painter.setPen(menu_->TextColor);
  painter.drawText(menu_->TextX, menu_->TextY + painter.fontMetrics().ascent(), Title);
  DrawExpandGlyph(painter);
}

void TkelpMenuItem::DrawZigzagEdges() {
  const int b = menu_->ZigzagSize;
  const QRgb colour = menu_->ItemColor.rgb();
  const int w = image_.width();
  const int h = image_.height();
  image_.fill(TkelpMenu::kBackground);
  auto depth = [b](int t) { return std::abs(t % (2 * b) - b); };
  auto plot = [&](int x, int y) {
    if (image_.valid(x, y)) image_.setPixel(x, y, colour);
  };
  for (int x = 0; x < w; ++x) {
    plot(x, depth(x));
    plot(x, h - 1 - depth(x));
  }
  for (int y = 0; y < h; ++y) {
    plot(depth(y), y);
    plot(w - 1 - depth(y), y);
  }
  FloodFill(image_, QPoint(10, 10), colour);
}

void TkelpMenuItem::DrawIcon(QPainter& painter) const {
  const QString folder = menu_->IconFolder;
  QString path = folder + "icone " + Title + ".bmp";
  if (!QFileInfo::exists(path)) path = folder + "icone defaut.bmp";
  if (!QFileInfo::exists(path) && !menu_->DefaultIconName.isEmpty()) {
    path = folder + menu_->DefaultIconName;
  }
  QImage icon;
  if (icon.load(path)) painter.drawImage(menu_->IconX, menu_->IconY, icon);
}

void TkelpMenuItem::DrawExpandGlyph(QPainter& painter) const {
  const int w = width();
  QImage glyph;
  if (glyph.load(menu_->IconFolder + (Expanded ? "updown1.bmp" : "updown.bmp"))) {
    painter.drawImage(w - 40, 6, glyph);
    return;
  }
  painter.setPen(QPen(Qt::black, 2));
  const int d = Expanded ? 2 : -2;  // chevrons point up while expanded
  for (int c : {10, 5}) {
    const QPoint chevron[] = {{w - 20, c + d}, {w - 16, c - d}, {w - 12, c + d}};
    painter.drawPolyline(chevron, 3);
  }
}

void TkelpMenuItem::paintEvent(QPaintEvent*) {
  Paint();
  QPainter(this).drawImage(0, 0, image_);
}

void TkelpMenuItem::resizeEvent(QResizeEvent*) {
  PlacePanel();
}

void TkelpMenuItem::mouseMoveEvent(QMouseEvent* event) {
  if (event->position().y() < BandHeight()) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

void TkelpMenuItem::mousePressEvent(QMouseEvent* event) {
  if (event->position().y() >= BandHeight()) return;
  WantExpanded = !WantExpanded;
  menu_->Resize();
}

// ---- TkelpMenu ----

TkelpMenu::TkelpMenu(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SetWindowColour(viewport(), kBackground);
  SetWindowColour(content_, kBackground);
  setWidget(content_);
}

TkelpMenuItem* TkelpMenu::AddItem(QWidget* panel, const QString& title, bool expanded) {
  auto* section = new TkelpMenuItem(this, expanded, title, panel);
  section->show();
  sections_.push_back(section);
  return section;
}

bool TkelpMenu::LayoutContent(TkelpMenuItem* section) {
  int y = 4;
  for (QObject* child : section->Panel()->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (!control || control->isWindow() || control->isHidden()) continue;
    control->move(control->x(), y);
    y += control->height() + 4;
  }
  const bool changed = y != section->ContentHeight;
  section->ContentHeight = y;
  return changed;
}

bool TkelpMenu::SectionChanged(const TkelpMenuItem* section) const {
  return section->Panel()->isHidden() != section->isHidden() ||
         section->Expanded != section->WantExpanded;
}

void TkelpMenu::Layout(bool force) {
  const bool changed = std::any_of(sections_.begin(), sections_.end(),
                                   [this](const TkelpMenuItem* s) { return SectionChanged(s); });
  if (!force && !changed) return;

  verticalScrollBar()->setValue(0);
  int y = 0;
  for (TkelpMenuItem* section : sections_) {
    const bool hidden = section->Panel()->isHidden();
    section->setHidden(hidden);
    section->Expanded = section->WantExpanded;
    if (hidden) {
      section->move(section->x(), 0);
      continue;
    }
    const int top = Margin + y;
    const int height = section->Expanded ? HeaderHeight + section->ContentHeight + 3 * FrameWidth
                                         : HeaderHeight + 2 * FrameWidth;
    section->setGeometry(Margin, top, section->Panel()->width() + 2 * FrameWidth, height);
    section->PlacePanel();
    y = top + height;
  }
  contentBottom_ = y;
  FitContent();
}

void TkelpMenu::FitContent() {
  // As wide as the view (no horizontal scrolling), as high as the sections
  // plus the same margin below the last one as above the first.
  content_->resize(viewport()->width(), contentBottom_ + Margin);
}

void TkelpMenu::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  Resize();
}

bool TkelpMenu::viewportEvent(QEvent* event) {
  // The view narrows when the scroll bar appears.
  if (event->type() == QEvent::Resize) FitContent();
  return QScrollArea::viewportEvent(event);
}

}  // namespace casavo
