// QPainterSurface: the surface over a QPainter.

#include "render/surface_qpainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/numeric.h"
#include "render/text_layouts.h"

namespace casavo {

namespace {

QColor ToQColor(Argb colour) {
  return QColor::fromRgba(colour);
}

// On an image pens keep at least one device pixel: symbol lines are a
// millimetre wide in plan units, a twentieth of a pixel at the usual zoom, and
// must stay visible. Paper and vector devices take the width as it is.
double QtPenWidth(const Pen& pen, const QTransform& world, bool raster) {
  if (!raster) return pen.width;
  const double deviceWidth = pen.width * std::sqrt(std::abs(world.determinant()));
  return deviceWidth < 1 ? 0 : pen.width;  // 0: a one-pixel cosmetic pen
}

QPen ToQPen(const Pen& pen, const QTransform& world, bool raster) {
  QPen qpen(ToQColor(pen.colour));
  qpen.setWidthF(QtPenWidth(pen, world, raster));
  return qpen;
}

// Antialiasing touches at most a pixel beyond a shape's edge; one more for
// rounding.
constexpr double kEdgeMargin = 2;

// More than any text can take per character, in ems: glyph advances stay
// under one and a half.
constexpr double kEmsPerCharacterBound = 2;

QRectF BoxOf(const Path& path) {
  const auto& segments = path.Segments();
  if (segments.empty()) return {};
  int32_t left = segments[0].x1, right = left, top = segments[0].y1, bottom = top;
  for (const Segment& s : segments) {
    left = std::min({left, s.x1, s.x2});
    right = std::max({right, s.x1, s.x2});
    top = std::min({top, s.y1, s.y2});
    bottom = std::max({bottom, s.y1, s.y2});
  }
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QRectF BoxOf(double x1, double y1, double x2, double y2) {
  return QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}

// Where a text of this many characters at this pixel size may reach from its
// origin, whatever the font does.
double TextReach(const QString& text, int32_t pixels) {
  return pixels * kEmsPerCharacterBound * (text.size() + 2);
}

// A hatch brush paints its lines and the background between them in one
// fill: Qt's own diagonal pattern drawn in the line colour over a tile of the
// background colour.
QBrush HatchBrush(const Brush& brush) {
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(ToQColor(brush.background));
  QPainter painter(&tile);
  painter.fillRect(tile.rect(), QBrush(ToQColor(brush.colour), Qt::BDiagPattern));
  painter.end();
  return QBrush(tile);
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
    : bounds_(0, 0, image.width(), image.height()),
      painter_(&image),
      raster_(true),
      shortcuts_(shortcuts) {}

QPainterSurface::QPainterSurface(QImage& image, const QRegion& clip)
    : bounds_(0, 0, image.width(), image.height()),
      clip_(clip),
      painter_(&image),
      raster_(true),
      shortcuts_(Shortcuts::kTaken) {
  painter_.setClipRegion(clip);
}

QPainterSurface::QPainterSurface(QPaintDevice& device, const QTransform& toDevice)
    : bounds_(0, 0, device.width(), device.height()),
      painter_(&device),
      toDevice_(toDevice),
      raster_(device.devType() == QInternal::Image),
      shortcuts_(Shortcuts::kTaken),
      worldChanged_(true) {}

void QPainterSurface::ClipTo(const QRect& rect) {
  clip_ = QRegion(rect);
  painter_.setClipRect(rect);
}

bool QPainterSurface::OffImage(const QRectF& world, double margin) const {
  if (shortcuts_ == Shortcuts::kNone) return false;
  const QRectF device =
      (world_ * toDevice_).mapRect(world).adjusted(-margin, -margin, margin, margin);
  if (!device.intersects(bounds_)) return true;
  return !clip_.isEmpty() && !clip_.intersects(device.toAlignedRect());
}

double QPainterSurface::Reach(const Pen& pen) const {
  const double scale = std::sqrt(std::abs((world_ * toDevice_).determinant()));
  return std::max(pen.width * scale, 1.0) / 2 + kEdgeMargin;
}

void QPainterSurface::SetSmoothing(bool antialias) {
  painter_.setRenderHint(QPainter::Antialiasing, antialias);
  painter_.setRenderHint(QPainter::TextAntialiasing, antialias);
}

const QBrush& QPainterSurface::QtBrush(const Brush& brush) {
  const bool solid = brush.style == Brush::Style::kSolid;
  const auto key =
      std::make_tuple(brush.style, brush.colour, solid ? brush.colour : brush.background);
  auto found = brushes_.find(key);
  if (found != brushes_.end()) return found->second;
  QBrush qbrush = solid ? QBrush(ToQColor(brush.colour)) : HatchBrush(brush);
  // On an image the hatch tile stays in whole pixels: scaled, it would be
  // resampled into a grey blur.
  if (!solid && raster_) qbrush.setTransform(toDevice_.inverted());
  return brushes_.emplace(key, qbrush).first->second;
}

// Transforms reach the painter only when something is drawn: a text or
// symbol outside the image then costs Qt nothing.
void QPainterSurface::SyncTransform() {
  if (!worldChanged_) return;
  painter_.setWorldTransform(world_ * toDevice_);
  worldChanged_ = false;
}

void QPainterSurface::DrawPicture(const QImage& picture, const QTransform& toWorld,
                                  double opacity) {
  painter_.save();
  painter_.setWorldTransform(toWorld * world_ * toDevice_);
  painter_.setOpacity(opacity);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform);
  painter_.drawImage(0, 0, picture);
  painter_.restore();
}

void QPainterSurface::Fill(const QPainterPath& shape, const Brush& brush) {
  SyncTransform();
  painter_.fillPath(shape, QtBrush(brush));
}

void QPainterSurface::Stroke(const QPainterPath& shape, const Pen& pen) {
  SyncTransform();
  painter_.strokePath(shape, ToQPen(pen, world_ * toDevice_, raster_));
}

void QPainterSurface::FillPath(const Brush& brush, const Path& path) {
  if (OffImage(BoxOf(path), kEdgeMargin)) return;
  Fill(ToQPath(path), brush);
}

void QPainterSurface::DrawPath(const Pen& pen, const Path& path) {
  if (OffImage(BoxOf(path), Reach(pen))) return;
  Stroke(ToQPath(path), pen);
}

void QPainterSurface::UsePen(const Pen& pen) {
  SyncTransform();
  const auto key = std::make_pair(pen.colour, QtPenWidth(pen, world_ * toDevice_, raster_));
  auto found = pens_.find(key);
  if (found == pens_.end())
    found = pens_.emplace(key, ToQPen(pen, world_ * toDevice_, raster_)).first;
  painter_.setPen(found->second);
}

void QPainterSurface::DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) {
  if (OffImage(BoxOf(x1, y1, x2, y2), Reach(pen))) return;
  UsePen(pen);
  painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QPainterSurface::DrawRectangle(const Pen& pen, double x, double y, double width,
                                    double height) {
  if (OffImage(BoxOf(x, y, x + width, y + height), Reach(pen))) return;
  QPainterPath shape;
  shape.addRect(x, y, width, height);
  Stroke(shape, pen);
}

void QPainterSurface::FillRectangle(const Brush& brush, double x, double y, double width,
                                    double height) {
  if (OffImage(BoxOf(x, y, x + width, y + height), kEdgeMargin)) return;
  QPainterPath shape;
  shape.addRect(x, y, width, height);
  Fill(shape, brush);
}

void QPainterSurface::DrawArc(const Pen& pen, double x, double y, double width, double height,
                              double startAngle, double sweepAngle) {
  // Qt counts angles counter-clockwise on screen, the other way round.
  const QRectF box(x, y, width, height);
  if (OffImage(box.normalized(), Reach(pen))) return;
  QPainterPath shape;
  shape.arcMoveTo(box, -startAngle);
  shape.arcTo(box, -startAngle, -sweepAngle);
  Stroke(shape, pen);
}

// The same operations as QPainter's own, applied to the kept transform.
void QPainterSurface::Translate(double dx, double dy) {
  world_.translate(dx, dy);
  worldChanged_ = true;
}

void QPainterSurface::Rotate(double degrees) {
  if (shortcuts_ == Shortcuts::kTaken && std::fmod(degrees, 360.0) == 0) return;
  world_.rotate(degrees);
  worldChanged_ = true;
}

void QPainterSurface::Scale(double sx, double sy) {
  world_.scale(sx, sy);
  worldChanged_ = true;
}

void QPainterSurface::ResetTransform() {
  world_.reset();
  worldChanged_ = true;
}

// Qt sizes fonts in whole pixels; the painter only asks for whole sizes.
QPainterSurface::SizedFont* QPainterSurface::FontFor(const Font& font) {
  const int32_t pixels = RoundToInt(font.emSize);
  if (pixels < 1) return nullptr;
  const auto key = std::make_pair(font.family, pixels);
  // Texts come in runs of one size: measured, then drawn.
  if (lastFont_ && lastFont_->first == key) return &lastFont_->second;
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    QFont qfont(font.family);
    qfont.setPixelSize(pixels);
    found = fonts_.emplace(key, SizedFont{qfont, QFontMetricsF(qfont, painter_.device())}).first;
  }
  lastFont_ = &*found;
  return &found->second;
}

RectF QPainterSurface::MeasureText(const QString& text, const Font& font, double x, double y) {
  SizedFont* sized = FontFor(font);
  if (!sized) return {x, y, 0, 0};
  // A text this far outside the image is not drawn wherever its box would put
  // it: DrawText skips it even from an origin moved by half an estimated box,
  // since it tests half this reach. So it need not be laid out.
  const double reach = 2 * TextReach(text, sized->font.pixelSize());
  if (OffImage(QRectF(x - reach, y - reach, 2 * reach, 2 * reach), kEdgeMargin))
    return {x, y, 0, sized->metrics.height()};
  if (shortcuts_ == Shortcuts::kNone)
    return {x, y, sized->metrics.horizontalAdvance(text), sized->metrics.height()};
  return {x, y, KeptLayout(text, sized->font, painter_.device()).width, sized->metrics.height()};
}

void QPainterSurface::DrawText(const QString& text, const Font& font, double x, double y,
                               const Brush& brush) {
  SizedFont* sized = FontFor(font);
  if (!sized) return;
  const double reach = TextReach(text, sized->font.pixelSize());
  if (OffImage(QRectF(x - reach, y - reach, 2 * reach, 2 * reach), kEdgeMargin)) return;
  UsePen(Pen{brush.colour, 1});
  if (shortcuts_ == Shortcuts::kNone)
    LayOutLine(text, sized->font, painter_.device())->draw(&painter_, QPointF(x, y));
  else
    for (const QGlyphRun& run : KeptLayout(text, sized->font, painter_.device()).glyphs)
      painter_.drawGlyphRun(QPointF(x, y), run);
}

}  // namespace casavo
