// RecordingSurface and RecordedOp: the surface painter tests read.

#pragma once

#include <QTransform>
#include <vector>

#include "render/surface.h"

namespace casavo {

// One primitive as the painter asked for it.
struct RecordedOp {
  enum class Kind {
    kSmoothing,
    kFillPath,
    kDrawPath,
    kLine,
    kRectangle,
    kFillRectangle,
    kArc,
    kText,
  };

  Kind kind = Kind::kLine;
  // Line: x1 y1 x2 y2. Rectangles and arcs: x y width height. Text: x y.
  std::vector<double> coords;
  std::vector<Segment> segments;  // paths
  double startAngle = 0;
  double sweepAngle = 0;
  // The pen, or the brush's fill or hatch-line colour.
  Argb colour = 0;
  double width = 0;  // pens only
  Brush::Style brushStyle = Brush::Style::kSolid;
  Argb background = 0;  // brushes only
  QString text;
  Font font;
  bool smoothing = false;
  // The world transform in force when the primitive was drawn.
  QTransform transform;
};

// A surface that draws nothing and logs every primitive with its arguments, so
// that tests can assert what the painter drew. Text is measured with fixed
// metrics (each character 0.5 em wide, the line 1.25 em high) so that layouts
// do not depend on the fonts installed.
class RecordingSurface final : public Surface {
 public:
  static constexpr double kCharWidthEm = 0.5;
  static constexpr double kLineHeightEm = 1.25;

  const std::vector<RecordedOp>& Ops() const { return ops_; }
  const QTransform& Transform() const { return transform_; }

  void SetSmoothing(bool antialias) override;
  void FillPath(const Brush& brush, const Path& path) override;
  void DrawPath(const Pen& pen, const Path& path) override;
  void DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) override;
  void DrawRectangle(const Pen& pen, double x, double y, double width, double height) override;
  void FillRectangle(const Brush& brush, double x, double y, double width, double height) override;
  void DrawArc(const Pen& pen, double x, double y, double width, double height, double startAngle,
               double sweepAngle) override;
  void Translate(double dx, double dy) override;
  void Rotate(double degrees) override;
  void Scale(double sx, double sy) override;
  void ResetTransform() override;
  RectF MeasureText(const QString& text, const Font& font, double x, double y) override;
  void DrawText(const QString& text, const Font& font, double x, double y,
                const Brush& brush) override;

 private:
  RecordedOp& Add(RecordedOp::Kind kind, std::vector<double> coords);
  RecordedOp& Add(RecordedOp::Kind kind, std::vector<double> coords, const Pen& pen);
  RecordedOp& Add(RecordedOp::Kind kind, std::vector<double> coords, const Brush& brush);

  std::vector<RecordedOp> ops_;
  QTransform transform_;
};

}  // namespace casavo
