// Number helpers shared by the engine, the documents and the log: the one
// float-to-text rule, integer text parsing, bit lengths and banker's rounding.
// Number text never depends on the C library's locale: "." is the decimal
// separator for every user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/AsciiText.h"  // SameText, which callers have reached through this header

namespace zp {

// At most 15 significant digits; fixed notation for 1E-4 <= |x| < 1E15, else
// "mantissa E exponent"; no trailing zeros; "." as decimal separator; zero is "0".
// Examples: 0.0416666666666667, 5E-5, 1E20, 28, -0.5.
std::string FormatFloat15(double value);

// Fixed notation with Decimals digits after "." (negative counts as 0),
// rounded to nearest as C's "%.*f" does in the C locale; "nan", "inf", "-inf"
// for the values that are no numbers. Example: FormatFixed(2.5, 2) is "2.50".
std::string FormatFixed(double value, int decimals);

// Number of binary digits of n, 0 for n = 0.
int BitLength(uint64_t n);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// An optional sign and decimal digits within the 32-bit range; nothing else
// (no spaces, no empty text, no decimals, no hexadecimal). Empty on failure.
[[nodiscard]] std::optional<int32_t> TryStrToInt(const std::string& text);

// As TryStrToInt, raising EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& text);

}  // namespace zp
