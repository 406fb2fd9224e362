// The generated plans the benchmarks share.

#include "bench.h"

#include <algorithm>
#include <map>
#include <memory>

#include "support/plan_generator.h"

namespace casavo::bench {

const TCasaPlan& GeneratedPlan(int32_t walls) {
  static std::map<int32_t, std::unique_ptr<TCasaPlan>> plans;
  auto& plan = plans[walls];
  if (!plan) {
    plan = std::make_unique<TCasaPlan>();
    gen::GeneratePlan(*plan, {walls, 1, true});
    plan->RefreshGeometry();
  }
  return *plan;
}

TCasaPlan FittedPlan(int32_t walls, int32_t width, int32_t height, double minZoom) {
  TCasaPlan plan = GeneratedPlan(walls);
  plan.ViewWidth = width;
  plan.ViewHeight = height;
  const TRect b = plan.GetBounds();
  const double fit =
      std::min(width / (b.right - b.left + 2000.0), height / (b.bottom - b.top + 2000.0));
  const double zoom = std::max(fit, minZoom);
  plan.zx = plan.zy = zoom;
  // The middle of the plan in the middle of the view.
  plan.x0 = static_cast<int32_t>(width / 2 - (b.left + b.right) / 2.0 * zoom);
  plan.y0 = static_cast<int32_t>(height / 2 - (b.top + b.bottom) / 2.0 * zoom);
  plan.ShowRooms = true;
  plan.ShowDimensions = true;
  plan.ShowProblems = true;
  return plan;
}

void ReportSize(benchmark::State& state, const TCasaPlan& plan) {
  state.counters["walls"] = plan.WallCount;
  state.counters["corners"] = plan.CornerCount;
  state.counters["openings"] = plan.OpeningCount;
  state.counters["rooms"] = plan.RoomCount;
}

}  // namespace casavo::bench
