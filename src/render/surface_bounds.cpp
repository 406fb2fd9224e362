// A drawing surface that paints nothing and records the box each primitive could touch.
#include "render/surface_bounds.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace casavo {
namespace {

// Antialiasing reaches a pixel beyond an edge; the rest is for rounding.
constexpr double kEdge = 3;
// More than a glyph advances, in ems, and more than a line's height.
constexpr double kEmsPerCharacter = 2;

enum Kind : size_t { kFill = 1, kStroke, kText };

size_t Tag(Kind kind, Argb colour, size_t more = 0) {
  return (more * 31 + colour) * 7 + kind;
}

QRectF BoxOf(const Path& path) {
  const auto& segments = path.Segments();
  if (segments.empty()) return {};
  double left = segments[0].x1, right = left, top = segments[0].y1, bottom = top;
  for (const Segment& s : segments) {
    left = std::min({left, double(s.x1), double(s.x2)});
    right = std::max({right, double(s.x1), double(s.x2)});
    top = std::min({top, double(s.y1), double(s.y2)});
    bottom = std::max({bottom, double(s.y1), double(s.y2)});
  }
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

}  // namespace

QRect BoundsSurface::TakeUnion() {
  marks_.clear();
  return std::exchange(union_, QRect());
}

std::vector<BoundsSurface::Mark> BoundsSurface::TakeMarks() {
  union_ = QRect();
  return std::exchange(marks_, {});
}

void BoundsSurface::Add(const QRectF& world, double margin, size_t tag) {
  const QRect box =
      world_.mapRect(world.normalized()).adjusted(-margin, -margin, margin, margin).toAlignedRect();
  union_ = union_.united(box);
  marks_.push_back({box, tag});
}

double BoundsSurface::PenReach(const Pen& pen) const {
  const double scale = std::sqrt(std::abs(world_.determinant()));
  return std::max(pen.width * scale, 1.0) / 2 + kEdge;
}

void BoundsSurface::FillPath(const Brush& brush, const Path& path) {
  if (path.Segments().empty()) return;
  Add(BoxOf(path), kEdge, Tag(kFill, brush.colour, brush.background));
}

void BoundsSurface::DrawPath(const Pen& pen, const Path& path) {
  if (path.Segments().empty()) return;
  Add(BoxOf(path), PenReach(pen), Tag(kStroke, pen.colour));
}

void BoundsSurface::DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) {
  Add(QRectF(QPointF(x1, y1), QPointF(x2, y2)), PenReach(pen), Tag(kStroke, pen.colour));
}

void BoundsSurface::DrawRectangle(const Pen& pen, double x, double y, double width, double height) {
  Add(QRectF(x, y, width, height), PenReach(pen), Tag(kStroke, pen.colour));
}

void BoundsSurface::FillRectangle(const Brush& brush, double x, double y, double width,
                                  double height) {
  Add(QRectF(x, y, width, height), kEdge, Tag(kFill, brush.colour, brush.background));
}

void BoundsSurface::DrawArc(const Pen& pen, double x, double y, double width, double height, double,
                            double) {
  // The whole ellipse holds any arc of it.
  Add(QRectF(x, y, width, height), PenReach(pen), Tag(kStroke, pen.colour));
}

void BoundsSurface::Translate(double dx, double dy) {
  world_.translate(dx, dy);
}

void BoundsSurface::Rotate(double degrees) {
  world_.rotate(degrees);
}

void BoundsSurface::Scale(double sx, double sy) {
  world_.scale(sx, sy);
}

void BoundsSurface::ResetTransform() {
  world_.reset();
}

// No layout: a width of nothing, and DrawText reaches far enough around its
// origin to hold a text moved by half its real width.
RectF BoundsSurface::MeasureText(const QString&, const Font&, double x, double y) {
  return {x, y, 0, 0};
}

void BoundsSurface::DrawText(const QString& text, const Font& font, double x, double y,
                             const Brush& brush) {
  const double pixels = std::max(1.0, std::round(font.emSize));
  const double reach = pixels * kEmsPerCharacter * (static_cast<double>(text.size()) + 2);
  Add(QRectF(x - reach, y - reach, 2 * reach, 2 * reach), kEdge,
      Tag(kText, brush.colour, std::hash<QString>()(text)));
}

}  // namespace casavo
