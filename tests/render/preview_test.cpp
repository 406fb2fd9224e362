// Tests of the PNG preview.

#include "render/preview.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QtEndian>

#include "common/errors.h"
#include "render/render_test_util.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

using namespace casavo::testing;

struct PngChunk {
  QByteArray type;
  QByteArray data;
};

// The chunks of a PNG stream, or nothing when the signature is wrong.
std::vector<PngChunk> Chunks(const QByteArray& png) {
  static const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
  std::vector<PngChunk> chunks;
  if (!png.startsWith(kSignature)) return chunks;
  for (qsizetype at = 8; at + 12 <= png.size();) {
    const auto length = qFromBigEndian<quint32>(png.constData() + at);
    chunks.push_back({png.mid(at + 4, 4), png.mid(at + 8, length)});
    at += 12 + length;
  }
  return chunks;
}

// Walls round the rectangle 5000..15000 x 5000..10000.
std::unique_ptr<TCasaPlan> House() {
  auto plan = NewPlan();
  plan->zx = plan->zy = 0.123;
  plan->x0 = 13;
  plan->y0 = -7;
  plan->ViewWidth = 640;
  plan->ViewHeight = 480;
  Wall(*plan, {5000, 5000}, {15000, 5000}, 200);
  Wall(*plan, {15000, 5000}, {15000, 10000}, 200);
  Wall(*plan, {15000, 10000}, {5000, 10000}, 200);
  Wall(*plan, {5000, 10000}, {5000, 5000}, 200);
  return plan;
}

void ExpectViewUnchanged(const TCasaPlan& plan) {
  EXPECT_EQ(plan.x0, 13);
  EXPECT_EQ(plan.y0, -7);
  EXPECT_EQ(plan.zx, 0.123);
  EXPECT_EQ(plan.zy, 0.123);
  EXPECT_EQ(plan.ViewWidth, 640);
  EXPECT_EQ(plan.ViewHeight, 480);
}

TEST(Preview, WholePlanWithAMarginAtTheGivenScale) {
  auto plan = House();
  const PreviewView view = PreviewViewFor(*plan, 50);
  EXPECT_EQ(view.width, 600);
  EXPECT_EQ(view.height, 350);
  EXPECT_EQ(view.x0, -200);
  EXPECT_EQ(view.y0, -200);
  EXPECT_EQ(view.zoom, 0.05);

  // The selected corner's green square is centred on (5000, 5000): pixel (50, 50).
  plan->SetSelection(1, kSelCorner);
  const QImage image = PaintPreview(*plan, 50);
  EXPECT_EQ(image.size(), QSize(600, 350));
  EXPECT_EQ(image.pixel(50, 50), qRgb(0, 128, 0));
  EXPECT_EQ(image.pixel(45, 50), qRgb(0, 128, 0));
  EXPECT_NE(image.pixel(58, 50), qRgb(0, 128, 0));
  // Outer face of the top wall at y 4900 (pixel 45), the room inside white.
  EXPECT_LT(qGray(image.pixel(300, 45)), 200);
  EXPECT_EQ(image.pixel(300, 175), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(300, 20), qRgb(255, 255, 255));
  ExpectViewUnchanged(*plan);
}

TEST(Preview, PngIsEightBitRgbWithoutAlphaOrInterlace) {
  auto plan = House();
  const QByteArray png = CreatePreview(*plan, 50);
  const auto chunks = Chunks(png);
  ASSERT_GE(chunks.size(), 3u);
  ASSERT_EQ(chunks.front().type, "IHDR");
  const QByteArray& ihdr = chunks.front().data;
  ASSERT_EQ(ihdr.size(), 13);
  EXPECT_EQ(qFromBigEndian<quint32>(ihdr.constData()), 600u);
  EXPECT_EQ(qFromBigEndian<quint32>(ihdr.constData() + 4), 350u);
  EXPECT_EQ(ihdr[8], 8);   // bit depth
  EXPECT_EQ(ihdr[9], 2);   // colour type: RGB
  EXPECT_EQ(ihdr[12], 0);  // no interlace
  EXPECT_EQ(chunks.back().type, "IEND");
  for (const PngChunk& chunk : chunks) {
    EXPECT_NE(chunk.type, "PLTE");
    EXPECT_NE(chunk.type, "tRNS");
  }
  ExpectViewUnchanged(*plan);

  const QImage decoded = QImage::fromData(png, "PNG");
  ASSERT_FALSE(decoded.isNull());
  EXPECT_EQ(decoded.pixel(300, 175), qRgb(255, 255, 255));
  EXPECT_LT(qGray(decoded.pixel(300, 45)), 200);
}

// The PNG is painted a band of rows at a time: it must hold the picture of
// one whole paint, also where items cross from one band to the next.
TEST(Preview, PngHoldsTheWholePaintPixelForPixel) {
  TCasaPlan plan;
  gen::GeneratePlan(plan, {250, 3, true});
  plan.ShowDimensions = plan.ShowProblems = true;
  plan.SetSelection(1, kSelCorner);
  const QImage whole = PaintPreview(plan, 50);
  ASSERT_GT(whole.height(), 600);
  const QImage decoded = QImage::fromData(CreatePreview(plan, 50), "PNG");
  EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32) == whole);
}

TEST(Preview, RefusesWhatItCannotDrawAndKeepsTheView) {
  auto empty = NewPlan();
  try {
    CreatePreview(*empty, 50);
    ADD_FAILURE() << "an empty plan was accepted";
  } catch (const PreviewError& e) {
    EXPECT_STREQ(e.what(), "Le plan est vide : il n'y a rien à dessiner.");
  }

  auto plan = House();
  EXPECT_THROW(CreatePreview(*plan, 0), PreviewError);
  // 400 m of plan at 0.05 px/mm would be 20100 pixels wide.
  Wall(*plan, {5000, 5000}, {405000, 5000}, 200);
  EXPECT_THROW(CreatePreview(*plan, 50), PreviewError);
  EXPECT_EQ(PreviewViewFor(*plan, 49).width, 19698);
  ExpectViewUnchanged(*plan);

  // A paint that fails half-way still gives the view back.
  auto broken = House();
  broken->Walls[2].C2 = TCasaPlan::kMaxCorners + 1;
  EXPECT_THROW(CreatePreview(*broken, 50), RangeError);
  ExpectViewUnchanged(*broken);
}

}  // namespace
}  // namespace casavo
