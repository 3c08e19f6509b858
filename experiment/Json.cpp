#include "experiment/Json.h"

#include <cstdio>

#include "platform/Exceptions.h"

namespace zp::experiment {

TJsonValue::TJsonValue() = default;
TJsonValue::TJsonValue(TKind K, std::string T) : Kind(K), Text(std::move(T)) {}
TJsonValue::TJsonValue(const TJsonValue&) = default;
TJsonValue::TJsonValue(TJsonValue&&) noexcept = default;
TJsonValue& TJsonValue::operator=(const TJsonValue&) = default;
TJsonValue& TJsonValue::operator=(TJsonValue&&) noexcept = default;
TJsonValue::~TJsonValue() = default;

namespace {

class TJsonReader {
 public:
  explicit TJsonReader(std::string_view Text) : text_(Text) {}

  TJsonValue Document() {
    TJsonValue value = Value(0);
    Space();
    if (at_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& What) const {
    throw Exception("offset " + std::to_string(at_) + ": " + What);
  }
  void Space() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
      ++at_;
  }
  bool Take(char c) {
    Space();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("'") + c + "' expected");
  }

  std::string String() {
    Expect('"');
    std::string s;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c == '\\') {
        if (at_ >= text_.size()) break;
        c = text_[at_++];
        switch (c) {
          case 'n':
            c = '\n';
            break;
          case 't':
            c = '\t';
            break;
          case 'r':
            c = '\r';
            break;
          case 'b':
            c = '\b';
            break;
          case 'f':
            c = '\f';
            break;
          case 'u': {
            // Only what JsonQuote writes: control characters as \u00XX.
            if (at_ + 4 > text_.size()) Fail("bad escape");
            c = static_cast<char>(std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16));
            at_ += 4;
            break;
          }
          default:
            break;  // '"', '\\', '/'
        }
      }
      s += c;
    }
    if (at_ >= text_.size()) Fail("unterminated string");
    ++at_;
    return s;
  }

  TJsonValue Value(int Depth) {
    if (Depth > 16) Fail("nested too deeply");
    Space();
    if (at_ >= text_.size()) Fail("value expected");
    TJsonValue v;
    const char c = text_[at_];
    if (c == '{') {
      ++at_;
      v.Kind = TJsonValue::TKind::jkObject;
      if (Take('}')) return v;
      do {
        Space();
        std::string key = String();
        Expect(':');
        v.Members.emplace_back(std::move(key), Value(Depth + 1));
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      ++at_;
      v.Kind = TJsonValue::TKind::jkArray;
      if (Take(']')) return v;
      do v.Items.push_back(Value(Depth + 1));
      while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.Kind = TJsonValue::TKind::jkString;
      v.Text = String();
    } else {
      const size_t start = at_;
      while (at_ < text_.size() &&
             std::string_view("+-.0123456789eEtruefalsn").find(text_[at_]) != std::string_view::npos)
        ++at_;
      v.Text = text_.substr(start, at_ - start);
      if (v.Text == "true" || v.Text == "false")
        v.Kind = TJsonValue::TKind::jkBool;
      else if (v.Text == "null")
        v.Kind = TJsonValue::TKind::jkNull;
      else if (!v.Text.empty() && v.Text.find_first_not_of("+-.0123456789eE") == std::string::npos)
        v.Kind = TJsonValue::TKind::jkNumber;
      else
        Fail("value expected");
    }
    return v;
  }

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

const TJsonValue* TJsonValue::Find(std::string_view Key) const {
  for (const auto& [name, value] : Members)
    if (name == Key) return &value;
  return nullptr;
}

TJsonValue ParseJson(std::string_view Text) { return TJsonReader(Text).Document(); }

std::string JsonQuote(std::string_view Text) {
  std::string s = "\"";
  for (const char c : Text) {
    if (c == '"' || c == '\\') {
      s += '\\';
      s += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      s += escape;
    } else {
      s += c;
    }
  }
  return s + "\"";
}

std::string FormatJson(const TJsonValue& Value) {
  using K = TJsonValue::TKind;
  switch (Value.Kind) {
    case K::jkNull:
      return "null";
    case K::jkBool:
    case K::jkNumber:
      return Value.Text;
    case K::jkString:
      return JsonQuote(Value.Text);
    case K::jkArray: {
      std::string s = "[";
      for (size_t i = 0; i < Value.Items.size(); ++i) s += (i ? ", " : "") + FormatJson(Value.Items[i]);
      return s + "]";
    }
    case K::jkObject: {
      std::string s = "{";
      for (size_t i = 0; i < Value.Members.size(); ++i)
        s += (i ? ", " : "") + JsonQuote(Value.Members[i].first) + ": " + FormatJson(Value.Members[i].second);
      return s + "}";
    }
  }
  return "null";
}

}  // namespace zp::experiment
