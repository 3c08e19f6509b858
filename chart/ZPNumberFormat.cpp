#include "chart/ZPNumberFormat.h"

#include <cmath>
#include <string_view>

#include "platform/Numbers.h"

namespace zp::chart {

namespace {

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

// Copies pattern characters that are not digit placeholders, dropping quotes.
std::string Literal(std::string_view s) {
  std::string out;
  char quote = 0;
  for (char c : s) {
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        out += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else {
      out += c;
    }
  }
  return out;
}

// Pattern letters fold in ASCII only, whatever the locale says of 'I'.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Pad(int v, int width) {
  std::string s = std::to_string(v);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return s;
}

}  // namespace

std::string FormatFloat(const std::string& Format, double Value) {
  std::string_view pattern = Format;
  if (auto semi = pattern.find(';'); semi != std::string_view::npos) pattern = pattern.substr(0, semi);
  const auto first = pattern.find_first_of("0#.,");
  if (pattern.empty() || first == std::string_view::npos || !std::isfinite(Value)) return FormatFloat15(Value);
  auto last = pattern.find_last_of("0#.,");
  const std::string prefix = Literal(pattern.substr(0, first));
  const std::string suffix = Literal(pattern.substr(last + 1));
  const std::string_view body = pattern.substr(first, last - first + 1);

  int int_min = 0, frac_min = 0, frac_max = 0;
  bool grouping = false, in_frac = false;
  for (char c : body) {
    if (c == '.')
      in_frac = true;
    else if (c == ',' && !in_frac)
      grouping = true;
    else if (IsPlaceholder(c) && !in_frac && c == '0')
      ++int_min;
    else if (IsPlaceholder(c) && in_frac) {
      ++frac_max;
      if (c == '0') frac_min = frac_max;
    }
  }

  const std::string digits = FormatFixed(std::fabs(Value), frac_max);
  std::string int_part = digits, frac_part;
  if (auto dot = digits.find('.'); dot != std::string::npos) {
    int_part = digits.substr(0, dot);
    frac_part = digits.substr(dot + 1);
  }
  while (static_cast<int>(frac_part.size()) > frac_min && frac_part.back() == '0') frac_part.pop_back();
  if (int_part == "0" && int_min == 0) int_part.clear();
  while (static_cast<int>(int_part.size()) < int_min) int_part.insert(int_part.begin(), '0');
  if (grouping) {
    for (int i = static_cast<int>(int_part.size()) - 3; i > 0; i -= 3) int_part.insert(static_cast<size_t>(i), ",");
  }
  const bool zero =
      int_part.find_first_not_of("0,") == std::string::npos && frac_part.find_first_not_of('0') == std::string::npos;
  std::string out = (Value < 0 && !zero) ? "-" : "";
  out += prefix + int_part;
  if (!frac_part.empty()) out += "." + frac_part;
  if (int_part.empty() && frac_part.empty()) out += "0";
  return out + suffix;
}

namespace {

// A date-time's fields: the civil date from the day number (days since
// 1970-01-01 as the base) and the time of day to the millisecond.
struct TDateTimeFields {
  long long Ms = 0;  // milliseconds since midnight
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Milli = 0;
};

TDateTimeFields SplitDateTime(TDateTime Value) {
  const double whole = std::floor(Value);
  long long ms = std::llround((Value - whole) * 86400000.0);
  long long days = static_cast<long long>(whole) - 25569;
  if (ms >= 86400000) {
    ms -= 86400000;
    ++days;
  }
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  TDateTimeFields f;
  f.Ms = ms;
  f.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  f.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  f.Year = static_cast<int>(yoe + era * 400 + (f.Month <= 2 ? 1 : 0));
  f.Hour = static_cast<int>(ms / 3600000);
  f.Minute = static_cast<int>(ms / 60000 % 60);
  f.Second = static_cast<int>(ms / 1000 % 60);
  f.Milli = static_cast<int>(ms % 1000);
  return f;
}

}  // namespace

std::string FormatDateTime(const std::string& Format, TDateTime Value) {
  const TDateTimeFields f = SplitDateTime(Value);
  const long long ms = f.Ms;
  const int year = f.Year, month = f.Month, day = f.Day, hour = f.Hour, minute = f.Minute, second = f.Second,
            milli = f.Milli;

  std::string pattern = Format;
  if (pattern.empty()) pattern = ms == 0 ? "yyyy-mm-dd" : "yyyy-mm-dd hh:nn:ss";
  std::string out;
  bool after_hour = false;
  for (size_t i = 0; i < pattern.size();) {
    const char c = Lower(pattern[i]);
    size_t n = 1;
    while (i + n < pattern.size() && Lower(pattern[i + n]) == c) ++n;
    if (c == '"' || c == '\'') {
      const auto end = pattern.find(pattern[i], i + 1);
      out += pattern.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? pattern.size() : end + 1;
      continue;
    }
    switch (c) {
      case 'y':
        out += n <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
        break;
      case 'm':
        if (after_hour)
          out += Pad(minute, n >= 2 ? 2 : 1);
        else
          out += Pad(month, n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 'd':
        out += Pad(day, n >= 2 ? 2 : 1);
        break;
      case 'h':
        out += Pad(hour, n >= 2 ? 2 : 1);
        after_hour = true;
        break;
      case 'n':
        out += Pad(minute, n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 's':
        out += Pad(second, n >= 2 ? 2 : 1);
        break;
      case 'z':
        out += Pad(milli, n >= 3 ? 3 : 1);
        break;
      default:
        out += pattern.substr(i, n);
        break;
    }
    i += n;
  }
  return out;
}

}  // namespace zp::chart
