// AdditionIndex: corner positions and wall cells while many walls are added.

#include "plan/addition_index.h"

#include <algorithm>
#include <cstdlib>

#include "plan/casa_plan.h"

namespace casavo {
namespace {

constexpr int kCellShift = 11;      // cells of 2048 mm
constexpr int64_t kMostCells = 64;  // per side of a wall's reach
// SegmentIntersection accepts crossings up to a thousandth of a wall's length
// past its end.
constexpr int64_t kToleranceDivisor = 1000;
// Coordinates far enough from the ends of the int32 range.
constexpr int64_t kSafeCoordinate = int64_t{1} << 30;

uint64_t CellKey(int64_t x, int64_t y) {
  return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(y);
}

}  // namespace

size_t AdditionIndex::PointHash::operator()(TPoint p) const {
  return std::hash<uint64_t>()(CellKey(p.x, p.y));
}

AdditionIndex::AdditionIndex(const TCasaPlan& plan) {
  for (int32_t k = 1; k <= plan.CornerCount; ++k) CornerAdded(plan.Corners[k], k);
  for (int32_t w = 1; w <= plan.WallCount; ++w) WallMoved(plan, w);
}

int32_t AdditionIndex::CornerAt(TPoint p) const {
  const auto found = corners_.find(p);
  return found == corners_.end() ? 0 : found->second;
}

void AdditionIndex::CornerAdded(TPoint p, int32_t k) {
  corners_.try_emplace(p, k);  // an earlier corner there stays the first
  cornerCells_[CellKey(p.x >> kCellShift, p.y >> kCellShift)].push_back(k);
}

void AdditionIndex::CornerLeaves(TPoint p, int32_t k) {
  const auto found = corners_.find(p);
  if (found != corners_.end() && found->second == k) corners_.erase(found);
  const auto cell = cornerCells_.find(CellKey(p.x >> kCellShift, p.y >> kCellShift));
  if (cell != cornerCells_.end()) std::erase(cell->second, k);
}

void AdditionIndex::CornerMoved(const TCasaPlan& plan, int32_t k, TPoint from) {
  CornerLeaves(from, k);
  CornerAdded(plan.Corners[k], k);
  for (int32_t w = 1; w <= plan.WallCount; ++w)
    if (plan.Walls[w].C1 == k || plan.Walls[w].C2 == k) WallMoved(plan, w);
}

void AdditionIndex::CornersDropped(const TCasaPlan& plan, int32_t count, int32_t oldCount) {
  for (int32_t k = count + 1; k <= oldCount; ++k) CornerLeaves(plan.Corners[k], k);
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

// A wall keeps the cells it had before a cut shortened it: an extra candidate
// costs one test.
void AdditionIndex::WallMoved(const TCasaPlan& plan, int32_t w) {
  const Box box = ReachOf(plan, w);
  halfThickest_ = std::max<int64_t>(halfThickest_, (int64_t{plan.Walls[w].epais} + 1) / 2);
  all_ = all_ ? Box{std::min(all_->left, box.left), std::min(all_->top, box.top),
                    std::max(all_->right, box.right), std::max(all_->bottom, box.bottom)}
              : box;
  const int64_t x0 = box.left >> kCellShift, x1 = box.right >> kCellShift;
  const int64_t y0 = box.top >> kCellShift, y1 = box.bottom >> kCellShift;
  if (x1 - x0 >= kMostCells || y1 - y0 >= kMostCells) {
    huge_.push_back(w);
    return;
  }
  for (int64_t x = x0; x <= x1; ++x)
    for (int64_t y = y0; y <= y1; ++y) cells_[CellKey(x, y)].push_back(w);
}

// The crossing test multiplies in 128 bits and cannot overflow; only the
// rounding of its point can, for walls near the ends of the int32 range, where
// every wall is examined.
bool AdditionIndex::Safe() const {
  const auto inside = [](int64_t v) { return v > -kSafeCoordinate && v < kSafeCoordinate; };
  return all_ && inside(all_->left) && inside(all_->top) && inside(all_->right) &&
         inside(all_->bottom);
}

std::optional<std::vector<int32_t>> AdditionIndex::WallsIn(const Box& box, int32_t after,
                                                           int32_t count) const {
  const int64_t x0 = box.left >> kCellShift, x1 = box.right >> kCellShift;
  const int64_t y0 = box.top >> kCellShift, y1 = box.bottom >> kCellShift;
  if (!Safe() || x1 - x0 >= kMostCells || y1 - y0 >= kMostCells) return std::nullopt;

  std::vector<int32_t> walls;
  const auto take = [&](int32_t w) {
    if (w > after && w <= count) walls.push_back(w);
  };
  for (int32_t w : huge_) take(w);
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

std::optional<std::vector<int32_t>> AdditionIndex::CrossingCandidates(const TCasaPlan& plan,
                                                                      int32_t a, int32_t after,
                                                                      int32_t count) const {
  return WallsIn(ReachOf(plan, a), after, count);
}

// A wall whose body holds a point has its centre line, and so its cells,
// within half its thickness of it.
std::optional<std::vector<int32_t>> AdditionIndex::WallsNear(TPoint p, int64_t reach,
                                                             int32_t count) const {
  return WallsIn({p.x - reach, p.y - reach, p.x + reach, p.y + reach}, 0, count);
}

std::vector<int32_t> AdditionIndex::CornersNear(const TCasaPlan& plan, int32_t w,
                                                int64_t reach) const {
  const TPoint a = plan.Corners[plan.Walls[w].C1];
  const TPoint b = plan.Corners[plan.Walls[w].C2];
  const int64_t x0 = (std::min(a.x, b.x) - reach) >> kCellShift;
  const int64_t x1 = (std::max(a.x, b.x) + reach) >> kCellShift;
  const int64_t y0 = (std::min(a.y, b.y) - reach) >> kCellShift;
  const int64_t y1 = (std::max(a.y, b.y) + reach) >> kCellShift;
  std::vector<int32_t> corners;
  if (x1 - x0 >= kMostCells || y1 - y0 >= kMostCells) {
    for (int32_t k = 1; k <= plan.CornerCount; ++k) corners.push_back(k);
    return corners;
  }
  for (int64_t x = x0; x <= x1; ++x) {
    for (int64_t y = y0; y <= y1; ++y) {
      const auto cell = cornerCells_.find(CellKey(x, y));
      if (cell != cornerCells_.end())
        corners.insert(corners.end(), cell->second.begin(), cell->second.end());
    }
  }
  std::sort(corners.begin(), corners.end());
  corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
  return corners;
}

}  // namespace casavo
