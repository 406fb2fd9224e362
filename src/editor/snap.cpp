// TCasa::Snap: a plan point pulled onto nearby corners and walls, with guides.

#include <cstdlib>

#include "common/numeric.h"
#include "editor/casa.h"

namespace casavo {
namespace {

// Snapping reaches this many pixels, at the current scale.
constexpr long double kSnapPixels = 5;

int64_t Gap(int32_t a, int32_t b) {
  return std::llabs(int64_t{a} - b);
}

// The guides found so far and the point they pull.
struct Snapping {
  TCasaPlan& plan;
  int32_t tol;
  int32_t x;
  int32_t y;

  bool Done() const { return plan.GuideX != -1 && plan.GuideY != -1; }

  // Lines up with the corner on each axis that has no guide yet.
  void AlignWith(TPoint n) {
    if (plan.GuideX == -1 && Gap(n.x, x) < tol) x = plan.GuideX = n.x;
    if (plan.GuideY == -1 && Gap(n.y, y) < tol) y = plan.GuideY = n.y;
  }

  // Lands on the corner when it is close on both axes.
  bool LandOn(TPoint n) {
    if (Gap(n.x, x) >= tol || Gap(n.y, y) >= tol) return false;
    x = plan.GuideX = n.x;
    y = plan.GuideY = n.y;
    return true;
  }
};

}  // namespace

TPoint TCasa::Snap(TPoint p, bool excludeSelected) {
  TCasaPlan& plan = *Plan;
  Snapping s{plan, RoundToInt(kSnapPixels / plan.zx), p.x, p.y};
  plan.GuideX = -1;
  plan.GuideY = -1;
  const int32_t selected = plan.Selected(kSelCorner);
  const auto candidate = [&](int32_t j) { return !(excludeSelected && j == selected); };

  // The corners one wall away first: they are what the user lines up with.
  // The list is kept from the last grab; corners removed since are left out.
  for (int32_t i = 1; i <= Neighbours.Count; ++i)
    if (Neighbours[i] <= plan.CornerCount) s.AlignWith(plan.Corners[Neighbours[i]]);

  if (!s.Done()) {
    for (int32_t j = 1; j <= plan.CornerCount; ++j)
      if (candidate(j) && s.LandOn(plan.Corners[j])) break;
  }
  if (!s.Done()) {
    for (int32_t j = 1; j <= plan.CornerCount && !s.Done(); ++j)
      if (candidate(j)) s.AlignWith(plan.Corners[j]);
  }
  // A corner moved slowly near a wall slides onto it.
  if (!s.Done() && selected > 0 && Distance(p, plan.Corners[selected]) < s.tol) {
    const TPoint corner = plan.Corners[selected];
    for (int32_t w = 1; w <= plan.WallCount; ++w) {
      const TPoint a = plan.Corners[plan.Walls[w].C1];
      const TPoint b = plan.Corners[plan.Walls[w].C2];
      if (a == corner || b == corner) continue;
      const int32_t d = DistanceToSegment(p, a, b);
      if (d < 0 || d >= s.tol) continue;
      const TPoint r = ProjectOnSegment(corner, a, b);
      if (r == kNoPoint) continue;
      if (plan.GuideX == -1) s.x = plan.GuideX = r.x;
      if (plan.GuideY == -1) s.y = plan.GuideY = r.y;
      break;
    }
  }
  return {s.x, s.y};
}

}  // namespace casavo
