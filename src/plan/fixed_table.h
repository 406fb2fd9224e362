// FixedTable: a 1-based table of fixed capacity.

#pragma once

#include <cstdint>
#include <vector>

#include "common/errors.h"

namespace casavo {

// A 1-based table of fixed capacity. The storage is allocated once; an index
// outside 1..Capacity is a RangeError. The count of live elements is kept by
// the owner (the plan's WallCount, CornerCount, ...).
template <class T, int32_t Capacity>
class FixedTable {
 public:
  static constexpr int32_t kCapacity = Capacity;

  FixedTable() : items_(Capacity) {}

  T& operator[](int32_t i) {
    Check(i);
    return items_[i - 1];
  }
  const T& operator[](int32_t i) const {
    Check(i);
    return items_[i - 1];
  }

 private:
  static void Check(int32_t i) {
    if (i < 1 || i > Capacity) throw RangeError();
  }
  std::vector<T> items_;
};

}  // namespace casavo
