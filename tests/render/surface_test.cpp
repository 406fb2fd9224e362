// Tests of the surfaces and colour texts.

#include "render/surface.h"

#include <gtest/gtest.h>

#include <QImage>

#include "render/surface_qpainter.h"
#include "render/surface_recording.h"

namespace casavo {
namespace {

using Kind = RecordedOp::Kind;

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

bool IsDark(const QImage& image, int x, int y) {
  return qGray(image.pixel(x, y)) < 128;
}

int DarkPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += IsDark(image, x, y);
  return count;
}

TEST(Colour, ArgbAndHexTexts) {
  EXPECT_EQ(ArgbColor(1, 2, 3, 4), 0x01020304u);
  EXPECT_EQ(ArgbColor(0, 128, 0), 0xFF008000u);
  EXPECT_EQ(HexToARGB(""), 0xFFF0F0F0u);
  EXPECT_EQ(HexToARGB("F0F0F0"), 0xFFF0F0F0u);
  EXPECT_EQ(HexToARGB("12345"), 0xFFF0F0F0u);
  EXPECT_EQ(HexToARGB("00FF80"), 0xFF00FF80u);
  EXPECT_EQ(HexToARGB("a0b1c2"), 0xFFA0B1C2u);
  EXPECT_EQ(HexToARGB("GG0000"), 0xFFF0F0F0u);
}

TEST(QPainterSurface, TransformsArePrependedOnTheImage) {
  QImage image = WhiteImage(200, 200);
  {
    QPainterSurface surface(image);
    surface.Translate(100, 50);
    surface.Rotate(90);
    surface.Scale(2, 3);
    // Local (10..12, 0..2) lands at x 94..100, y 70..74.
    surface.FillRectangle(Brush::Solid(kBlack), 10, 0, 2, 2);
  }
  EXPECT_TRUE(IsDark(image, 97, 72));
  EXPECT_FALSE(IsDark(image, 103, 72));
  EXPECT_FALSE(IsDark(image, 97, 66));
  EXPECT_EQ(DarkPixels(image), 6 * 4);
}

TEST(QPainterSurface, ArcAnglesTurnTowardsPlusY) {
  // Circle of radius 40 about (50, 50); 45 degrees below and above +x.
  const int below = 50 + 28, above = 50 - 28, right = 50 + 28;
  QImage down = WhiteImage(100, 100);
  {
    QPainterSurface surface(down);
    surface.DrawArc(Pen{kBlack, 3}, 10, 10, 80, 80, 0, 90);
  }
  EXPECT_TRUE(IsDark(down, right, below));
  EXPECT_FALSE(IsDark(down, right, above));
  EXPECT_TRUE(IsDark(down, 50, 89));   // ends at the bottom
  EXPECT_FALSE(IsDark(down, 10, 50));  // never reaches the left

  QImage up = WhiteImage(100, 100);
  {
    QPainterSurface surface(up);
    surface.DrawArc(Pen{kBlack, 3}, 10, 10, 80, 80, 0, -90);
  }
  EXPECT_TRUE(IsDark(up, right, above));
  EXPECT_FALSE(IsDark(up, right, below));
  EXPECT_TRUE(IsDark(up, 50, 11));

  QImage left = WhiteImage(100, 100);
  {
    QPainterSurface surface(left);
    surface.DrawArc(Pen{kBlack, 3}, 10, 10, 80, 80, 180, 90);  // from -x up to -y
  }
  EXPECT_TRUE(IsDark(left, 100 - right, above));
  EXPECT_FALSE(IsDark(left, 100 - right, below));
  EXPECT_FALSE(IsDark(left, right, above));
}

TEST(QPainterSurface, HatchRunsFromUpperRightToLowerLeftOnItsBackground) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::blue);
  {
    QPainterSurface surface(image);
    surface.SetSmoothing(true);
    surface.FillRectangle(Brush::Hatch(kBlack, kWhite), 0, 0, 40, 40);
  }
  int dark = 0, white = 0, slopedUp = 0, slopedDown = 0;
  for (int y = 1; y < 39; ++y) {
    for (int x = 1; x < 39; ++x) {
      const QRgb c = image.pixel(x, y);
      EXPECT_NE(qBlue(c) - qRed(c), 255) << "background left unfilled at " << x << "," << y;
      if (!IsDark(image, x, y)) {
        ++white;
        continue;
      }
      ++dark;
      slopedUp += IsDark(image, x + 1, y - 1);
      slopedDown += IsDark(image, x + 1, y + 1);
    }
  }
  EXPECT_GT(dark, 100);
  EXPECT_GT(white, 600);
  EXPECT_GT(slopedUp, dark * 9 / 10);
  EXPECT_LT(slopedDown, dark / 10);
}

