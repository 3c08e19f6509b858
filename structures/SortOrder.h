// TSortOrder: the direction of a sorted value list.
#pragma once

#include <array>
#include <string_view>

namespace zp {

enum class TSortOrder { soAscending, soDescending };

inline constexpr std::array<std::string_view, 2> kSortOrderNames{"soAscending", "soDescending"};

}  // namespace zp
