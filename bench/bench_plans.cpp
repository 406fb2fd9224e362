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

TCasaPlan FittedPlan(int32_t walls, int32_t width, int32_t height) {
  TCasaPlan plan = GeneratedPlan(walls);
  plan.ViewWidth = width;
  plan.ViewHeight = height;
  const TRect b = plan.GetBounds();
  const double zoom =
      std::min(width / (b.right - b.left + 2000.0), height / (b.bottom - b.top + 2000.0));
  plan.zx = plan.zy = zoom;
  plan.x0 = static_cast<int32_t>((1000 - b.left) * zoom);
  plan.y0 = static_cast<int32_t>((1000 - b.top) * zoom);
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
