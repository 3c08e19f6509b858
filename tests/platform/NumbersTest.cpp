#include <gtest/gtest.h>

#include <limits>

#include "CommaLocale.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

using namespace zp;

namespace {
void ExpectDocumentedExamples() {
  EXPECT_EQ(FormatFloat15(1.0 / 24.0), "0.0416666666666667");
  EXPECT_EQ(FormatFloat15(static_cast<double>(0.02f)), "0.0199999995529652");
  EXPECT_EQ(FormatFloat15(static_cast<double>(0.98f)), "0.980000019073486");
  EXPECT_EQ(FormatFloat15(0.00005), "5E-5");
  EXPECT_EQ(FormatFloat15(1e20), "1E20");
  EXPECT_EQ(FormatFloat15(28.0), "28");
  EXPECT_EQ(FormatFloat15(0.0), "0");
  EXPECT_EQ(FormatFloat15(-0.0), "0");
  EXPECT_EQ(FormatFloat15(-0.5), "-0.5");
  EXPECT_EQ(FormatFloat15(0.0001), "0.0001");
  EXPECT_EQ(FormatFloat15(0.000123), "0.000123");
  EXPECT_EQ(FormatFloat15(0.0000123), "1.23E-5");
  EXPECT_EQ(FormatFloat15(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatFloat15(1e15), "1E15");
  EXPECT_EQ(FormatFloat15(999999999999999.9), "1E15");  // the rounding decides the notation
  EXPECT_EQ(FormatFloat15(-2.5e-7), "-2.5E-7");
  EXPECT_EQ(FormatFloat15(20.6875), "20.6875");
  EXPECT_EQ(FormatFloat15(0.1), "0.1");
}
}  // namespace

TEST(FormatFloat15, WritesTheDocumentedExamples) { ExpectDocumentedExamples(); }

// Documents and logs read the same for a German user as for anyone else.
TEST(FormatFloat15, KeepsThePointUnderADecimalCommaLocale) {
  ZP_ENTER_COMMA_LOCALE();
  ExpectDocumentedExamples();
  EXPECT_EQ(FormatFloat15(1.5), "1.5");
  EXPECT_EQ(FormatFloat15(-1234567.25), "-1234567.25");
  EXPECT_EQ(FormatFixed(2.5, 2), "2.50");
  EXPECT_EQ(FormatFixed(-0.125, 2), "-0.12");  // an exact half rounds to even
  EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
  EXPECT_EQ(FormatFixed(-1.5, -3), "-2");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 4), "-inf");
}

TEST(BitLength, CountsBinaryDigits) {
  EXPECT_EQ(BitLength(0), 0);
  EXPECT_EQ(BitLength(1), 1);
  EXPECT_EQ(BitLength(3), 2);
  EXPECT_EQ(BitLength(4), 3);
  EXPECT_EQ(BitLength(7), 3);
  EXPECT_EQ(BitLength(8), 4);
  EXPECT_EQ(BitLength(31), 5);
}

TEST(RoundHalfEven, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(3.2), 3);
  EXPECT_EQ(RoundHalfEven(-1.7), -2);
}

TEST(StrToInt, AcceptsOnlySignedDecimalIn32Bits) {
  EXPECT_EQ(StrToInt("100"), 100);
  EXPECT_EQ(StrToInt("-7"), -7);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  for (const char* bad :
       {"", " 1", "1 ", "1.5", "0x10", "$10", "2147483648", "-2147483649", "abc", "-", "99999999999999999999"})
    EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
  EXPECT_THROW_MSG(StrToInt("abc"), EConvertError, "'abc' is not a valid integer value");
  // A well-formed integer out of range names the bound it passed; a malformed one does not.
  EXPECT_THROW_MSG(StrToInt("99999999999"), EConvertError,
                   "'99999999999' is not a valid integer value (at most 2147483647)");
  EXPECT_THROW_MSG(StrToInt("+2147483648"), EConvertError,
                   "'+2147483648' is not a valid integer value (at most 2147483647)");
  EXPECT_THROW_MSG(StrToInt("-2147483649"), EConvertError,
                   "'-2147483649' is not a valid integer value (at least -2147483648)");
  EXPECT_THROW_MSG(StrToInt("-"), EConvertError, "'-' is not a valid integer value");
  EXPECT_THROW_MSG(StrToInt("1e99"), EConvertError, "'1e99' is not a valid integer value");
}