TEST(QPainterSurface, PathsCloseWhenFilledAndUseEvenOdd) {
  // Three sides of a square: filled as if closed, outlined open.
  Path open;
  open.AddLine(10, 10, 50, 10);
  open.AddLine(50, 10, 50, 50);
  open.AddLine(50, 50, 10, 50);
  QImage filled = WhiteImage(60, 60);
  QImage outlined = WhiteImage(60, 60);
  {
    QPainterSurface a(filled);
    a.FillPath(Brush::Solid(kBlack), open);
    QPainterSurface b(outlined);
    b.DrawPath(Pen{kBlack, 2}, open);
  }
  EXPECT_TRUE(IsDark(filled, 30, 30));
  EXPECT_TRUE(IsDark(outlined, 50, 30));
  EXPECT_FALSE(IsDark(outlined, 10, 30));

  // The same square traced twice covers every point twice: even-odd leaves it empty.
  Path twice;
  for (int i = 0; i < 2; ++i) {
    twice.AddLine(10, 10, 50, 10);
    twice.AddLine(50, 10, 50, 50);
    twice.AddLine(50, 50, 10, 50);
    twice.AddLine(10, 50, 10, 10);
  }
  QImage evenOdd = WhiteImage(60, 60);
  {
    QPainterSurface surface(evenOdd);
    surface.FillPath(Brush::Solid(kBlack), twice);
  }
  EXPECT_FALSE(IsDark(evenOdd, 30, 30));
}

TEST(TextRoutines, BoxesFollowTheBackgroundRule) {
  RecordingSurface surface;
  DrawTextCentred(surface, "abcd", 10, 100, 50, kBlack, kNoBox);
  DrawTextCentred(surface, "abcd", 10, 100, 50, kBlack, kGreen);
  DrawTextAt(surface, "1 m", 12, 65, 580, kBlack, kTransparentWhite);

  const auto& ops = surface.Ops();
  ASSERT_EQ(ops.size(), 5u);
  // "abcd" at 10 px measures 20 x 12.5 with the recording metrics.
  EXPECT_EQ(ops[0].kind, Kind::kText);
  EXPECT_EQ(ops[0].text, "abcd");
  EXPECT_EQ(ops[0].font.family, "Verdana");
  EXPECT_EQ(ops[0].font.emSize, 10);
  EXPECT_EQ(ops[0].coords, (std::vector<double>{90, 43.75}));
  EXPECT_EQ(ops[1].kind, Kind::kFillRectangle);
  EXPECT_EQ(ops[1].colour, kGreen);
  EXPECT_EQ(ops[1].coords, (std::vector<double>{90, 43.75, 20, 12.5}));
  EXPECT_EQ(ops[2].kind, Kind::kText);
  // DrawTextAt always fills its box, here a fully transparent one.
  EXPECT_EQ(ops[3].kind, Kind::kFillRectangle);
  EXPECT_EQ(ops[3].colour, kTransparentWhite);
  EXPECT_EQ(ops[3].coords, (std::vector<double>{65, 580, 18, 15}));
  EXPECT_EQ(ops[4].coords, (std::vector<double>{65, 580}));
}

TEST(TextRoutines, RotatedTextIsCentredAndLeavesNoTransform) {
  RecordingSurface surface;
  DrawTextRotated(surface, "4,00 m", 10, 350, 239, 180, kBlack, kNoBox);
  surface.DrawLine(Pen{}, 0, 0, 1, 1);

  const auto& ops = surface.Ops();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].coords, (std::vector<double>{-15, -6.25}));
  // The box centre (0, 0) lands on the point; the text's left end ends up right of it.
  const QPointF centre = ops[0].transform.map(QPointF(0, 0));
  EXPECT_NEAR(centre.x(), 350, 1e-9);
  EXPECT_NEAR(centre.y(), 239, 1e-9);
  const QPointF start = ops[0].transform.map(QPointF(-15, -6.25));
  EXPECT_NEAR(start.x(), 365, 1e-9);
  EXPECT_NEAR(start.y(), 245.25, 1e-9);
  EXPECT_TRUE(ops[1].transform.isIdentity());
}

TEST(QPainterSurface, TextStartsAtItsTopLeftCorner) {
  QImage image = WhiteImage(120, 60);
  RectF box;
  {
    QPainterSurface surface(image);
    surface.SetSmoothing(true);
    box = surface.MeasureText("1 m", Font{"Verdana", 12}, 20, 20);
    DrawTextAt(surface, "1 m", 12, 20, 20, kBlack, kTransparentWhite);
  }
  EXPECT_GT(box.width, 10);
  EXPECT_GT(box.height, 10);
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsDark(image, x, y)) continue;
      const bool in = x >= box.x && x <= box.x + box.width && y >= box.y && y <= box.y + box.height;
      (in ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 5);
  EXPECT_EQ(outside, 0);

  // A font below one pixel draws nothing rather than failing the paint.
  QImage tiny = WhiteImage(40, 40);
  {
    QPainterSurface surface(tiny);
    DrawTextAt(surface, "1 m", 0.4, 5, 5, kBlack, kTransparentWhite);
  }
  EXPECT_EQ(DarkPixels(tiny), 0);
}

}  // namespace
}  // namespace casavo
