#include "render/surface_qpainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

#include "common/numeric.h"

namespace casavo {

namespace {

QColor ToQColor(Argb colour) {
  return QColor::fromRgba(colour);
}

// Pens keep at least one device pixel: symbol lines are a millimetre wide in
// plan units, a twentieth of a pixel at the usual zoom, and must stay visible.
QPen ToQPen(const Pen& pen, const QTransform& world) {
  QPen qpen(ToQColor(pen.colour));
  const double deviceWidth = pen.width * std::sqrt(std::abs(world.determinant()));
  qpen.setWidthF(deviceWidth < 1 ? 0 : pen.width);  // 0: a one-pixel cosmetic pen
  return qpen;
}

QPainterPath ToQPath(const Path& path) {
  QPainterPath qpath;
  qpath.setFillRule(Qt::OddEvenFill);
  bool first = true;
  for (const Segment& s : path.Segments()) {
    const QPointF start(s.x1, s.y1);
    if (first)
      qpath.moveTo(start);
    else if (qpath.currentPosition() != start)
      qpath.lineTo(start);
    qpath.lineTo(s.x2, s.y2);
    first = false;
  }
  return qpath;
}

}  // namespace

QPainterSurface::QPainterSurface(QImage& image, Shortcuts shortcuts)
    : painter_(&image), shortcuts_(shortcuts) {}

void QPainterSurface::SetSmoothing(bool antialias) {
  painter_.setRenderHint(QPainter::Antialiasing, antialias);
  painter_.setRenderHint(QPainter::TextAntialiasing, antialias);
}

void QPainterSurface::Fill(const QPainterPath& shape, const Brush& brush) {
  if (brush.style == Brush::Style::kSolid) {
    painter_.fillPath(shape, ToQColor(brush.colour));
    return;
  }
  // A Qt pattern brush leaves the gaps between its lines untouched.
  painter_.fillPath(shape, ToQColor(brush.background));
  painter_.fillPath(shape, QBrush(ToQColor(brush.colour), Qt::BDiagPattern));
}

void QPainterSurface::Stroke(const QPainterPath& shape, const Pen& pen) {
  painter_.strokePath(shape, ToQPen(pen, painter_.worldTransform()));
}

void QPainterSurface::FillPath(const Brush& brush, const Path& path) {
  Fill(ToQPath(path), brush);
}

void QPainterSurface::DrawPath(const Pen& pen, const Path& path) {
  Stroke(ToQPath(path), pen);
}

void QPainterSurface::DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) {
  painter_.setPen(ToQPen(pen, painter_.worldTransform()));
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QPainterSurface::DrawRectangle(const Pen& pen, double x, double y, double width,
                                    double height) {
  QPainterPath shape;
  shape.addRect(x, y, width, height);
  Stroke(shape, pen);
}

void QPainterSurface::FillRectangle(const Brush& brush, double x, double y, double width,
                                    double height) {
  QPainterPath shape;
  shape.addRect(x, y, width, height);
  Fill(shape, brush);
}

void QPainterSurface::DrawArc(const Pen& pen, double x, double y, double width, double height,
                              double startAngle, double sweepAngle) {
  // Qt counts angles counter-clockwise on screen, the other way round.
  const QRectF box(x, y, width, height);
  QPainterPath shape;
  shape.arcMoveTo(box, -startAngle);
  shape.arcTo(box, -startAngle, -sweepAngle);
  Stroke(shape, pen);
}

void QPainterSurface::Translate(double dx, double dy) {
  painter_.translate(dx, dy);
}

void QPainterSurface::Rotate(double degrees) {
  if (shortcuts_ == Shortcuts::kTaken && std::fmod(degrees, 360.0) == 0) return;
  painter_.rotate(degrees);
}

void QPainterSurface::Scale(double sx, double sy) {
  painter_.scale(sx, sy);
}

void QPainterSurface::ResetTransform() {
  painter_.resetTransform();
}

// Qt sizes fonts in whole pixels; the painter only asks for whole sizes.
QPainterSurface::SizedFont* QPainterSurface::FontFor(const Font& font) {
  const int32_t pixels = RoundToInt(font.emSize);
  if (pixels < 1) return nullptr;
  const auto key = std::make_pair(font.family, pixels);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    QFont qfont(font.family);
    qfont.setPixelSize(pixels);
    found =
        fonts_.emplace(key, SizedFont{qfont, QFontMetricsF(qfont, painter_.device()), {}}).first;
  }
  return &found->second;
}

std::unique_ptr<QTextLayout> QPainterSurface::LaidOut(const QString& text, const SizedFont& sized) {
  auto layout = std::make_unique<QTextLayout>(text, sized.font, painter_.device());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  layout->createLine();
  layout->endLayout();
  return layout;
}

const QTextLayout& QPainterSurface::Kept(const QString& text, SizedFont& sized) {
  std::unique_ptr<QTextLayout>& layout = sized.layouts[text];
  if (!layout) layout = LaidOut(text, sized);
  return *layout;
}

RectF QPainterSurface::MeasureText(const QString& text, const Font& font, double x, double y) {
  SizedFont* sized = FontFor(font);
  if (!sized) return {x, y, 0, 0};
  if (shortcuts_ == Shortcuts::kNone)
    return {x, y, sized->metrics.horizontalAdvance(text), sized->metrics.height()};
  return {x, y, Kept(text, *sized).lineAt(0).horizontalAdvance(), sized->metrics.height()};
}

void QPainterSurface::DrawText(const QString& text, const Font& font, double x, double y,
                               const Brush& brush) {
  SizedFont* sized = FontFor(font);
  if (!sized) return;
  painter_.setPen(ToQColor(brush.colour));
  if (shortcuts_ == Shortcuts::kNone)
    LaidOut(text, *sized)->draw(&painter_, QPointF(x, y));
  else
    Kept(text, *sized).draw(&painter_, QPointF(x, y));
}

}  // namespace casavo
