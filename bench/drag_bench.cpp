// One pointer move of a whole straight wall dragged in the editor: the run's
// corners moved, the outlines and rooms refreshed and the 1280 x 800 view
// painted, as on every move of such a drag.

#include <cstdint>

#include "bench.h"
#include "editor/casa.h"
#include "editor/wall_runs.h"

namespace casavo::bench {
namespace {

constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 800;

bool HasOpening(const TCasaPlan& plan, int32_t w) {
  for (int32_t k = 1; k <= plan.OpeningCount; ++k)
    if (plan.Openings[k].imur == w) return true;
  return false;
}

// The piece of a run of several pieces nearest the middle of the view, with
// no opening where it is pressed, or 0.
int32_t PieceOfARunInView(const TCasaPlan& plan) {
  int32_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    if (HasOpening(plan, w)) continue;
    const TPoint a = plan.PlanToScreen(plan.Corners[plan.Walls[w].C1]);
    const TPoint b = plan.PlanToScreen(plan.Corners[plan.Walls[w].C2]);
    const int64_t dx = (a.x + b.x) / 2 - kWidth / 2, dy = (a.y + b.y) / 2 - kHeight / 2;
    if (dx * dx + dy * dy >= bestDistance || FindWallRun(plan, w).walls.size() < 2) continue;
    best = w;
    bestDistance = dx * dx + dy * dy;
  }
  return best;
}

}  // namespace

void BM_DragRunFrame(benchmark::State& state) {
  TCasa casa;
  casa.resize(kWidth, kHeight);
  *casa.Plan = FittedPlan(static_cast<int32_t>(state.range(0)), kWidth, kHeight, kSliderMinZoom);
  casa.Plan->ViewWidth = kWidth;
  casa.Plan->ViewHeight = kHeight;
  const int32_t w = PieceOfARunInView(*casa.Plan);
  if (w == 0) return state.SkipWithError("no straight wall of several pieces in view");
  const TPoint a = casa.Plan->PlanToScreen(casa.Plan->Corners[casa.Plan->Walls[w].C1]);
  const TPoint b = casa.Plan->PlanToScreen(casa.Plan->Corners[casa.Plan->Walls[w].C2]);
  const int32_t x = (a.x + b.x) / 2, y = (a.y + b.y) / 2;
  casa.MouseDown(x, y);
  if (casa.Plan->SelectedRun.Count == 0) return state.SkipWithError("the press took no run");
  int32_t step = 0;
  for (auto _ : state) {
    // Back and forth by a few pixels, so that the plan stays where it was.
    step = (step + 1) % 8;
    casa.MouseMove(x + (step < 4 ? step : 8 - step), y + 1);
  }
  ReportSize(state, *casa.Plan);
}

}  // namespace casavo::bench
