// The characters a GA document may carry: UTF-8 decoding, the characters
// XML 1.0 allows, and the check of a whole document text before it is parsed,
// so that whatever loads can be saved again and read back the same.
//
//   DocumentTextFault("<a>&#1;</a>");  // "the character reference &#1; at offset 3 names ..."
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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

// Why Text cannot be read as a document, or empty when it can: a byte-order
// mark or a declared encoding other than UTF-8, bytes that are no UTF-8, a
// character or a character reference (outside comments, CDATA sections and
// processing instructions) that XML 1.0 forbids. The message names the offset.
std::string DocumentTextFault(std::string_view Text);

// At least as many as the attributes the parser makes of Text, each of which
// costs memory as a tag does: the "=" of every element tag outside its quoted
// values (comments, CDATA sections and processing instructions make none),
// and one more where a name without "=" stops the parse. From a document type
// declaration on, whose inside the parser skips by rules of its own, every
// "=" counts, and one more. Empty text: 0.
size_t AttributeBound(std::string_view Text);

}  // namespace zp::xml
