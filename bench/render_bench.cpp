// The paint behind every mouse move, and the preview of an online save.

#include <QImage>

#include "bench.h"
#include "render/painter.h"
#include "render/preview.h"

namespace casavo::bench {

// The editor's own picture: a 1280 x 800 view of the whole plan.
void BM_Draw(benchmark::State& state) {
  TCasaPlan plan = FittedPlan(static_cast<int32_t>(state.range(0)), 1280, 800);
  QImage image(plan.ViewWidth, plan.ViewHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) DrawPlan(plan, image);
  state.counters["zoom"] = plan.zx;
  ReportSize(state, plan);
}

// The PNG picture of the whole plan at 50 thousandths of a pixel per
// millimetre, as uploaded with a saved plan, from the same editor state.
void BM_CreatePreview(benchmark::State& state) {
  TCasaPlan plan = FittedPlan(static_cast<int32_t>(state.range(0)), 1280, 800);
  size_t bytes = 0;
  for (auto _ : state) bytes = static_cast<size_t>(CreatePreview(plan, 50).size());
  const PreviewView view = PreviewViewFor(plan, 50);
  state.counters["pixels"] = static_cast<double>(view.width) * view.height;
  state.counters["bytes"] = static_cast<double>(bytes);
  ReportSize(state, plan);
}

}  // namespace casavo::bench
