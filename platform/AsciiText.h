// Blanks and letter case for names, enumerators and keywords: only A-Z and a-z fold, so
// a comparison means the same in every locale (under a Turkish locale the C
// library lowers "I" to a dotless i, or leaves it as it is).
//
//   SameText("FMMAXIMIZE", "fmMaximize");  // true everywhere
//   SameText("\xC4\xB0", "i");             // false: bytes outside ASCII compare as they are
#pragma once

#include <string_view>

namespace zp {

// C with A-Z lowered to a-z; every other byte unchanged.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Space, tab, carriage return or line feed: what Trim removes.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// S without its leading and trailing blanks; "" when it holds nothing else.
constexpr std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Equal ignoring the letter case of A-Z; the comparison used for names and enumerations.
constexpr bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace zp
