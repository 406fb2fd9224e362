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

// The same search through a hash of 5 mm cells: a coincident point lies in
// the point's own cell or one of the eight around it. Gives the same index as
// the scan.
class PointGrid {
 public:
  PointGrid(std::span<const TPoint> points, int32_t first, int32_t last);

  int32_t FirstCoincident(int32_t i) const;

 private:
  static uint64_t KeyOf(int64_t cellX, int64_t cellY);
  // Slot holding the key, or the empty slot where it would go.
  size_t SlotOf(uint64_t key) const;

  std::span<const TPoint> points_;
  int shift_ = 0;
  std::vector<uint64_t> keys_;
  std::vector<int32_t> heads_;  // first (lowest) point index of the cell; 0 = empty slot
  std::vector<int32_t> next_;   // next higher point index in the same cell; 0 = none
};

}  // namespace casavo
