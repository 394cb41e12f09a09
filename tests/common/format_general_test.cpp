#include "common/format_general.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace sfigmo {
namespace {

std::string Ru(double v, int digits, int expDigits = 0) {
  return FormatGeneral(v, digits, expDigits, ',');
}

TEST(FormatGeneral, FixedFormRoundsHalfAwayFromZero) {
  EXPECT_EQ(Ru(72.4, 2), "72");
  EXPECT_EQ(Ru(72.5, 2), "73");
  EXPECT_EQ(Ru(-72.5, 2), "-73");
  EXPECT_EQ(Ru(18.75, 5), "18,75");
  EXPECT_EQ(Ru(72.46, 3), "72,5");
  EXPECT_EQ(Ru(0.0523, 4), "0,0523");
  EXPECT_EQ(Ru(68.18181818, 3), "68,2");
  EXPECT_EQ(Ru(99.96, 3), "100");  // carry into a new integer digit that still fits
  EXPECT_EQ(Ru(0.1, 3), "0,1");    // 0.1000000000000000055 must not show its tail
  EXPECT_EQ(Ru(1.0 / 3.0, 18), "0,333333333333333315");
  EXPECT_EQ(Ru(2.5, 18), "2,5");  // all 18 digits kept: their zeros still go
  EXPECT_EQ(Ru(1e20, 18), "1E20");
}

TEST(FormatGeneral, TakesTheValueTo18DigitsBeforeRounding) {
  // 2.675 is 2.67499999999999982236431605997495353221893310546875 in binary:
  // at 18 digits it is 2.67499999999999982, so it rounds down.
  EXPECT_EQ(Ru(2.675, 3), "2,67");
  // 0.15 is 0.1499999999999999944…, at 18 digits still below the half.
  EXPECT_EQ(Ru(0.15, 1), "0,1");
  // 1.5 is exact: the half goes away from zero.
  EXPECT_EQ(Ru(1.5, 1), "2");
  EXPECT_EQ(Ru(-2.5, 1), "-3");
}

TEST(FormatGeneral, ZeroAndSeparator) {
  EXPECT_EQ(Ru(0.0, 3), "0");
  EXPECT_EQ(Ru(-0.0, 3), "0");
  EXPECT_EQ(FormatGeneral(0.0523, 4, 0, '.'), "0.0523");
  EXPECT_EQ(FormatGeneral(105, 2, 0, '.'), "1.1E2");
}

TEST(FormatGeneral, ScientificWhenTheIntegerPartDoesNotFit) {
  EXPECT_EQ(Ru(105, 2), "1,1E2");
  EXPECT_EQ(Ru(100, 2), "1E2");   // no separator without further digits
  EXPECT_EQ(Ru(99.5, 2), "1E2");  // rounding carries past the digit count
  EXPECT_EQ(Ru(99.4, 2), "99");
  EXPECT_EQ(Ru(-1234.5, 3), "-1,23E3");
  EXPECT_EQ(Ru(1e300, 3), "1E300");
  EXPECT_EQ(Ru(std::numeric_limits<double>::max(), 3), "1,8E308");
}

TEST(FormatGeneral, ScientificBelowOneTenThousandth) {
  EXPECT_EQ(Ru(0.0001, 3), "0,0001");
  EXPECT_EQ(Ru(0.00009999, 3), "0,0001");  // rounds up to the bound: fixed
  EXPECT_EQ(Ru(0.0000999, 3), "9,99E-5");
  EXPECT_EQ(Ru(-0.000012345, 3), "-1,23E-5");
  EXPECT_EQ(Ru(std::numeric_limits<double>::denorm_min(), 3), "4,94E-324");
}

TEST(FormatGeneral, ExponentDigitsArePadded) {
  EXPECT_EQ(Ru(105, 2, 3), "1,1E002");
  EXPECT_EQ(Ru(0.0000999, 3, 3), "9,99E-005");
  EXPECT_EQ(Ru(1e300, 3, 2), "1E300");  // a minimum, never a cut
  EXPECT_EQ(Ru(0.04, 3, 3), "0,04");    // fixed form has no exponent
}

TEST(FormatGeneral, NonFiniteValues) {
  EXPECT_EQ(Ru(std::nan(""), 3), "NAN");
  EXPECT_EQ(Ru(-std::nan(""), 3), "NAN");
  EXPECT_EQ(Ru(std::numeric_limits<double>::infinity(), 3), "INF");
  EXPECT_EQ(Ru(-std::numeric_limits<double>::infinity(), 3), "-INF");
}

TEST(FormatGeneral, DigitCountOutOfRangeIsHeldInBounds) {
  EXPECT_EQ(Ru(72.4, 0), "7E1");
  EXPECT_EQ(Ru(72.4, -5), "7E1");
  EXPECT_EQ(Ru(0.1, 40), "0,100000000000000006");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(12.5), 12.0);
  EXPECT_EQ(RoundHalfEven(13.5), 14.0);
  EXPECT_EQ(RoundHalfEven(-12.5), -12.0);
  EXPECT_EQ(RoundHalfEven(-13.5), -14.0);
  EXPECT_EQ(RoundHalfEven(4.5), 4.0);
  EXPECT_EQ(RoundHalfEven(110.5), 110.0);
  EXPECT_EQ(RoundHalfEven(111.5), 112.0);
  EXPECT_EQ(RoundHalfEven(139.4), 139.0);
  EXPECT_EQ(RoundHalfEven(139.5), 140.0);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0.0);
  EXPECT_EQ(RoundHalfEven(-0.6), -1.0);
  EXPECT_EQ(RoundHalfEven(1e300), 1e300);
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
  EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()),
            -std::numeric_limits<double>::infinity());
}

TEST(RoundHalfEvenClamped, NeverLeavesTheRange) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(RoundHalfEvenClamped(13.5, -100, 100), 14);
  EXPECT_EQ(RoundHalfEvenClamped(std::nan(""), -7, 100), -7);
  EXPECT_EQ(RoundHalfEvenClamped(inf, -7, 100), 100);
  EXPECT_EQ(RoundHalfEvenClamped(-inf, -7, 100), -7);
  EXPECT_EQ(RoundHalfEvenClamped(1e300, 0, 1000), 1000);
  EXPECT_EQ(RoundHalfEvenClamped(-1e300, 0, 1000), 0);
  const auto min = std::numeric_limits<std::int64_t>::min();
  const auto max = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(RoundHalfEvenClamped(9.3e18, min, max), max);
  EXPECT_EQ(RoundHalfEvenClamped(-9.3e18, min, max), min);
  EXPECT_EQ(RoundHalfEvenClamped(-2.5, min, max), -2);
}

}  // namespace
}  // namespace sfigmo
