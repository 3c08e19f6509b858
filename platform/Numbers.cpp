#include "platform/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/Exceptions.h"

namespace zp {

std::string FormatFloat15(double value) {
  if (value == 0.0) return "0";
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";

  // Scientific notation with 14 decimals rounds to 15 significant digits and
  // reports the exponent after rounding ("d.dddddddddddddde+XX", which always fits).
  char buf[64];
  std::string s(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14).ptr);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const auto e_pos = s.find('e');
  const bool negative_exponent = s[e_pos + 1] == '-';
  int exponent = 0;
  std::from_chars(s.data() + e_pos + 2, s.data() + s.size(), exponent);
  if (negative_exponent) exponent = -exponent;
  std::string digits;
  for (size_t i = 0; i < e_pos; ++i)
    if (s[i] != '.') digits += s[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -4 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const size_t int_len = static_cast<size_t>(exponent) + 1;
      if (digits.size() <= int_len) {
        out += digits;
        out.append(int_len - digits.size(), '0');
      } else {
        out += digits.substr(0, int_len);
        out += '.';
        out += digits.substr(int_len);
      }
    }
  } else {
    out += digits.substr(0, 1);
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return out;
}

std::string FormatFixed(double value, int decimals) {
  decimals = std::max(decimals, 0);
  // Room for the integer digits of the largest double, a sign, the point and the decimals.
  std::string text(static_cast<size_t>(std::numeric_limits<double>::max_exponent10) + 4 + static_cast<size_t>(decimals),
                   '\0');
  const auto [end, ec] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
  text.resize(ec == std::errc() ? static_cast<size_t>(end - text.data()) : 0);
  return text;
}

int BitLength(uint64_t n) {
  int bits = 0;
  while (n != 0) {
    n >>= 1;
    ++bits;
  }
  return bits;
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<int32_t> TryStrToInt(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return std::nullopt;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{2147483648}) return std::nullopt;
  }
  const int64_t v = negative ? -magnitude : magnitude;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(v);
}

int32_t StrToInt(const std::string& text) {
  if (auto v = TryStrToInt(text)) return *v;
  throw InvalidInteger(text);
}

}  // namespace zp
