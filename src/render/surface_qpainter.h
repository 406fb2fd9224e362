// QPainterSurface: draws the primitives with QPainter.

#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>

#include "render/surface.h"

namespace casavo {

// Whether the surface spares work that leaves every pixel as it is: fonts,
// brushes and pens kept for the paint, text layouts kept from paint to paint
// (render/text_layouts.h), turns by whole turns skipped (Qt would make a rotation of 360
// degrees out of sines of rounding noise and draw the text the slow way), and
// primitives that lie wholly outside the image skipped before Qt strokes,
// fills or lays them out (most of a large plan when the view shows a part).
enum class Shortcuts {
  kTaken,
  kNone,  // every primitive drawn from scratch, as asked
};

// The surface over a raster image, or any other paint device, for one paint.
// Drawing ends when the surface is destroyed; the device keeps what was drawn.
class QPainterSurface final : public Surface {
 public:
  explicit QPainterSurface(QImage& image, Shortcuts shortcuts = Shortcuts::kTaken);
  // Paints only inside clip, on an image that already holds the rest: what
  // lies wholly outside clip is skipped like what lies outside the image.
  QPainterSurface(QImage& image, const QRegion& clip);
  // World units map to the device through toDevice. Pens keep their width on
  // every device but a raster image, where thinner than a pixel means one pixel.
  QPainterSurface(QPaintDevice& device, const QTransform& toDevice);
  // Paints only inside rect of the device from now on, as antialiased on the
  // whole device: what lies wholly outside rect is skipped.
  void ClipTo(const QRect& rect);

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
  void DrawPicture(const QImage& picture, const QTransform& toWorld, double opacity) override;

 private:
  // A font at a whole pixel size and its metrics.
  struct SizedFont {
    QFont font;
    QFontMetricsF metrics;
  };

  // True when the world box, grown by margin device pixels, misses the
  // image: nothing drawn inside it could change a pixel.
  bool OffImage(const QRectF& world, double margin) const;
  // Device pixels a pen reaches beyond its line, antialiasing included.
  double Reach(const Pen& pen) const;
  // Sets the pen unless it is the one already set: Qt sets a pen or brush up
  // again whenever it is not the very same object as the last one, and the
  // hatch pattern is rebuilt each time.
  void UsePen(const Pen& pen);
  void SyncTransform();
  const QBrush& QtBrush(const Brush& brush);
  void Fill(const QPainterPath& shape, const Brush& brush);
  void Stroke(const QPainterPath& shape, const Pen& pen);
  // Null for a size below one pixel, which has no font.
  SizedFont* FontFor(const Font& font);

  const QRectF bounds_;  // the image, in device pixels
  QRegion clip_;         // empty: the whole image
  QPainter painter_;
  const QTransform toDevice_;
  const bool raster_;
  const Shortcuts shortcuts_;
  std::map<std::tuple<Brush::Style, Argb, Argb>, QBrush> brushes_;
  std::map<std::pair<Argb, double>, QPen> pens_;  // by colour and Qt width
  QTransform world_;                              // drawn with from the next primitive on
  bool worldChanged_ = false;
  std::map<std::pair<QString, int32_t>, SizedFont> fonts_;  // by family and pixels
  std::pair<const std::pair<QString, int32_t>, SizedFont>* lastFont_ = nullptr;
};

}  // namespace casavo
