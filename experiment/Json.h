// The small part of JSON that experiment.json uses: a parsed value tree, and
// one compact text per value so that two values compare by their text.
//
//   TJsonValue v = ParseJson(R"({"queens": [8, 10], "streams": "shared"})");
//   FormatJson(*v.Find("queens"));   // "[8, 10]"
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zp::experiment {

struct TJsonValue {
  enum class TKind { jkNull, jkBool, jkNumber, jkString, jkArray, jkObject };
  TKind Kind = TKind::jkNull;
  std::string Text;  // a number as written, a string's characters, "true" or "false"
  std::vector<TJsonValue> Items;
  std::vector<std::pair<std::string, TJsonValue>> Members;  // in file order

  // Out of line: a member list of pairs holding this type can only be made
  // and freed where the type is complete (clang insists, GCC does not).
  TJsonValue();
  // A value of Kind with Text (a number, string or boolean) and no items or members.
  explicit TJsonValue(TKind Kind, std::string Text = {});
  TJsonValue(const TJsonValue&);
  TJsonValue(TJsonValue&&) noexcept;
  TJsonValue& operator=(const TJsonValue&);
  TJsonValue& operator=(TJsonValue&&) noexcept;
  ~TJsonValue();

  // The member named Key of an object; nullptr for none or for a value that is no object.
  [[nodiscard]] const TJsonValue* Find(std::string_view Key) const;
};

// The value of Text. Raises Exception "offset N: ..." for anything that is not one JSON value.
[[nodiscard]] TJsonValue ParseJson(std::string_view Text);

// Value on one line: "[8, 10]", "{\"a\": 1}", strings quoted and escaped.
std::string FormatJson(const TJsonValue& Value);

// Text as a JSON string literal.
std::string JsonQuote(std::string_view Text);

}  // namespace zp::experiment
