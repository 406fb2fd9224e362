// Tests of half-to-even rounding and the checked int32 arithmetic.

#include "common/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/errors.h"

namespace casavo {

TEST(RoundToInt, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundToInt(2.5L), 2);
  EXPECT_EQ(RoundToInt(3.5L), 4);
  EXPECT_EQ(RoundToInt(-2.5L), -2);
  EXPECT_EQ(RoundToInt(0.5L), 0);
  EXPECT_EQ(RoundToInt(1.5L), 2);
  EXPECT_EQ(RoundToInt(2.4999L), 2);
  EXPECT_EQ(RoundToInt(-3.7L), -4);
}

TEST(RoundToInt, ExtendedPrecisionKeepsTheDoublesError) {
  // 0.05 is slightly above a twentieth as a double; times 10 in long double the
  // excess survives and the result rounds up.
  EXPECT_EQ(RoundToInt(10 * static_cast<long double>(0.05)), 1);
}

TEST(RoundToInt, OutsideInt32Overflows) {
  EXPECT_EQ(RoundToInt(2147483647.0L), 2147483647);
  EXPECT_EQ(RoundToInt(-2147483648.0L), std::numeric_limits<int32_t>::min());
  EXPECT_THROW(RoundToInt(2147483647.5L + 0.5L), OverflowError);
  EXPECT_THROW(RoundToInt(-2147483649.0L), OverflowError);
  EXPECT_THROW(RoundToInt(std::numeric_limits<long double>::quiet_NaN()), OverflowError);
  EXPECT_THROW(RoundToInt(std::numeric_limits<long double>::infinity()), OverflowError);
}

TEST(CheckedArithmetic, RaisesOnOverflowOnly) {
  EXPECT_EQ(CheckedAdd(2147483646, 1), 2147483647);
  EXPECT_THROW(CheckedAdd(2147483647, 1), OverflowError);
  EXPECT_EQ(CheckedSub(-2147483647, 1), std::numeric_limits<int32_t>::min());
  EXPECT_THROW(CheckedSub(std::numeric_limits<int32_t>::min(), 1), OverflowError);
  EXPECT_EQ(CheckedMul(46340, 46340), 2147395600);
  EXPECT_THROW(CheckedMul(46341, 46341), OverflowError);
  EXPECT_THROW(CheckedMul(50000, 50000), OverflowError);
}

TEST(Errors, CarryTheirTexts) {
  EXPECT_STREQ(RangeError().what(), "Range check error");
  EXPECT_STREQ(OverflowError().what(), "Integer overflow");
}

}  // namespace casavo
