// Tests of the traced picture in the editor: the scale clicks, the Maj drag and the edge snap.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "editor_fixture.h"

namespace casavo::testing {
namespace {

class TraceTest : public EditorTest {
 protected:
  // A white scan at dpi with, when asked, the 3-pixel outline of a rectangle
  // whose lines run through the middle of pixels 50 and 350 across, 50 and 250 down.
  QString Scan(int dpi, bool rectangle) {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    if (rectangle) {
      QPainter painter(&image);
      for (const QRect& line : {QRect(49, 49, 303, 3), QRect(49, 249, 303, 3),
                                QRect(49, 49, 3, 203), QRect(349, 49, 3, 203)})
        painter.fillRect(line, Qt::black);
    }
    const QString path = folder.filePath(QStringLiteral("scan%1.png").arg(rectangle));
    EXPECT_TRUE(image.save(path));
    return path;
  }
  void ViewAt(double zoom) {
    plan().zx = plan().zy = zoom;
    plan().x0 = plan().y0 = 0;
  }
  TracePoint UnderPixel(int x, int y) {
    return plan().Trace.PlanToPicture({(x - plan().x0) / plan().zx, (y - plan().y0) / plan().zy});
  }
};

TEST_F(TraceTest, TwoClicksAndATypedDistanceSetTheScaleAroundTheFirstClick) {
  std::vector<QString> prompts;
  casa->AskTraceDistance = [&](const QString& prompt) -> std::optional<QString> {
    prompts.push_back(prompt);
    return QStringLiteral("10 m");
  };
  ASSERT_FALSE(casa->ImportTrace(Scan(100, false), 0));
  EXPECT_NEAR(plan().Trace.scale, 25.4, 1e-3);
  EXPECT_EQ(casa->Mode, TCasa::ModeTraceScale) << "an imported picture asks for its scale";
  EXPECT_GT(plan().zx, 0.1 / 25.4) << "the 400 px wide picture fills the view";
  // Two screen pixels per picture pixel of a 100 dpi scan taken as 1:100.
  ViewAt(0.5 / 25.4);
  const TracePoint first = UnderPixel(100, 100);
  Press(100, 100);
  Release(100, 100);
  EXPECT_TRUE(prompts.empty());
  EXPECT_NEAR(UnderPixel(600, 100).x - first.x, 1000, 0.01) << "the clicks are 1 000 px apart";
  Press(600, 100);
  Release(600, 100);
  ASSERT_EQ(prompts.size(), 1u);

  EXPECT_NEAR(plan().Trace.scale, 10, 1e-4);
  const TracePoint after = UnderPixel(100, 100);
  EXPECT_NEAR(after.x, first.x, 1e-6);
  EXPECT_NEAR(after.y, first.y, 1e-6);
  EXPECT_TRUE(plan().Trace.locked);
  EXPECT_EQ(casa->Mode, TCasa::ModeSelect);
  EXPECT_EQ(casa->UndoLabels.back(), "Mettre le calque à l'échelle");
  casa->Undo();
  EXPECT_NEAR(plan().Trace.scale, 25.4, 1e-3);
  casa->Undo();
  EXPECT_FALSE(plan().Trace.Present());
  EXPECT_FALSE(casa->Tracing().Loaded()) << "the undone picture is no longer drawn";
}

TEST_F(TraceTest, MajDragMovesAnUnlockedPictureOnly) {
  ASSERT_FALSE(casa->ImportTrace(Scan(100, false), 0));
  casa->Disarm();
  ViewAt(0.1);
  const TracePoint start{plan().Trace.x, plan().Trace.y};
  keys->shift = true;
  DragFromTo(300, 300, 340, 280);
  EXPECT_NEAR(plan().Trace.x - start.x, 400, 1e-6);
  EXPECT_NEAR(plan().Trace.y - start.y, -200, 1e-6);
  EXPECT_EQ(casa->UndoLabels.back(), "Déplacer le calque");
  const size_t steps = casa->UndoLabels.size();

  casa->SetTraceLocked(true);
  DragFromTo(300, 300, 340, 280);
  EXPECT_NEAR(plan().Trace.x - start.x, 400, 1e-6);
  EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const std::string& m) {
    return m.find("verrouillé") != std::string::npos;
  }));
  EXPECT_EQ(casa->UndoLabels.size(), steps + 1) << "only the lock was recorded";
}

TEST_F(TraceTest, WallEndsSnapToTheLinesOfARectangleUnlessAltIsHeld) {
  TracingPicture picture;
  ASSERT_FALSE(picture.Load(Scan(100, true), 0));
  struct Case {
    TracePoint at;
    std::optional<TracePoint> expected;
  };
  const Case cases[] = {
      {{47.2, 150}, TracePoint{50.5, 150}},  // left line, from outside
      {{54.9, 120}, TracePoint{50.5, 120}},  // left line, from inside
      {{200, 246}, TracePoint{200, 250.5}},  // bottom line
      {{53, 47}, TracePoint{50.5, 50.5}},    // the corner: both lines
      {{200, 150}, std::nullopt},            // nothing within 5 pixels
  };
  for (const Case& c : cases) {
    const auto snapped = picture.SnapToLines(c.at, 5, 0);
    ASSERT_EQ(snapped.has_value(), c.expected.has_value()) << c.at.x << "," << c.at.y;
    if (!snapped) continue;
    EXPECT_NEAR(snapped->x, c.expected->x, 1) << c.at.x << "," << c.at.y;
    EXPECT_NEAR(snapped->y, c.expected->y, 1) << c.at.x << "," << c.at.y;
  }
  // Turned by 90° the lines are still along the plan's axes.
  EXPECT_TRUE(picture.SnapToLines({47.2, 150}, 5, 90));

  // In the editor: a picture pixel per screen pixel, its corner at the plan's origin.
  ASSERT_FALSE(casa->ImportTrace(Scan(100, true), 0));
  plan().Trace.scale = 10;
  plan().Trace.x = plan().Trace.y = 0;
  casa->Disarm();
  ViewAt(0.1);
  DrawWallGesture(48, 150, 200, 148);
  ASSERT_EQ(plan().WallCount, 1);
  // The clean-up shifts the plan and the picture alike: compare on the picture.
  const auto onPicture = [this](int32_t corner) {
    const TPoint p = plan().Corners[corner];
    return plan().Trace.PlanToPicture({static_cast<double>(p.x), static_cast<double>(p.y)});
  };
  EXPECT_NEAR(onPicture(plan().Walls[1].C1).x, 50.5, 1);
  keys->alt = true;
  DrawWallGesture(100, 247, 200, 247);
  ASSERT_EQ(plan().WallCount, 2);
  EXPECT_NEAR(onPicture(plan().Walls[2].C1).y, 247, 1) << "Alt: under the pointer";
}

}  // namespace
}  // namespace casavo::testing
