// Text forms of the values in GA documents: integers, booleans, singles,
// doubles. Writers give the one text form; readers take the element's text,
// report an empty text as "no value" and raise the conversion error for text
// that is not of the type.
//
//   SingleText(0.98);        // "0.980000019073486"
//   ReadBoolean("TRUE");     // true
//   ReadInteger("");         // std::nullopt
//   ReadInteger("twelve");   // EVariantTypeCastError (UnicodeString) -> (Integer)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zp::xml {

// Decimal digits, "-" when negative.
std::string IntegerText(int64_t Value);
// "true" or "false".
std::string BooleanText(bool Value);
// Narrowed to single precision, widened back and written with FormatFloat15.
std::string SingleText(double Value);
// FormatFloat15; "." is the decimal separator, both ways.
std::string DoubleText(double Value);

// Surrounding blanks (space, tab, CR, LF) are ignored; a text of blanks only is no value.
[[nodiscard]] std::optional<int32_t> ReadInteger(std::string_view Text);
// A decimal number with optional exponent, or INF / NAN as FormatFloat15 writes them.
[[nodiscard]] std::optional<double> ReadDouble(std::string_view Text);
// ReadDouble narrowed to single precision and widened back.
[[nodiscard]] std::optional<double> ReadSingle(std::string_view Text);
// "true"/"false" in any letter case; a number is false for 0 and true otherwise.
[[nodiscard]] std::optional<bool> ReadBoolean(std::string_view Text);

// The value, or the conversion error from (Null) when there is none.
int32_t RequiredInteger(std::optional<int32_t> Value);
double RequiredSingle(std::optional<double> Value);
double RequiredDouble(std::optional<double> Value);
bool RequiredBoolean(std::optional<bool> Value);

// True when Text is valid UTF-8 and holds no character XML 1.0 forbids
// (controls other than tab, LF and CR; U+FFFE, U+FFFF). Only such text can be
// written into a document that every XML reader accepts.
bool IsXMLText(std::string_view Text);

}  // namespace zp::xml
