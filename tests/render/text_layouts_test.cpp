// Tests of the kept text layouts.

#include "render/text_layouts.h"

#include <gtest/gtest.h>

#include <QImage>

namespace casavo {
namespace {

// Kept layouts measure like fresh ones, also after the store has filled up
// and started afresh, and sizes and resolutions are kept apart.
TEST(TextLayouts, KeptLayoutsMatchFreshOnes) {
  QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
  QFont small(QStringLiteral("Verdana"));
  small.setPixelSize(10);
  QFont large = small;
  large.setPixelSize(30);
  const QString text = QStringLiteral("3,60 m");
  const double fresh = LayOutLine(text, small, &image)->lineAt(0).horizontalAdvance();

  EXPECT_DOUBLE_EQ(KeptLayout(text, small, &image).width, fresh);
  EXPECT_EQ(&KeptLayout(text, small, &image), &KeptLayout(text, small, &image));
  EXPECT_GT(KeptLayout(text, large, &image).width, 2 * fresh);

  QImage dense(10, 10, QImage::Format_ARGB32_Premultiplied);
  dense.setDotsPerMeterX(2 * image.dotsPerMeterX());
  dense.setDotsPerMeterY(2 * image.dotsPerMeterY());
  EXPECT_NE(&KeptLayout(text, small, &dense), &KeptLayout(text, small, &image));

  for (size_t i = 0; i <= kMaxKeptLayouts; ++i) KeptLayout(QString::number(i), small, &image);
  const KeptText& again = KeptLayout(text, small, &image);
  EXPECT_DOUBLE_EQ(again.width, fresh);
  EXPECT_FALSE(again.glyphs.isEmpty());
}

}  // namespace
}  // namespace casavo
