// TCasaPlan: clean-up after a gesture, opening clamps, origin shift.

#include <algorithm>
#include <vector>

#include "common/errors.h"
#include "common/numeric.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"
#include "plan/cleanup.h"
#include "plan/corner_index.h"

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

template <class T, int32_t N>
std::vector<T> Live(const FixedTable<T, N>& table, int32_t count, int32_t first = 1) {
  std::vector<T> items;
  items.reserve(static_cast<size_t>(std::max(count - first + 1, 0)));
  for (int32_t i = first; i <= count; ++i) items.push_back(table[i]);
  return items;
}

template <class T, int32_t N>
void PutBack(FixedTable<T, N>& table, const std::vector<T>& items, int32_t first = 1) {
  for (size_t i = 0; i < items.size(); ++i) table[first + static_cast<int32_t>(i)] = items[i];
}

// What a whole-plan operation may change, to put back when it raises: the
// corners, walls with their outlines, openings, object positions, the view
// offset and the selection. The rooms only change in the last step, which
// never raises.
class Snapshot {
 public:
  explicit Snapshot(const TCasaPlan& plan)
      : corners_(Live(plan.Corners, plan.CornerCount)),
        walls_(Live(plan.Walls, plan.WallCount)),
        openings_(Live(plan.Openings, plan.OpeningCount)),
        outline_(Live(plan.Outline, 4 * plan.WallCount + 4, 5)),
        x0_(plan.x0),
        y0_(plan.y0),
        selIndex_(plan.SelIndex),
        selKind_(plan.SelKind) {
    for (int32_t n = 1; n <= plan.ObjectCount; ++n)
      objects_.push_back({plan.Objects[n].x, plan.Objects[n].y});
  }

  void Restore(TCasaPlan& plan) const {
    plan.CornerCount = static_cast<int32_t>(corners_.size());
    PutBack(plan.Corners, corners_);
    plan.WallCount = static_cast<int32_t>(walls_.size());
    PutBack(plan.Walls, walls_);
    plan.OpeningCount = static_cast<int32_t>(openings_.size());
    PutBack(plan.Openings, openings_);
    PutBack(plan.Outline, outline_, 5);
    for (size_t n = 0; n < objects_.size(); ++n) {
      plan.Objects[static_cast<int32_t>(n) + 1].x = objects_[n].x;
      plan.Objects[static_cast<int32_t>(n) + 1].y = objects_[n].y;
    }
    plan.x0 = x0_;
    plan.y0 = y0_;
    plan.SelIndex = selIndex_;
    plan.SelKind = selKind_;
  }

 private:
  std::vector<TPoint> corners_;
  std::vector<TWall> walls_;
  std::vector<TOpening> openings_;
  std::vector<TPoint> outline_;
  std::vector<TPoint> objects_;
  int32_t x0_, y0_;
  int32_t selIndex_;
  uint8_t selKind_;
};

}  // namespace

template <class F>
void TCasaPlan::Guarded(F&& operation) {
  if (guards_.depth > 0) {
    operation();
    return;
  }
  const Snapshot before(*this);
  ++guards_.depth;
  try {
    operation();
  } catch (...) {
    --guards_.depth;
    bulk_.index.reset();
    before.Restore(*this);
    throw;
  }
  --guards_.depth;
}

void TCasaPlan::RemoveShortAndDuplicateWalls() {
  Guarded([this] { RemoveShortAndDuplicateWallsWith(*this, CleanUpSearch::kIndexed); });
}

void TCasaPlan::MergeCoincidentCorners() {
  Guarded([this] { MergeCoincidentCornersWith(*this, CleanUpSearch::kIndexed); });
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
  Trace.Move(static_cast<double>(dx), static_cast<double>(dy));
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
  const std::vector<TOpening> before = Live(Openings, OpeningCount);
  bool changed = false;
  try {
    for (int32_t n = 1; n <= OpeningCount;) {
      if (ClampOpening(n))
        changed = true;  // clamp the same opening again until it is stable
      else
        ++n;
    }
  } catch (...) {
    PutBack(Openings, before);
    throw;
  }
  return changed;
}

