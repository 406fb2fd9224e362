// Half-to-even rounding and checked int32 arithmetic.

#include "common/numeric.h"

#include <cmath>
#include <limits>

#include "common/errors.h"

namespace casavo {

int32_t RoundToInt(long double value) {
  if (std::isnan(value)) throw OverflowError();
  // The default floating-point environment rounds to nearest, ties to even.
  // rintl rounds like nearbyintl without saving and restoring that
  // environment, which made conversions the costliest part of a paint.
  const long double rounded = std::rintl(value);
  if (rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    throw OverflowError();
  // A whole number within int32 is exact as a double; converting from the
  // double spares switching the x87 rounding mode for the conversion, which
  // stalled every paint.
  return static_cast<int32_t>(static_cast<double>(rounded));
}

int32_t CheckedAdd(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw OverflowError();
  return r;
}

int32_t CheckedSub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw OverflowError();
  return r;
}

int32_t CheckedMul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw OverflowError();
  return r;
}

}  // namespace casavo
