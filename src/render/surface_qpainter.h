#pragma once

#include <QImage>
#include <QPainter>

#include "render/surface.h"

namespace casavo {

// The surface over a raster image. Drawing ends when the surface is destroyed;
// the image keeps what was drawn. Pens, brushes and fonts are built for each
// primitive from the values passed in and dropped afterwards.
class QPainterSurface final : public Surface {
 public:
  explicit QPainterSurface(QImage& image);

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
  void Fill(const QPainterPath& shape, const Brush& brush);
  void Stroke(const QPainterPath& shape, const Pen& pen);

  QPainter painter_;
};

}  // namespace casavo
