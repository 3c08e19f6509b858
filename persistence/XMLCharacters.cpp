#include "persistence/XMLCharacters.h"

namespace zp::xml {

TUTF8Char DecodeUTF8(std::string_view Text, size_t At) {
  const auto* p = reinterpret_cast<const unsigned char*>(Text.data()) + At;
  const size_t left = Text.size() - At;
  const unsigned char c = p[0];
  if (c < 0x80) return {c, 1};
  uint32_t cp = 0;
  int extra = 0;
  if ((c & 0xE0) == 0xC0)
    cp = c & 0x1F, extra = 1;
  else if ((c & 0xF0) == 0xE0)
    cp = c & 0x0F, extra = 2;
  else if ((c & 0xF8) == 0xF0)
    cp = c & 0x07, extra = 3;
  else
    return {};
  if (left <= static_cast<size_t>(extra)) return {};
  for (int k = 1; k <= extra; ++k) {
    if ((p[k] & 0xC0) != 0x80) return {};
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are no UTF-8.
  static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, extra + 1};
}

bool IsXMLChar(uint32_t CodePoint) {
  if (CodePoint < 0x20) return CodePoint == '\t' || CodePoint == '\n' || CodePoint == '\r';
  if (CodePoint >= 0xD800 && CodePoint <= 0xDFFF) return false;
  return CodePoint != 0xFFFE && CodePoint != 0xFFFF && CodePoint <= 0x10FFFF;
}

}  // namespace zp::xml
