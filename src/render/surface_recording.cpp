// RecordingSurface: logs each primitive for the tests.

#include "render/surface_recording.h"

#include <utility>

namespace casavo {

RecordedOp& RecordingSurface::Add(RecordedOp::Kind kind, std::vector<double> coords) {
  RecordedOp& op = ops_.emplace_back();
  op.kind = kind;
  op.coords = std::move(coords);
  op.transform = transform_;
  return op;
}

RecordedOp& RecordingSurface::Add(RecordedOp::Kind kind, std::vector<double> coords,
                                  const Pen& pen) {
  RecordedOp& op = Add(kind, std::move(coords));
  op.colour = pen.colour;
  op.width = pen.width;
  return op;
}

RecordedOp& RecordingSurface::Add(RecordedOp::Kind kind, std::vector<double> coords,
                                  const Brush& brush) {
  RecordedOp& op = Add(kind, std::move(coords));
  op.colour = brush.colour;
  op.brushStyle = brush.style;
  op.background = brush.background;
  return op;
}

void RecordingSurface::SetSmoothing(bool antialias) {
  Add(RecordedOp::Kind::kSmoothing, {}).smoothing = antialias;
}

void RecordingSurface::FillPath(const Brush& brush, const Path& path) {
  Add(RecordedOp::Kind::kFillPath, {}, brush).segments = path.Segments();
}

void RecordingSurface::DrawPath(const Pen& pen, const Path& path) {
  Add(RecordedOp::Kind::kDrawPath, {}, pen).segments = path.Segments();
}

void RecordingSurface::DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) {
  Add(RecordedOp::Kind::kLine, {x1, y1, x2, y2}, pen);
}

void RecordingSurface::DrawRectangle(const Pen& pen, double x, double y, double width,
                                     double height) {
  Add(RecordedOp::Kind::kRectangle, {x, y, width, height}, pen);
}

void RecordingSurface::FillRectangle(const Brush& brush, double x, double y, double width,
                                     double height) {
  Add(RecordedOp::Kind::kFillRectangle, {x, y, width, height}, brush);
}

void RecordingSurface::DrawArc(const Pen& pen, double x, double y, double width, double height,
                               double startAngle, double sweepAngle) {
  RecordedOp& op = Add(RecordedOp::Kind::kArc, {x, y, width, height}, pen);
  op.startAngle = startAngle;
  op.sweepAngle = sweepAngle;
}

void RecordingSurface::Translate(double dx, double dy) {
  transform_.translate(dx, dy);
}

void RecordingSurface::Rotate(double degrees) {
  transform_.rotate(degrees);
}

void RecordingSurface::Scale(double sx, double sy) {
  transform_.scale(sx, sy);
}

void RecordingSurface::ResetTransform() {
  transform_.reset();
}

RectF RecordingSurface::MeasureText(const QString& text, const Font& font, double x, double y) {
  return {x, y, text.size() * kCharWidthEm * font.emSize, kLineHeightEm * font.emSize};
}

void RecordingSurface::DrawText(const QString& text, const Font& font, double x, double y,
                                const Brush& brush) {
  RecordedOp& op = Add(RecordedOp::Kind::kText, {x, y}, brush);
  op.text = text;
  op.font = font;
}

}  // namespace casavo
