#include <algorithm>

#include "common/errors.h"
#include "common/numeric.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"
#include "plan/cleanup.h"

namespace casavo {
namespace {

constexpr int32_t kOriginMargin = 5000;

int32_t Shifted(int32_t value, int64_t by) {
  const int64_t result = value + by;
  if (result < INT32_MIN || result > INT32_MAX) throw OverflowError();
  return static_cast<int32_t>(result);
}

// Every plan point that moves with the drawing: corners, object centres and
// the outline entries in use.
template <class F>
void ForEachPlanPoint(TCasaPlan& plan, F&& f) {
  for (int32_t k = 1; k <= plan.CornerCount; ++k) f(plan.Corners[k].x, plan.Corners[k].y);
  for (int32_t n = 1; n <= plan.ObjectCount; ++n) f(plan.Objects[n].x, plan.Objects[n].y);
  for (int32_t e = 5; e <= 4 * plan.WallCount + 4; ++e) f(plan.Outline[e].x, plan.Outline[e].y);
}

}  // namespace

void TCasaPlan::RemoveShortAndDuplicateWalls() {
  RemoveShortAndDuplicateWallsWith(*this, CleanUpSearch::kIndexed);
}

void TCasaPlan::MergeCoincidentCorners() {
  MergeCoincidentCornersWith(*this, CleanUpSearch::kIndexed);
}

void TCasaPlan::NormaliseOrigin() {
  if (CornerCount == 0) return;
  bulk_.index.reset();
  int32_t minX = Corners[1].x, minY = Corners[1].y;
  for (int32_t k = 2; k <= CornerCount; ++k) {
    minX = std::min(minX, Corners[k].x);
    minY = std::min(minY, Corners[k].y);
  }
  const int64_t dx = int64_t{kOriginMargin} - minX;
  const int64_t dy = int64_t{kOriginMargin} - minY;
  // The view moves by the same amount in pixels, so the drawing stays put.
  const int32_t newX0 =
      CheckedAdd(x0, RoundToInt(zx * (static_cast<long double>(minX) - kOriginMargin)));
  const int32_t newY0 =
      CheckedAdd(y0, RoundToInt(zy * (static_cast<long double>(minY) - kOriginMargin)));
  // Check every shift before writing any, so an overflow leaves the plan whole.
  ForEachPlanPoint(*this, [&](int32_t& x, int32_t& y) {
    Shifted(x, dx);
    Shifted(y, dy);
  });
  ForEachPlanPoint(*this, [&](int32_t& x, int32_t& y) {
    x = Shifted(x, dx);
    y = Shifted(y, dy);
  });
  x0 = newX0;
  y0 = newY0;
}

bool TCasaPlan::ClampOpening(int32_t n) {
  TOpening& opening = Openings[n];
  const int32_t length = WallLength(opening.imur);
  const int32_t half = opening.large / 2;
  if (length < opening.large) {
    opening.large = length;
  } else if (length < CheckedAdd(half, opening.dcoin1)) {
    opening.dcoin1 = CheckedSub(length, half);  // back inside the C2 end
  } else if (half > opening.dcoin1) {
    opening.dcoin1 = half;  // back inside the C1 end
  } else {
    return false;
  }
  return true;
}

bool TCasaPlan::ClampAllOpenings() {
  bool changed = false;
  for (int32_t n = 1; n <= OpeningCount;) {
    if (ClampOpening(n))
      changed = true;  // clamp the same opening again until it is stable
    else
      ++n;
  }
  return changed;
}

void TCasaPlan::CleanUpAfterCornerMove(int32_t corner) {
  if (corner < 1 || corner > CornerCount) throw RangeError();
  NormaliseOrigin();
  const TIntList walls = WallsAtCorner(corner);
  for (int32_t i = 1; i <= walls.Count; ++i) SplitAtCrossings(walls[i]);
  RemoveShortAndDuplicateWalls();
  MergeCoincidentCorners();
  ClampAllOpenings();
  RefreshGeometry();
}

void TCasaPlan::CleanUpAfterWallMove(int32_t wall) {
  if (wall < 1 || wall > WallCount) throw RangeError();
  NormaliseOrigin();
  const TIntList atC1 = WallsAtCorner(Walls[wall].C1);
  for (int32_t i = 1; i <= atC1.Count; ++i) SplitAtCrossings(atC1[i]);
  // Read only now: the first splits may have changed the walls at C2.
  const TIntList atC2 = WallsAtCorner(Walls[wall].C2);
  for (int32_t i = 1; i <= atC2.Count; ++i) SplitAtCrossings(atC2[i]);
  RemoveShortAndDuplicateWalls();
  MergeCoincidentCorners();
  ClampAllOpenings();
  RefreshGeometry();
}

}  // namespace casavo
