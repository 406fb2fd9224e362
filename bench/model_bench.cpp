// The model's work behind every mouse move and every undo step: wall joints,
// room detection, the clean-up pass after a corner drag, and the plan text.

#include <string>

#include "bench.h"
#include "files/plan_xml.h"
#include "plan/local_refresh.h"

namespace casavo::bench {
namespace {

// A corner inside the plan, away from the top-left corner that sets the origin,
// where several walls meet.
int32_t BusyCorner(const TCasaPlan& plan) {
  int32_t best = 1;
  int32_t bestWalls = 0;
  for (int32_t k = plan.CornerCount / 2; k <= plan.CornerCount; ++k) {
    const int32_t walls = plan.WallsAtCorner(k).Count;
    if (walls > bestWalls) {
      best = k;
      bestWalls = walls;
    }
  }
  return best;
}

}  // namespace

// The wall joints alone; BM_DetectRooms is the rest of a refresh.
void BM_RefreshGeometry(benchmark::State& state) {
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  plan.ShowRooms = false;
  for (auto _ : state) plan.RefreshGeometry();
  ReportSize(state, plan);
}

void BM_DetectRooms(benchmark::State& state) {
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) plan.DetectRooms();
  ReportSize(state, plan);
}

// One move of a corner drag as far as the model goes: the corner nudged 30 mm
// to the right and back on alternate iterations, the outlines it reaches
// refreshed, then the rooms found again, walk by walk. Before the drag kept
// its walks, a move found every room again: BM_DetectRooms.
void BM_DragRooms(benchmark::State& state) {
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  plan.ShowRooms = true;
  const int32_t corner = BusyCorner(plan);
  LocalRefresh refresh(plan);
  int32_t step = 30;
  for (auto _ : state) {
    plan.Corners[corner].x += step;
    refresh.CornersMoved(plan, {corner});
    step = -step;
  }
  // Only the first move, with no walks kept yet, finds every room.
  if (refresh.Rooms() == nullptr || refresh.Rooms()->WholeDetections() != 1)
    state.SkipWithError("moves found every room again");
  ReportSize(state, plan);
}

// The corner is dragged 30 mm to the right and back on alternate iterations,
// as a user nudges it, then the clean-up pass of a released corner runs (with
// rooms shown). The plan must come out of each pass as it went in.
void BM_CleanUpAfterCornerMove(benchmark::State& state) {
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  const int32_t corner = BusyCorner(plan);
  const int32_t walls = plan.WallCount, corners = plan.CornerCount;
  int32_t step = 30;
  for (auto _ : state) {
    plan.Corners[corner].x += step;
    plan.CleanUpAfterCornerMove(corner);
    step = -step;
  }
  if (plan.WallCount != walls || plan.CornerCount != corners)
    state.SkipWithError("the nudged corner changed the plan's tables");
  ReportSize(state, plan);
}

void BM_WritePlanXml(benchmark::State& state) {
  const TCasaPlan& plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = WritePlanXml(plan);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  ReportSize(state, plan);
}

// Reading refills one plan in place, as an undo step does.
void BM_ReadPlanXml(benchmark::State& state) {
  const TCasaPlan& source = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  const std::string text = WritePlanXml(source);
  TCasaPlan plan;
  for (auto _ : state) {
    if (!ReadPlanXml(plan, text)) state.SkipWithError("the plan text was not read back");
  }
  if (plan.WallCount != source.WallCount) state.SkipWithError("walls lost in reading");
  ReportSize(state, source);
}

}  // namespace casavo::bench
