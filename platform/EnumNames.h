// Text forms of enumerations: a constexpr name table per enumeration, and a
// lookup that ignores the letter case of A-Z and reports "no match" instead of
// a sentinel.
//
//   constexpr std::array<std::string_view, 2> kNames{"fmMinimize", "fmMaximize"};
//   EnumName(kNames, TGAFitnessMethod::fmMaximize);        // "fmMaximize"
//   EnumFromName<TGAFitnessMethod>(kNames, "FMMAXIMIZE");  // fmMaximize
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AsciiText.h"

namespace zp {

template <typename E, size_t N>
std::string EnumName(const std::array<std::string_view, N>& names, E value) {
  const auto i = static_cast<size_t>(value);
  return i < N ? std::string(names[i]) : std::to_string(i);
}

template <typename E, size_t N>
std::optional<E> EnumFromName(const std::array<std::string_view, N>& names, std::string_view text) {
  for (size_t i = 0; i < N; ++i)
    if (SameText(names[i], text)) return static_cast<E>(i);
  return std::nullopt;
}

}  // namespace zp
