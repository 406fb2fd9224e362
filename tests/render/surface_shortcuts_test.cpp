// Tests that the QPainter surface's shortcuts change no pixel.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <memory>

#include "render/painter.h"
#include "render/surface_qpainter.h"
#include "render_test_util.h"
#include "support/plan_generator.h"

namespace casavo {
namespace {

QImage PaintWith(TCasaPlan& plan, Shortcuts shortcuts) {
  QImage image(plan.ViewWidth, plan.ViewHeight, QImage::Format_ARGB32_Premultiplied);
  QPainterSurface surface(image, shortcuts);
  PlanPainter(plan, surface).Draw();
  return image;
}

// The surface's shortcuts must not move a single pixel: large generated plans
// painted with them and with every primitive drawn from scratch give the same
// picture, seen whole (texts of a pixel or two) and up close (most of the plan
// outside the image, on every side), with wall lengths (half of them turned by
// 360 degrees), rooms, problems and the labels of a selected wall.
TEST(QPainterSurface, ShortcutsPaintTheSamePixels) {
  testing::UseFrenchLocale();
  for (int32_t walls : {1000, 2000}) {
    auto plan = std::make_unique<TCasaPlan>();
    gen::GeneratePlan(*plan, {walls, 4});
    plan->ShowDimensions = true;
    plan->ShowProblems = true;
    plan->ShowRooms = true;
    plan->SetSelection(3, kSelWall);
    plan->ViewWidth = 1280;
    plan->ViewHeight = 800;
    const TRect b = plan->GetBounds();
    const double whole = std::min(1280.0 / (b.right - b.left), 800.0 / (b.bottom - b.top));
    for (double zoom : {whole, 0.05, 0.2, 0.01}) {
      // The plan's middle in the middle of the image.
      plan->zx = plan->zy = zoom;
      plan->x0 = static_cast<int32_t>(640 - (b.left + b.right) / 2.0 * zoom);
      plan->y0 = static_cast<int32_t>(400 - (b.top + b.bottom) / 2.0 * zoom);
      const QImage kept = PaintWith(*plan, Shortcuts::kTaken);
      EXPECT_TRUE(kept == PaintWith(*plan, Shortcuts::kNone)) << walls << " walls at zoom " << zoom;
      plan->ShowDimensions = false;
      EXPECT_FALSE(kept == PaintWith(*plan, Shortcuts::kTaken)) << "lengths drawn";
      plan->ShowDimensions = true;
    }
  }
}

}  // namespace
}  // namespace casavo
