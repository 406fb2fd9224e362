// The one real-to-integer conversion and the checked int32 products and sums.

#pragma once

#include <cstdint>

namespace casavo {

// The one real-to-integer conversion: nearest integer, halves to the even
// neighbour; OverflowError when the result does not fit an int32 (or is NaN).
int32_t RoundToInt(long double value);

// 32-bit arithmetic that raises OverflowError instead of wrapping.
int32_t CheckedAdd(int32_t a, int32_t b);
int32_t CheckedSub(int32_t a, int32_t b);
int32_t CheckedMul(int32_t a, int32_t b);

}  // namespace casavo
