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

QImage PaintWith(TCasaPlan& plan, TextLayouts layouts) {
  QImage image(plan.ViewWidth, plan.ViewHeight, QImage::Format_ARGB32_Premultiplied);
  QPainterSurface surface(image, layouts);
  PlanPainter(plan, surface).Draw();
  return image;
}

// Fonts and text layouts kept for a paint must not move a single pixel: large
// generated plans painted with them and with every text laid out afresh give
// the same picture, seen whole (texts of a pixel or two) and up close, with
// wall lengths, rooms, problems and the labels of a selected wall.
TEST(QPainterSurface, KeptTextLayoutsPaintTheSamePixels) {
  testing::UseFrenchLocale();
  for (int32_t walls : {1000, 2000}) {
    auto plan = std::make_unique<TCasaPlan>();
    gen::GeneratePlan(*plan, {walls, 4});
    plan->ShowDimensions = true;
    plan->ShowProblems = true;
    plan->SetSelection(3, kSelWall);
    plan->ViewWidth = 1280;
    plan->ViewHeight = 800;
    const TRect b = plan->GetBounds();
    const double whole = std::min(1280.0 / (b.right - b.left), 800.0 / (b.bottom - b.top));
    for (double zoom : {whole, 0.05, 0.2}) {
      plan->zx = plan->zy = zoom;
      plan->x0 = static_cast<int32_t>(-b.left * zoom);
      plan->y0 = static_cast<int32_t>(-b.top * zoom);
      const QImage kept = PaintWith(*plan, TextLayouts::kKeptForThePaint);
      EXPECT_TRUE(kept == PaintWith(*plan, TextLayouts::kMadeEachTime))
          << walls << " walls at zoom " << zoom;
      plan->ShowDimensions = false;
      EXPECT_FALSE(kept == PaintWith(*plan, TextLayouts::kKeptForThePaint)) << "lengths drawn";
      plan->ShowDimensions = true;
    }
  }
}

}  // namespace
}  // namespace casavo
