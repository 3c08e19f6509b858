#include "persistence/XMLValues.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "persistence/XMLCharacters.h"
#include "persistence/XMLErrors.h"
#include "platform/AsciiText.h"
#include "platform/Numbers.h"

namespace zp::xml {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] (digits [. digits] | . digits) [(e|E) [sign] digits]: what a decimal
// number looks like, so that from_chars sees no hexadecimal or "infinity".
bool IsDecimalNumber(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == s.size();
}

// Parses a number without raising; nullopt when the text is none.
std::optional<double> ParseNumber(std::string_view s) {
  std::string_view body = s;
  bool negative = false;
  if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (SameText(body, "INF"))
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  if (SameText(body, "NAN")) return std::numeric_limits<double>::quiet_NaN();
  if (!IsDecimalNumber(s)) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec != std::errc() || end != body.data() + body.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

std::string IntegerText(int64_t Value) { return std::to_string(Value); }
std::string BooleanText(bool Value) { return Value ? "true" : "false"; }
std::string SingleText(double Value) { return FormatFloat15(static_cast<double>(static_cast<float>(Value))); }
std::string DoubleText(double Value) { return FormatFloat15(Value); }

std::optional<int32_t> ReadInteger(std::string_view Text) {
  const std::string_view s = Trim(Text);
  if (s.empty()) return std::nullopt;
  if (auto v = TryStrToInt(std::string(s))) return v;
  throw EVariantTypeCastError(kTextType, kIntegerType);
}

std::optional<double> ReadDouble(std::string_view Text) {
  const std::string_view s = Trim(Text);
  if (s.empty()) return std::nullopt;
  if (auto v = ParseNumber(s)) return v;
  throw EVariantTypeCastError(kTextType, kDoubleType);
}

std::optional<double> ReadSingle(std::string_view Text) {
  const std::string_view s = Trim(Text);
  if (s.empty()) return std::nullopt;
  if (auto v = ParseNumber(s)) return static_cast<double>(static_cast<float>(*v));
  throw EVariantTypeCastError(kTextType, kSingleType);
}

std::optional<bool> ReadBoolean(std::string_view Text) {
  const std::string_view s = Trim(Text);
  if (s.empty()) return std::nullopt;
  if (SameText(s, "true")) return true;
  if (SameText(s, "false")) return false;
  if (auto v = ParseNumber(s)) return *v != 0;
  throw EVariantTypeCastError(kTextType, kBooleanType);
}

int32_t RequiredInteger(std::optional<int32_t> Value) {
  if (!Value) throw EVariantTypeCastError(kNullType, kIntegerType);
  return *Value;
}
double RequiredSingle(std::optional<double> Value) {
  if (!Value) throw EVariantTypeCastError(kNullType, kSingleType);
  return *Value;
}
double RequiredDouble(std::optional<double> Value) {
  if (!Value) throw EVariantTypeCastError(kNullType, kDoubleType);
  return *Value;
}
bool RequiredBoolean(std::optional<bool> Value) {
  if (!Value) throw EVariantTypeCastError(kNullType, kBooleanType);
  return *Value;
}

bool IsXMLText(std::string_view Text) {
  for (size_t at = 0; at < Text.size();) {
    const TUTF8Char ch = DecodeUTF8(Text, at);
    if (ch.Length == 0 || !IsXMLChar(ch.CodePoint)) return false;
    at += static_cast<size_t>(ch.Length);
  }
  return true;
}

}  // namespace zp::xml
