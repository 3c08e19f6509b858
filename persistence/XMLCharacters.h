// The characters a GA document may carry: UTF-8 decoding and the characters
// XML 1.0 allows, shared by every check of text that goes into a document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zp::xml {

// One character decoded from UTF-8: its code point and its length in bytes;
// Length 0 for bytes that are no UTF-8 (cut short, overlong, a surrogate, past U+10FFFF).
struct TUTF8Char {
  uint32_t CodePoint = 0;
  int Length = 0;
};
TUTF8Char DecodeUTF8(std::string_view Text, size_t At);

// True for the characters XML 1.0 allows: tab, LF, CR, U+0020..U+D7FF,
// U+E000..U+FFFD and U+10000..U+10FFFF.
bool IsXMLChar(uint32_t CodePoint);

}  // namespace zp::xml
