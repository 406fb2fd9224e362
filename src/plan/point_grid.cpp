// PointGrid: outline points by 64 mm cells.

#include "plan/point_grid.h"

#include <bit>
#include <limits>

namespace casavo {
namespace {

constexpr int64_t kNear = 5;  // coincident points differ by less than this on both axes
// Cells of 64 mm: the 9 mm span of a point's neighbourhood crosses a cell
// border on an axis one time in eight, so most searches read one cell.
constexpr int kCellShift = 6;

constexpr int32_t kNone = std::numeric_limits<int32_t>::max();  // above every index

int64_t CellOf(int64_t v) {
  return v >> kCellShift;  // floor division, also below zero
}

}  // namespace

bool Coincide(TPoint a, TPoint b) {
  const int64_t dx = int64_t{a.x} - b.x;
  const int64_t dy = int64_t{a.y} - b.y;
  return dx > -kNear && dx < kNear && dy > -kNear && dy < kNear;
}

int32_t FirstCoincidentByScan(std::span<const TPoint> points, int32_t first, int32_t last,
                              int32_t i) {
  const TPoint p = points[static_cast<size_t>(i)];
  for (int32_t j = first; j <= last; ++j)
    if (j != i && Coincide(p, points[static_cast<size_t>(j)])) return j;
  return 0;
}

PointGrid::PointGrid(std::span<const TPoint> points, int32_t first, int32_t last)
    : points_(points), first_index_(first) {
  const size_t count = last >= first ? static_cast<size_t>(last - first + 1) : 0;
  const size_t capacity = std::bit_ceil(std::max<size_t>(16, 2 * count));
  shift_ = 64 - std::countr_zero(capacity);
  slots_.assign(capacity, Slot{});
  // Count the points of each cell, lay the cells' runs out one after the
  // other, then fill them in increasing index order.
  std::vector<uint32_t> slotOfPoint(count);
  for (size_t n = 0; n < count; ++n) {
    const TPoint p = points_[static_cast<size_t>(first) + n];
    const uint64_t key = KeyOf(CellOf(p.x), CellOf(p.y));
    const size_t slot = SlotOf(key);
    slots_[slot].key = key;
    ++slots_[slot].end;
    slotOfPoint[n] = static_cast<uint32_t>(slot);
  }
  int32_t next = 0;
  for (Slot& slot : slots_) {
    slot.begin = next;
    next += slot.end;
    slot.end = slot.begin;
  }
  items_.resize(count);
  for (size_t n = 0; n < count; ++n) {
    const int32_t i = first + static_cast<int32_t>(n);
    items_[static_cast<size_t>(slots_[slotOfPoint[n]].end++)] = {points_[static_cast<size_t>(i)],
                                                                 i};
  }
  // Every point's first coincident point, found in one pass: the searches do
  // not wait on each other, so the processor overlaps their reads of the
  // table, which a walk from point to point cannot do once the table
  // outgrows the cache. The pass goes cell by cell: a point whose
  // neighbourhood lies inside its own cell, most of them, reads only the
  // cell's run, which the pass reads in memory order anyway.
  first_.resize(count);
  for (const Slot& slot : slots_)
    for (int32_t n = slot.begin; n < slot.end; ++n) {
      const Item& item = items_[static_cast<size_t>(n)];
      const TPoint p = item.point;
      const bool inside =
          CellOf(int64_t{p.x} - (kNear - 1)) == CellOf(int64_t{p.x} + (kNear - 1)) &&
          CellOf(int64_t{p.y} - (kNear - 1)) == CellOf(int64_t{p.y} + (kNear - 1));
      const int32_t found =
          inside ? FirstInSlot(slot, item.index, p, 0, kNone) : FirstCoincidentAfter(item.index, 0);
      first_[static_cast<size_t>(item.index - first)] = found == kNone ? 0 : found;
    }
}

uint64_t PointGrid::KeyOf(int64_t cellX, int64_t cellY) {
  return (uint64_t{static_cast<uint32_t>(cellX)} << 32) | static_cast<uint32_t>(cellY);
}

size_t PointGrid::SlotOf(uint64_t key) const {
  const size_t mask = slots_.size() - 1;
  size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
  while (slots_[slot].end != slots_[slot].begin && slots_[slot].key != key)
    slot = (slot + 1) & mask;
  return slot;
}

int32_t PointGrid::FirstInCell(int64_t cellX, int64_t cellY, int32_t i, TPoint p, int32_t after,
                               int32_t best) const {
  return FirstInSlot(slots_[SlotOf(KeyOf(cellX, cellY))], i, p, after, best);
}

int32_t PointGrid::FirstInSlot(const Slot& slot, int32_t i, TPoint p, int32_t after,
                               int32_t best) const {
  for (int32_t n = slot.begin; n < slot.end; ++n) {
    const Item& item = items_[static_cast<size_t>(n)];
    if (item.index >= best) break;
    if (!stale_.empty() && stale_[static_cast<size_t>(item.index - first_index_)]) continue;
    if (item.index > after && item.index != i && Coincide(p, item.point)) return item.index;
  }
  return best;
}

int32_t PointGrid::FirstCoincident(int32_t i) const {
  return first_[static_cast<size_t>(i - first_index_)];
}

int32_t PointGrid::FirstCoincidentAfter(int32_t i, int32_t after) const {
  const TPoint p = points_[static_cast<size_t>(i)];
  int32_t best = kNone;
  for (int64_t cellX = CellOf(int64_t{p.x} - (kNear - 1));
       cellX <= CellOf(int64_t{p.x} + (kNear - 1)); ++cellX)
    for (int64_t cellY = CellOf(int64_t{p.y} - (kNear - 1));
         cellY <= CellOf(int64_t{p.y} + (kNear - 1)); ++cellY)
      best = FirstInCell(cellX, cellY, i, p, after, best);
  for (const int32_t j : moved_)
    if (j > after && j < best && j != i && Coincide(p, points_[static_cast<size_t>(j)])) best = j;
  return best == kNone ? 0 : best;
}

void PointGrid::Moved(int32_t i) {
  if (stale_.empty()) stale_.assign(first_.size(), false);
  const size_t n = static_cast<size_t>(i - first_index_);
  if (stale_.at(n)) return;
  stale_[n] = true;
  moved_.push_back(i);
}

void PointGrid::Refresh(int32_t i) {
  first_.at(static_cast<size_t>(i - first_index_)) = FirstCoincidentAfter(i, 0);
}

}  // namespace casavo
