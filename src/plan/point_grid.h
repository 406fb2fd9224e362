// PointGrid: finds outline points that coincide (closer than 5 mm).

#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "plan/geometry.h"

namespace casavo {

// Two outline points are the same point when they differ by less than 5 mm in
// x and in y.
bool Coincide(TPoint a, TPoint b);

// The first index j in first..last, j != i, whose point coincides with
// points[i], by scanning them all in order; 0 when there is none.
int32_t FirstCoincidentByScan(std::span<const TPoint> points, int32_t first, int32_t last,
                              int32_t i);

// The same search through square cells larger than 9 mm: the points within
// 4 mm of a point on both axes lie in at most two cells along each axis.
// Cells are hashed to buckets, whose points are stored together in index
// order, so that a search reads a few short runs; a bucket may hold several
// cells, whose other points the coincidence test leaves out. Gives the same
// index as the scan.
class PointGrid {
 public:
  PointGrid(std::span<const TPoint> points, int32_t first, int32_t last);

  int32_t FirstCoincident(int32_t i) const;
  // The same, among the indices after `after`.
  int32_t FirstCoincidentAfter(int32_t i, int32_t after) const;

  // Point i has changed in the table the grid reads: searches find it where
  // it is now. FirstCoincident needs a Refresh of every point that coincided
  // with it before or coincides with it now, and of itself.
  void Moved(int32_t i);
  void Refresh(int32_t i);

 private:
  struct Item {
    TPoint point;
    int32_t index;
  };

  size_t BucketOf(int64_t cellX, int64_t cellY) const;
  size_t BucketOf(TPoint p) const;
  // The lowest index j != i, after `after` and below `best`, in the bucket
  // whose point coincides with p, or `best`.
  int32_t FirstInBucket(size_t bucket, int32_t i, TPoint p, int32_t after, int32_t best) const;

  std::span<const TPoint> points_;
  int32_t first_index_ = 0;
  int shift_ = 0;
  std::vector<int32_t> begin_;  // bucket b's items are items_[begin_[b]..begin_[b + 1])
  std::vector<Item> items_;
  std::vector<int32_t> first_;  // FirstCoincident of each point from first_index_ on
  // Points that have moved since the cells were laid out: their items are
  // stale and they are searched one by one.
  std::vector<bool> stale_;
  std::vector<int32_t> moved_;
};

}  // namespace casavo
