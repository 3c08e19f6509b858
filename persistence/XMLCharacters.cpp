#include "persistence/XMLCharacters.h"

#include <algorithm>
#include <cstddef>

namespace zp::xml {

namespace {

constexpr std::string_view kUTF8Bom = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// The value of the encoding pseudo-attribute of a leading XML declaration;
// empty when there is no declaration or it names no encoding.
std::string_view DeclaredEncoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml" || text.size() < 6 || !IsSpace(text[5])) return {};
  const std::string_view decl = text.substr(0, text.find("?>"));
  size_t at = 5;
  while (at < decl.size()) {
    while (at < decl.size() && IsSpace(decl[at])) ++at;
    const size_t name_start = at;
    while (at < decl.size() && !IsSpace(decl[at]) && decl[at] != '=') ++at;
    const std::string_view name = decl.substr(name_start, at - name_start);
    while (at < decl.size() && IsSpace(decl[at])) ++at;
    if (name.empty() || at >= decl.size() || decl[at] != '=') return {};
    ++at;
    while (at < decl.size() && IsSpace(decl[at])) ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
    const size_t close = decl.find(decl[at], at + 1);
    if (close == std::string_view::npos) return {};
    if (name == "encoding") return decl.substr(at + 1, close - at - 1);
    at = close + 1;
  }
  return {};
}

// The end of the markup starting at `at` whose text is no character data
// (comment, CDATA section, processing instruction), or `at` for other markup.
size_t SkipLiteralMarkup(std::string_view text, size_t at) {
  struct Bracket {
    std::string_view open, close;
  };
  static constexpr Bracket kBrackets[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
  for (const Bracket& b : kBrackets) {
    if (text.substr(at, b.open.size()) != b.open) continue;
    const size_t end = text.find(b.close, at + b.open.size());
    return end == std::string_view::npos ? text.size() : end + b.close.size();
  }
  return at;
}

// The character a reference "&#...;" at `at` names; ok is false when the
// text there is no complete reference (the parser then keeps it as text).
struct TReference {
  bool ok = false;
  uint32_t code_point = 0;
  size_t length = 0;
};

TReference ReadReference(std::string_view text, size_t at) {
  TReference ref;
  size_t i = at + 2;
  const bool hex = i < text.size() && text[i] == 'x';
  if (hex) ++i;
  const size_t digits_start = i;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
      digit = LowerAscii(c) - 'a' + 10;
    if (digit < 0) break;
    // Anything past U+10FFFF is as bad as any other; stop counting there.
    value = std::min<uint64_t>(value * (hex ? 16 : 10) + static_cast<uint64_t>(digit), 0x110000);
  }
  if (i == digits_start || i >= text.size() || text[i] != ';') return ref;
  ref.ok = true;
  ref.code_point = static_cast<uint32_t>(value);
  ref.length = i + 1 - at;
  return ref;
}

}  // namespace

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

std::string DocumentTextFault(std::string_view Text) {
  constexpr const char* kOnlyUTF8 = " (only UTF-8 is supported)";
  if (Text.substr(0, 2) == "\xFF\xFE" || Text.substr(0, 2) == "\xFE\xFF")
    return std::string("the document starts with a UTF-16 byte-order mark") + kOnlyUTF8;
  const size_t start = Text.substr(0, kUTF8Bom.size()) == kUTF8Bom ? kUTF8Bom.size() : 0;
  const std::string_view encoding = DeclaredEncoding(Text.substr(start));
  if (!encoding.empty() && !SameAscii(encoding, "UTF-8"))
    return "the declared encoding \"" + std::string(encoding) + "\" is not supported" + kOnlyUTF8;

  // Inside comments, CDATA sections and processing instructions "&#" is plain text.
  size_t literal_end = start;
  for (size_t at = start; at < Text.size();) {
    const TUTF8Char ch = DecodeUTF8(Text, at);
    if (ch.Length == 0) return "the bytes at offset " + std::to_string(at) + " are no UTF-8" + kOnlyUTF8;
    if (!IsXMLChar(ch.CodePoint))
      return "the character at offset " + std::to_string(at) + " cannot stand in an XML document";
    if (at >= literal_end && Text[at] == '<') literal_end = SkipLiteralMarkup(Text, at);
    // A reference is expanded by the parser; what it names must be a character too.
    if (at >= literal_end && Text.substr(at, 2) == "&#") {
      const TReference ref = ReadReference(Text, at);
      if (ref.ok && !IsXMLChar(ref.code_point))
        return "the character reference " + std::string(Text.substr(at, std::min<size_t>(ref.length, 24))) +
               " at offset " + std::to_string(at) + " names a character an XML document cannot carry";
    }
    at += static_cast<size_t>(ch.Length);
  }
  return {};
}

size_t AttributeBound(std::string_view Text) {
  // The parser makes an attribute as soon as it meets its name, and stops at
  // the first error: up to there it reads what this scan reads, and beyond it
  // makes nothing, so one attribute without "=" ends the count.
  const auto name_end = [&](size_t at) {
    while (at < Text.size() && !IsSpace(Text[at]) &&
           std::string_view("=\"'/><").find(Text[at]) == std::string_view::npos)
      ++at;
    return at;
  };
  size_t count = 0;
  for (size_t at = Text.find('<'); at != std::string_view::npos; at = Text.find('<', at)) {
    const size_t literal_end = SkipLiteralMarkup(Text, at);
    if (literal_end != at) {
      at = literal_end;
      continue;
    }
    if (Text.substr(at, 2) == "<!")
      return count + static_cast<size_t>(std::count(Text.begin() + static_cast<std::ptrdiff_t>(at), Text.end(), '=')) +
             1;
    if (Text.substr(at, 2) == "</") {
      at += 2;
      continue;
    }
    // An element tag: its name, then attributes up to the ">" outside quoted values that ends it.
    at = name_end(at + 1);
    while (at < Text.size() && Text[at] != '>') {
      const char c = Text[at];
      if (IsSpace(c) || c == '/') {
        ++at;
      } else if (c == '=') {
        ++count;
        ++at;
      } else if (c == '"' || c == '\'') {
        at = Text.find(c, at + 1);
        if (at == std::string_view::npos) return count;
        ++at;
      } else {
        at = name_end(at + 1);
        while (at < Text.size() && IsSpace(Text[at])) ++at;
        if (at == Text.size() || Text[at] != '=') return count + 1;
      }
    }
  }
  return count;
}

}  // namespace zp::xml
