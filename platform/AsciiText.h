// Letter case for names, enumerators and keywords.
//
//   SameText("FMMAXIMIZE", "fmMaximize");  // true
#pragma once

#include <cctype>
#include <string_view>

namespace zp {

// Equal ignoring letter case; the comparison used for names and enumerations.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace zp
