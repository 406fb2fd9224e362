// TIntList: the model's fixed integer list, 1-based, at most 1000 items.

#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace casavo {

// The fixed integer list of the model: a count and up to 1000 items, 1-based,
// copied by value.
class TIntList {
 public:
  static constexpr int32_t kCapacity = 1000;

  int32_t Count = 0;

  // Item i, 1 <= i <= kCapacity; RangeError otherwise.
  int32_t& operator[](int32_t i);
  int32_t operator[](int32_t i) const;

  // Count := Count + 1, Items[Count] := value. RangeError on a full list, which
  // is left unchanged.
  void Append(int32_t value);

  // "(" Count ")" then "," item for each item: (0) for an empty list.
  std::string ToText() const;

  // The set union of both lists' items in ascending order. Items must lie in
  // 1..1000 (RangeError otherwise).
  static TIntList SortedUnion(const TIntList& a, const TIntList& b);

  friend bool operator==(const TIntList& a, const TIntList& b);

 private:
  std::array<int32_t, kCapacity> items_{};
};

}  // namespace casavo
