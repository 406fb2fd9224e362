// A drawing surface that paints nothing and records the box each primitive could touch.
#pragma once

#include <QRect>
#include <QTransform>
#include <cstddef>
#include <vector>

#include "render/surface.h"

namespace casavo {

// A surface that draws nothing and tells where the primitives drawn on it
// would change pixels: for each one a box in whole pixels that holds every
// pixel it could touch, antialiasing, pen width and any text layout included.
class BoundsSurface final : public Surface {
 public:
  // One primitive: its box and a tag that tells apart primitives of
  // different kinds, colours or texts with the same box.
  struct Mark {
    QRect box;
    size_t tag = 0;
    friend bool operator==(const Mark& a, const Mark& b) {
      return a.box == b.box && a.tag == b.tag;
    }
  };

  // The union of the boxes since the last call, emptied.
  QRect TakeUnion();
  // Each box since the last call, in drawing order, emptied.
  std::vector<Mark> TakeMarks();

  void SetSmoothing(bool) override {}
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
  void Add(const QRectF& world, double margin, size_t tag);
  double PenReach(const Pen& pen) const;

  QTransform world_;
  QRect union_;
  std::vector<Mark> marks_;
};

}  // namespace casavo
