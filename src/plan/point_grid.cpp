#include "plan/point_grid.h"

#include <bit>
#include <limits>

namespace casavo {
namespace {

constexpr int64_t kCell = 5;

int64_t CellOf(int32_t v) {
  return v >= 0 ? v / kCell : (int64_t{v} - (kCell - 1)) / kCell;
}

}  // namespace

bool Coincide(TPoint a, TPoint b) {
  const int64_t dx = int64_t{a.x} - b.x;
  const int64_t dy = int64_t{a.y} - b.y;
  return dx > -kCell && dx < kCell && dy > -kCell && dy < kCell;
}

int32_t FirstCoincidentByScan(std::span<const TPoint> points, int32_t first, int32_t last,
                              int32_t i) {
  const TPoint p = points[static_cast<size_t>(i)];
  for (int32_t j = first; j <= last; ++j)
    if (j != i && Coincide(p, points[static_cast<size_t>(j)])) return j;
  return 0;
}

PointGrid::PointGrid(std::span<const TPoint> points, int32_t first, int32_t last)
    : points_(points), next_(points.size(), 0) {
  const size_t count = last >= first ? static_cast<size_t>(last - first + 1) : 0;
  const size_t capacity = std::bit_ceil(std::max<size_t>(16, 2 * count));
  shift_ = 64 - std::countr_zero(capacity);
  keys_.assign(capacity, 0);
  heads_.assign(capacity, 0);
  // Inserting from the highest index down leaves every cell's chain in
  // increasing index order.
  for (int32_t i = last; i >= first; --i) {
    const TPoint p = points_[static_cast<size_t>(i)];
    const uint64_t key = KeyOf(CellOf(p.x), CellOf(p.y));
    const size_t slot = SlotOf(key);
    if (heads_[slot] == 0) keys_[slot] = key;
    next_[static_cast<size_t>(i)] = heads_[slot];
    heads_[slot] = i;
  }
}

uint64_t PointGrid::KeyOf(int64_t cellX, int64_t cellY) {
  return (uint64_t{static_cast<uint32_t>(cellX)} << 32) | static_cast<uint32_t>(cellY);
}

size_t PointGrid::SlotOf(uint64_t key) const {
  const size_t mask = keys_.size() - 1;
  size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
  while (heads_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & mask;
  return slot;
}

int32_t PointGrid::FirstCoincident(int32_t i) const {
  const TPoint p = points_[static_cast<size_t>(i)];
  const int64_t cellX = CellOf(p.x), cellY = CellOf(p.y);
  int32_t best = std::numeric_limits<int32_t>::max();
  for (int64_t dx = -1; dx <= 1; ++dx) {
    for (int64_t dy = -1; dy <= 1; ++dy) {
      for (int32_t j = heads_[SlotOf(KeyOf(cellX + dx, cellY + dy))]; j != 0 && j < best;
           j = next_[static_cast<size_t>(j)]) {
        if (j != i && Coincide(p, points_[static_cast<size_t>(j)])) {
          best = j;
          break;
        }
      }
    }
  }
  return best == std::numeric_limits<int32_t>::max() ? 0 : best;
}

}  // namespace casavo
