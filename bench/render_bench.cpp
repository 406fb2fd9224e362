// Paint times of the plan painter on generated plans, and the preview.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <memory>

#include "render/painter.h"
#include "render/preview.h"
#include "support/plan_generator.h"

namespace {

using casavo::TCasaPlan;

enum Display { kDefault, kDimensions, kRoomsAndDimensions };

// A generated plan of about `walls` walls, fitted into an editor view of
// 1600 x 1000 pixels, problems shown as in the main window.
std::unique_ptr<TCasaPlan> FittedPlan(int32_t walls, Display display) {
  auto plan = std::make_unique<TCasaPlan>();
  casavo::gen::GeneratePlan(*plan, {walls, 1, true});
  plan->ViewWidth = 1600;
  plan->ViewHeight = 1000;
  const casavo::TRect b = plan->GetBounds();
  const double zoom =
      std::min(1600.0 / (b.right - b.left + 2000), 1000.0 / (b.bottom - b.top + 2000));
  plan->zx = plan->zy = zoom;
  plan->x0 = static_cast<int32_t>((1000 - b.left) * zoom);
  plan->y0 = static_cast<int32_t>((1000 - b.top) * zoom);
  plan->ShowProblems = true;
  plan->ShowRooms = display == kRoomsAndDimensions;
  plan->ShowDimensions = display != kDefault;
  return plan;
}

void BM_Draw(benchmark::State& state) {
  auto plan = FittedPlan(static_cast<int32_t>(state.range(0)), Display(state.range(1)));
  QImage image(plan->ViewWidth, plan->ViewHeight, QImage::Format_RGB32);
  for (auto _ : state) casavo::DrawPlan(*plan, image);
  state.counters["walls"] = plan->WallCount;
}
BENCHMARK(BM_Draw)
    ->ArgsProduct({{250, 1000, 2000}, {kDefault, kDimensions, kRoomsAndDimensions}})
    ->Unit(benchmark::kMillisecond);

void BM_CreatePreview(benchmark::State& state) {
  auto plan = FittedPlan(static_cast<int32_t>(state.range(0)), kRoomsAndDimensions);
  for (auto _ : state) benchmark::DoNotOptimize(casavo::CreatePreview(*plan, 50));
}
BENCHMARK(BM_CreatePreview)->Arg(250)->Unit(benchmark::kMillisecond);

// The problem markers' corner pairs at the corner table's capacity.
void BM_CloseCornerPairs(benchmark::State& state) {
  auto plan = std::make_unique<TCasaPlan>();
  for (int32_t i = 0; i < TCasaPlan::kMaxCorners; ++i)
    plan->AddCorner({5000 + (i % 80) * 300 + (i % 7) * 40, 5000 + (i / 80) * 300});
  for (auto _ : state) benchmark::DoNotOptimize(casavo::CloseCornerPairs(*plan));
}
BENCHMARK(BM_CloseCornerPairs)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
