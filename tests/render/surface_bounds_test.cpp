// A repaint of part of the view leaves out every item whose box misses the
// region: a box that a drawn pixel falls outside of leaves a stale pixel.
#include "render/surface_bounds.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "render/surface_qpainter.h"

namespace casavo {
namespace {

// The smallest rectangle holding every pixel that is not white.
QRect InkOf(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST(BoundsSurface, BoxHoldsEveryPixelDrawn) {
  const struct {
    const char* what;
    std::function<void(Surface&)> draw;
  } cases[] = {
      {"thick line",
       [](Surface& s) {
         s.DrawLine(Pen{kBlack, 7}, 40, 50, 160, 90);
       }},
      {"arc in a turned frame",
       [](Surface& s) {
         s.Translate(100, 100);
         s.Rotate(33);
         s.Scale(0.05, 0.05);
         s.DrawArc(Pen{kBlack, 1}, 0, 0, 900, 900, 0, -90);
       }},
      {"hatched hexagon",
       [](Surface& s) {
         Path p;
         p.AddLine(60, 60, 140, 70);
         p.AddLine(140, 70, 150, 130);
         p.AddLine(150, 130, 70, 120);
         s.FillPath(Brush::Hatch(kBlack, kWhite), p);
       }},
      {"turned text with a box",
       [](Surface& s) {
         DrawTextRotated(s, QStringLiteral("12,35 m"), 14, 100, 100, 63, kBlack, kGreen);
       }},
      {"centred text",
       [](Surface& s) { DrawTextCentred(s, QStringLiteral(" A "), 12, 30, 170, kBlack, kGreen); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
      QPainterSurface surface(image);
      surface.SetSmoothing(true);
      c.draw(surface);
    }
    BoundsSurface bounds;
    c.draw(bounds);
    const QRect ink = InkOf(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(bounds.TakeUnion().contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  }
}

}  // namespace
}  // namespace casavo