std::vector<int32_t> TCasaPlan::JoinEndsAround(const std::vector<int32_t>& walls) {
  std::vector<int32_t> moved;
  for (const auto join : {&TCasaPlan::JoinCornersInside, &TCasaPlan::JoinPokingEnds,
                          &TCasaPlan::JoinPokingTips, &TCasaPlan::JoinCoincidentEnds}) {
    for (const int32_t w : walls) {
      const std::vector<int32_t> more = (this->*join)(w);
      moved.insert(moved.end(), more.begin(), more.end());
    }
  }
  return moved;
}

void TCasaPlan::CleanUpAfterCornerMove(int32_t corner) {
  if (corner < 1 || corner > CornerCount) throw RangeError();
  Guarded([&] { CleanUpAfterCornerMoveOf(corner); });
}

void TCasaPlan::CleanUpAfterCornerMoveOf(int32_t corner) {
  NormaliseOrigin();
  JoinCornerToWalls(corner);
  const TIntList atCorner = WallsAtCorner(corner);
  std::vector<int32_t> walls;
  for (int32_t i = 1; i <= atCorner.Count; ++i) walls.push_back(atCorner[i]);
  const std::vector<int32_t> moved = JoinEndsAround(walls);
  for (const int32_t w : walls) SplitAtCrossings(w);
  CutWallsThrough(corner);
  for (const int32_t k : moved) CutWallsThrough(k);
  CutOverlappingWalls();
  RemoveShortAndDuplicateWalls();
  MergeCoincidentCorners();
  ClampAllOpenings();
  RefreshGeometry();
}

void TCasaPlan::CleanUpAfterWallMove(int32_t wall) {
  if (wall < 1 || wall > WallCount) throw RangeError();
  Guarded([&] { CleanUpAfterWallMoveOf(wall); });
}

void TCasaPlan::CleanUpAfterWallMoveOf(int32_t wall) {
  NormaliseOrigin();
  JoinCornerToWalls(Walls[wall].C1);
  JoinCornerToWalls(Walls[wall].C2);
  const std::vector<int32_t> moved = JoinEndsAround({wall});
  const TIntList atC1 = WallsAtCorner(Walls[wall].C1);
  for (int32_t i = 1; i <= atC1.Count; ++i) SplitAtCrossings(atC1[i]);
  // Read only now: the first splits may have changed the walls at C2.
  const TIntList atC2 = WallsAtCorner(Walls[wall].C2);
  for (int32_t i = 1; i <= atC2.Count; ++i) SplitAtCrossings(atC2[i]);
  CutWallsThrough(Walls[wall].C1);
  CutWallsThrough(Walls[wall].C2);
  for (const int32_t k : moved) CutWallsThrough(k);
  CutOverlappingWalls();
  RemoveShortAndDuplicateWalls();
  MergeCoincidentCorners();
  ClampAllOpenings();
  RefreshGeometry();
}

// Each free end is looked at from its own wall; walls without one have
// nothing to join. With the reader's index, an end with no other wall near
// enough to poke into or stop beside is passed over without a scan.
void TCasaPlan::JoinPokingEndsEverywhere() {
  Guarded([&] {
    const CornerWallIndex ends(*this);  // joins move corners, walls stay on them
    const auto mayJoin = [&](int32_t w, int32_t k) {
      if (ends.EndCount(k) != 1) return false;
      const auto near = bulk_.index
                            ? bulk_.index->WallsNear(Corners[k], Walls[w].epais / 2 + 2, WallCount)
                            : std::nullopt;
      return !near || std::any_of(near->begin(), near->end(), [w](int32_t b) { return b != w; });
    };
    std::vector<int32_t> moved;
    for (int32_t w = 1; w <= WallCount; ++w) {
      if (!mayJoin(w, Walls[w].C1) && !mayJoin(w, Walls[w].C2)) continue;
      const std::vector<int32_t> more = JoinPokingEnds(w);
      moved.insert(moved.end(), more.begin(), more.end());
    }
    if (moved.empty()) return;
    for (const int32_t k : moved) CutWallsThrough(k);
    RemoveShortAndDuplicateWalls();
    MergeCoincidentCorners();
  });
}

}  // namespace casavo
