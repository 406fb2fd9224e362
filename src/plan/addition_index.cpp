#include "plan/addition_index.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "plan/casa_plan.h"

namespace casavo {
namespace {

constexpr int kCellShift = 11;      // cells of 2048 mm
constexpr int64_t kMostCells = 64;  // per side of a wall's reach
// SegmentIntersection accepts crossings up to a thousandth of a wall's length
// past its end.
constexpr int64_t kToleranceDivisor = 1000;
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
// Coordinates whose differences stay inside int32.
constexpr int64_t kSafeCoordinate = int64_t{1} << 30;

uint64_t CellKey(int64_t x, int64_t y) {
  return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(y);
}

}  // namespace

int64_t AdditionIndex::Box::Side() const {
  return std::max(right - left, bottom - top);
}

size_t AdditionIndex::PointHash::operator()(TPoint p) const {
  return std::hash<uint64_t>()(CellKey(p.x, p.y));
}

AdditionIndex::AdditionIndex(const TCasaPlan& plan) {
  for (int32_t k = 1; k <= plan.CornerCount; ++k) corners_.try_emplace(plan.Corners[k], k);
  for (int32_t w = 1; w <= plan.WallCount; ++w) WallMoved(plan, w);
}

int32_t AdditionIndex::CornerAt(TPoint p) const {
  const auto found = corners_.find(p);
  return found == corners_.end() ? 0 : found->second;
}

void AdditionIndex::CornerAdded(TPoint p, int32_t k) {
  corners_.try_emplace(p, k);  // an earlier corner there stays the first
}

void AdditionIndex::CornersDropped(const TCasaPlan& plan, int32_t count, int32_t oldCount) {
  for (int32_t k = count + 1; k <= oldCount; ++k) {
    const auto found = corners_.find(plan.Corners[k]);
    if (found != corners_.end() && found->second == k) corners_.erase(found);
  }
}

AdditionIndex::Box AdditionIndex::ReachOf(const TCasaPlan& plan, int32_t w) {
  const TPoint a = plan.Corners[plan.Walls[w].C1];
  const TPoint b = plan.Corners[plan.Walls[w].C2];
  // Two millimetres more on every side cover the rounding of the crossing point.
  const int64_t moreX = std::abs(int64_t{b.x} - a.x) / kToleranceDivisor + 2;
  const int64_t moreY = std::abs(int64_t{b.y} - a.y) / kToleranceDivisor + 2;
  return {std::min(a.x, b.x) - moreX, std::min(a.y, b.y) - moreY, std::max(a.x, b.x) + moreX,
          std::max(a.y, b.y) + moreY};
}

// A wall keeps the cells and the side it had before a cut shortened it: an
// extra candidate costs one test.
void AdditionIndex::WallMoved(const TCasaPlan& plan, int32_t w) {
  const Box box = ReachOf(plan, w);
  all_ = all_ ? Box{std::min(all_->left, box.left), std::min(all_->top, box.top),
                    std::max(all_->right, box.right), std::max(all_->bottom, box.bottom)}
              : box;
  bySide_.emplace(box.Side(), w);
  const int64_t x0 = box.left >> kCellShift, x1 = box.right >> kCellShift;
  const int64_t y0 = box.top >> kCellShift, y1 = box.bottom >> kCellShift;
  if (x1 - x0 >= kMostCells || y1 - y0 >= kMostCells) {
    huge_.push_back(w);
    return;
  }
  for (int64_t x = x0; x <= x1; ++x)
    for (int64_t y = y0; y <= y1; ++y) cells_[CellKey(x, y)].push_back(w);
}

// The crossing test works in int32: it multiplies the sides of two walls
// (along an axis) by each other and by the distance between the walls'
// starts, and subtracts two such products. Each product must stay within half
// the range.
int64_t AdditionIndex::SafeSide(const Box& reach) const {
  const auto inside = [](int64_t v) { return v > -kSafeCoordinate && v < kSafeCoordinate; };
  if (!all_ || !inside(all_->left) || !inside(all_->top) || !inside(all_->right) ||
      !inside(all_->bottom))
    return 0;
  const int64_t sideOfA = std::max<int64_t>(reach.Side(), 1);
  const int64_t distance =
      std::max<int64_t>({all_->right - reach.left, reach.right - all_->left,
                         all_->bottom - reach.top, reach.bottom - all_->top, 1});
  if (2 * sideOfA * distance > kInt32Max) return 0;
  return std::min(kInt32Max / (2 * distance), kInt32Max / (2 * sideOfA));
}

std::optional<std::vector<int32_t>> AdditionIndex::CrossingCandidates(const TCasaPlan& plan,
                                                                      int32_t a, int32_t after,
                                                                      int32_t count) const {
  const Box reach = ReachOf(plan, a);
  const int64_t safeSide = SafeSide(reach);
  const int64_t x0 = reach.left >> kCellShift, x1 = reach.right >> kCellShift;
  const int64_t y0 = reach.top >> kCellShift, y1 = reach.bottom >> kCellShift;
  if (safeSide == 0 || x1 - x0 >= kMostCells || y1 - y0 >= kMostCells) return std::nullopt;

  std::vector<int32_t> walls;
  const auto take = [&](int32_t w) {
    if (w > after && w <= count) walls.push_back(w);
  };
  for (int32_t w : huge_) take(w);
  // Walls too long to be tested safely against wall a, wherever they are.
  for (auto it = bySide_.begin(); it != bySide_.end() && it->first > safeSide; ++it)
    take(it->second);
  for (int64_t x = x0; x <= x1; ++x) {
    for (int64_t y = y0; y <= y1; ++y) {
      const auto cell = cells_.find(CellKey(x, y));
      if (cell != cells_.end())
        for (int32_t w : cell->second) take(w);
    }
  }
  std::sort(walls.begin(), walls.end());
  walls.erase(std::unique(walls.begin(), walls.end()), walls.end());
  return walls;
}

}  // namespace casavo
