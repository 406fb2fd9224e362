// One pointer move of a drag in the editor: a corner, or a whole straight
// wall, moved, the outlines and rooms refreshed and the 1280 x 800 view
// painted, as on every move of such a drag.

#include <cstdint>
#include <vector>

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

// The corner where most walls meet nearest the middle of the view, or 0.
int32_t BusyCornerInView(const TCasaPlan& plan) {
  std::vector<int32_t> ends(static_cast<size_t>(plan.CornerCount) + 1, 0);
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    ++ends[static_cast<size_t>(plan.Walls[w].C1)];
    ++ends[static_cast<size_t>(plan.Walls[w].C2)];
  }
  int32_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int32_t c = 1; c <= plan.CornerCount; ++c) {
    if (ends[static_cast<size_t>(c)] < 3) continue;
    const TPoint s = plan.PlanToScreen(plan.Corners[c]);
    const int64_t dx = s.x - kWidth / 2, dy = s.y - kHeight / 2;
    if (dx * dx + dy * dy >= bestDistance) continue;
    best = c;
    bestDistance = dx * dx + dy * dy;
  }
  return best;
}

void Prepare(TCasa& casa, int32_t walls) {
  casa.resize(kWidth, kHeight);
  *casa.Plan = FittedPlan(walls, kWidth, kHeight, kSliderMinZoom);
  casa.Plan->ViewWidth = kWidth;
  casa.Plan->ViewHeight = kHeight;
}

}  // namespace

void BM_DragFrame(benchmark::State& state) {
  TCasa casa;
  Prepare(casa, static_cast<int32_t>(state.range(0)));
  const int32_t c = BusyCornerInView(*casa.Plan);
  if (c == 0) return state.SkipWithError("no corner of three walls in view");
  const TPoint s = casa.Plan->PlanToScreen(casa.Plan->Corners[c]);
  casa.MouseDown(s.x, s.y);
  if (casa.Plan->Selected(kSelCorner) != c) return state.SkipWithError("the press took no corner");
  int32_t step = 0;
  for (auto _ : state) {
    // Back and forth by a few pixels, so that the plan stays where it was.
    step = (step + 1) % 8;
    casa.MouseMove(s.x + (step < 4 ? step : 8 - step), s.y + 1);
  }
  ReportSize(state, *casa.Plan);
}

void BM_DragRunFrame(benchmark::State& state) {
  TCasa casa;
  Prepare(casa, static_cast<int32_t>(state.range(0)));
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
