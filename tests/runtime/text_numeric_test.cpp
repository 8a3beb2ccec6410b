#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/numeric.h"
#include "runtime/text.h"

namespace quorin {
namespace {

TEST(Numeric, RoundingModes) {
  EXPECT_EQ(RoundFloat(-0.5f, 2), -1.0f);
  EXPECT_EQ(RoundFloat(0.5f, 2), 1.0f);
  EXPECT_EQ(RoundFloat(2.5f, 2), 3.0f);
  EXPECT_EQ(RoundFloat(-2.5f, 2), -3.0f);
  EXPECT_EQ(RoundFloat(0.0f, 2), 0.0f);
  EXPECT_EQ(RoundFloat(0.49999997f, 2), 0.0f);  // no float rounding inside the halving
  EXPECT_EQ(RoundFloat(-1.25f, 7), -2.0f);
  EXPECT_EQ(RoundFloat(1.25f, 0), 1.0f);
  EXPECT_EQ(RoundFloat(1.25f, 1), 2.0f);
  EXPECT_EQ(RoundDouble(-1.5, 1), -1.0);
}

TEST(Numeric, TruncationPackingAndAngles) {
  EXPECT_EQ(FloatToIntTruncate(-0.999), 0);
  EXPECT_EQ(FloatToIntTruncate(2.9), 2);
  EXPECT_EQ(FloatToIntTruncate(-2.9), -2);
  EXPECT_EQ(FloatToIntTruncate(1e20), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(FloatToIntTruncate(std::nan("")), 0);
  EXPECT_EQ(ColourPack(255, 0, 255), 16711935);
  EXPECT_EQ(ColourPack(0, 128, 128), 8421376);
  EXPECT_FLOAT_EQ(Atan2Of(0.0f, 1.0f), 1.5707964f);  // down
  EXPECT_FLOAT_EQ(Atan2Of(-1.0f, 0.0f), 3.1415927f);
  EXPECT_FLOAT_EQ(Atan2Of(0.0f, -1.0f), -1.5707964f);
}

TEST(Numeric, Atan2IsTheDoubleResultRoundedToFloat) {
  // Integer vectors where single-precision atan2 is one unit in the last
  // place off: the float nearest the double result is the one wanted.
  EXPECT_EQ(Atan2Of(-40.0f, -36.0f), -2.40877748f);
  EXPECT_EQ(Atan2Of(-40.0f, -30.0f), -2.49809146f);
  for (int x = -40; x <= 40; ++x) {
    for (int y = -40; y <= 40; ++y) {
      const double exact = std::atan2(static_cast<double>(y), static_cast<double>(x));
      EXPECT_EQ(Atan2Of(static_cast<float>(x), static_cast<float>(y)), static_cast<float>(exact))
          << x << "," << y;
    }
  }
}

TEST(Text, IntToText) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-2147483648LL), "-2147483648");
  EXPECT_EQ(IntToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToText(1234), "1234");
}

TEST(Text, PaddingCutsAndFills) {
  EXPECT_EQ(TextPadLeft("5", 3, "0"), "005");
  EXPECT_EQ(TextPadLeft("abcd", 3, "0"), "abc");
  EXPECT_EQ(TextPadLeft("1234", 3, "0"), "123");
  EXPECT_EQ(TextPadLeft("7", -1, "0"), "");
  EXPECT_EQ(TextPadLeft("7", 3, ""), "  7");
  EXPECT_EQ(TextPadLeft("", 2, "xy"), "xx");
}

TEST(Text, ZeroPaddedFillsToAtLeastTheDigitsAndNeverCuts) {
  EXPECT_EQ(ZeroPadded(42, 7), "0000042");
  EXPECT_EQ(ZeroPadded(0, 3), "000");
  EXPECT_EQ(ZeroPadded(1234567, 7), "1234567");
  EXPECT_EQ(ZeroPadded(12345678, 7), "12345678");
  EXPECT_EQ(ZeroPadded(1234, 3), "1234");
  EXPECT_EQ(ZeroPadded(999, 3), "999");
}

TEST(Text, ZeroPaddedPutsTheSignBeforeTheZeros) {
  EXPECT_EQ(ZeroPadded(-5, 3), "-005");
  EXPECT_EQ(ZeroPadded(-123, 3), "-123");
  EXPECT_EQ(ZeroPadded(-1234, 3), "-1234");
  EXPECT_EQ(ZeroPadded(std::numeric_limits<std::int64_t>::min(), 20), "-09223372036854775808");
}

TEST(Text, ZeroPaddedWithoutAMinimumIsPlainDecimal) {
  EXPECT_EQ(ZeroPadded(0, 0), "0");
  EXPECT_EQ(ZeroPadded(7, -4), "7");
  EXPECT_EQ(ZeroPadded(-7, 1), "-7");
}

TEST(Text, MidFromAndFirstCode) {
  EXPECT_EQ(TextMid("hello", 0, 2), "he");
  EXPECT_EQ(TextMid("hello", 4, 10), "lo");
  EXPECT_EQ(TextMid("hello", 9, 2), "");
  EXPECT_EQ(TextMid("hello", 2, -3), "");
  EXPECT_EQ(TextFrom("hello", 3), "llo");
  EXPECT_EQ(TextFrom("hello", -5), "hello");
  EXPECT_EQ(TextFrom("", 1), "");
  EXPECT_EQ(TextFrom("hello", 6), "");
  EXPECT_EQ(TextFirstCode("\xE9t\xE9"), 233);
  EXPECT_EQ(TextFirstCode(""), 0);
  EXPECT_EQ(TextSpaces(3), "   ");
  EXPECT_EQ(TextSpaces(-2), "");
  EXPECT_EQ(TextLength("abc"), 3);
}

TEST(Text, FromAVeryNegativeStartIsTheWholeText) {
  EXPECT_EQ(TextFrom("hello", std::numeric_limits<std::int32_t>::min()), "hello");
  EXPECT_EQ(TextFrom("hello", std::numeric_limits<std::int32_t>::min() + 7), "hello");
  EXPECT_EQ(TextFrom("hello", std::numeric_limits<std::int32_t>::max()), "");
}

TEST(Text, ToIntBasesSignsAndStops) {
  EXPECT_EQ(TextToInt("  -$1F"), -31);
  EXPECT_EQ(TextToInt("%101"), 5);
  EXPECT_EQ(TextToInt("12ab"), 12);
  EXPECT_EQ(TextToInt("- 5"), 0);
  EXPECT_EQ(TextToInt("\t+42"), 42);
  EXPECT_EQ(TextToInt("$ff"), 255);
  EXPECT_EQ(TextToInt("%1012"), 5);
  EXPECT_EQ(TextToInt("$"), 0);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("0x10"), 0);
  EXPECT_EQ(TextToInt("9223372036854775808"), std::numeric_limits<std::int64_t>::min());  // wraps
  EXPECT_EQ(TextToInt("$FFFFFFFFFFFFFFFF"), -1);
}

}  // namespace
}  // namespace quorin
