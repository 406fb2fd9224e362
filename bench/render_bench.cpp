// The paint behind every mouse move, and the preview of an online save.

#include <QImage>

#include "bench.h"
#include "render/painter.h"
#include "render/preview.h"

namespace casavo::bench {
namespace {

void DrawInto(benchmark::State& state, TCasaPlan& plan) {
  QImage image(plan.ViewWidth, plan.ViewHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) DrawPlan(plan, image);
  state.counters["zoom"] = plan.zx;
  ReportSize(state, plan);
}

}  // namespace

// The editor's own picture: a 1280 x 800 view at the zoom that shows the
// whole plan, but never below the zoom slider's smallest zoom, so that the
// largest plans show in part, as they do in the editor.
void BM_Draw(benchmark::State& state) {
  TCasaPlan plan = FittedPlan(static_cast<int32_t>(state.range(0)), 1280, 800, kSliderMinZoom);
  DrawInto(state, plan);
}

// The whole plan in the same view whatever its size, below the slider's
// range for the largest plans (a plan file may carry such a zoom).
void BM_DrawWholePlan(benchmark::State& state) {
  TCasaPlan plan = FittedPlan(static_cast<int32_t>(state.range(0)), 1280, 800);
  DrawInto(state, plan);
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
