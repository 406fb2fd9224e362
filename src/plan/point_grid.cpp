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
  // About two points a bucket: joined walls put their coincident points in
  // one cell, so most buckets hold one cell.
  const size_t buckets = std::bit_ceil(std::max<size_t>(16, count / 2));
  shift_ = 64 - std::countr_zero(buckets);
  // Count the points of each bucket, lay the buckets' runs out one after the
  // other, then fill them in increasing index order.
  begin_.assign(buckets + 1, 0);
  for (size_t n = 0; n < count; ++n) ++begin_[BucketOf(points_[first + n]) + 1];
  for (size_t b = 1; b <= buckets; ++b) begin_[b] += begin_[b - 1];
  std::vector<int32_t> end(begin_.begin(), begin_.end() - 1);
  items_.resize(count);
  for (size_t n = 0; n < count; ++n) {
    const TPoint p = points_[first + n];
    items_[static_cast<size_t>(end[BucketOf(p)]++)] = {p, first + static_cast<int32_t>(n)};
  }
  // Every point's first coincident point, found in one pass: the searches do
  // not wait on each other, so the processor overlaps their reads of the
  // table, which a walk from point to point cannot do once the table
  // outgrows the cache. The pass goes bucket by bucket: a point whose
  // neighbourhood lies inside its own cell, most of them, reads only its
  // bucket's run, which the pass reads in memory order anyway.
  first_.resize(count);
  for (size_t b = 0; b < buckets; ++b)
    for (int32_t n = begin_[b]; n < begin_[b + 1]; ++n) {
      const Item& item = items_[static_cast<size_t>(n)];
      const TPoint p = item.point;
      const bool inside =
          CellOf(int64_t{p.x} - (kNear - 1)) == CellOf(int64_t{p.x} + (kNear - 1)) &&
          CellOf(int64_t{p.y} - (kNear - 1)) == CellOf(int64_t{p.y} + (kNear - 1));
      const int32_t found =
          inside ? FirstInBucket(b, item.index, p, 0, kNone) : FirstCoincidentAfter(item.index, 0);
      first_[static_cast<size_t>(item.index - first)] = found == kNone ? 0 : found;
    }
}

size_t PointGrid::BucketOf(int64_t cellX, int64_t cellY) const {
  const uint64_t key =
      (uint64_t{static_cast<uint32_t>(cellX)} << 32) | static_cast<uint32_t>(cellY);
  return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

size_t PointGrid::BucketOf(TPoint p) const {
  return BucketOf(CellOf(p.x), CellOf(p.y));
}

int32_t PointGrid::FirstInBucket(size_t bucket, int32_t i, TPoint p, int32_t after,
                                 int32_t best) const {
  for (int32_t n = begin_[bucket]; n < begin_[bucket + 1]; ++n) {
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
      best = FirstInBucket(BucketOf(cellX, cellY), i, p, after, best);
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
