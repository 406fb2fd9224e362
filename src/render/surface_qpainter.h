#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

#include "render/surface.h"

namespace casavo {

// Whether the surface spares work that leaves every pixel as it is: fonts
// and text layouts kept for the paint (each distinct text laid out once per
// font), and turns by whole turns skipped (Qt would make a rotation of 360
// degrees out of sines of rounding noise and draw the text the slow way).
enum class Shortcuts {
  kTaken,
  kNone,  // every primitive drawn from scratch, as asked
};

// The surface over a raster image. Drawing ends when the surface is destroyed;
// the image keeps what was drawn. Pens and brushes are built for each
// primitive from the values passed in and dropped afterwards. A paint writes
// thousands of texts in a few sizes, many of them alike ("3,60 m"): each font
// is made once, and each text measured and laid out once, for the life of the
// surface, which is one paint.
class QPainterSurface final : public Surface {
 public:
  explicit QPainterSurface(QImage& image, Shortcuts shortcuts = Shortcuts::kTaken);

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
  // A font at a whole pixel size, its metrics and the layouts of the texts
  // met in it.
  struct SizedFont {
    QFont font;
    QFontMetricsF metrics;
    std::unordered_map<QString, std::unique_ptr<QTextLayout>> layouts;
  };

  void Fill(const QPainterPath& shape, const Brush& brush);
  void Stroke(const QPainterPath& shape, const Pen& pen);
  // Null for a size below one pixel, which has no font.
  SizedFont* FontFor(const Font& font);
  // One line, not wrapped, its top-left corner at the layout's position.
  std::unique_ptr<QTextLayout> LaidOut(const QString& text, const SizedFont& sized);
  // The layout kept for the text, made when first measured or drawn.
  const QTextLayout& Kept(const QString& text, SizedFont& sized);

  QPainter painter_;
  const Shortcuts shortcuts_;
  std::map<std::pair<QString, int32_t>, SizedFont> fonts_;  // by family and pixels
};

}  // namespace casavo
