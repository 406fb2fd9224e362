// TIntList operations.

#include "plan/int_list.h"

#include <bitset>

#include "common/errors.h"

namespace casavo {

int32_t& TIntList::operator[](int32_t i) {
  if (i < 1 || i > kCapacity) throw RangeError();
  return items_[i - 1];
}

int32_t TIntList::operator[](int32_t i) const {
  if (i < 1 || i > kCapacity) throw RangeError();
  return items_[i - 1];
}

void TIntList::Append(int32_t value) {
  if (Count < 0 || Count >= kCapacity) throw RangeError();
  items_[Count] = value;
  ++Count;
}

std::string TIntList::ToText() const {
  std::string text = "(" + std::to_string(Count) + ")";
  for (int32_t i = 1; i <= Count; ++i) text += "," + std::to_string((*this)[i]);
  return text;
}

TIntList TIntList::SortedUnion(const TIntList& a, const TIntList& b) {
  std::bitset<kCapacity + 1> present;
  for (const TIntList* list : {&a, &b}) {
    for (int32_t i = 1; i <= list->Count; ++i) {
      const int32_t value = (*list)[i];
      if (value < 1 || value > kCapacity) throw RangeError();
      present.set(value);
    }
  }
  TIntList result;
  for (int32_t value = 1; value <= kCapacity; ++value)
    if (present.test(value)) result.Append(value);
  return result;
}

bool operator==(const TIntList& a, const TIntList& b) {
  if (a.Count != b.Count) return false;
  for (int32_t i = 1; i <= a.Count; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace casavo
