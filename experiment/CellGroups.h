// Rows grouped by cell, the cells in the catalogue's order (N-Queens, OneMax,
// LeadingOnes, Jump by its gap), then by size and configuration, whatever the
// rows' order; and within a cell by the method's place in the workbench's order.
//
//   for (const auto& [cell, methods] : GroupByCell(rows))
//     for (const auto& [rank, runs] : methods) ...
#pragma once

#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "experiment/RunRow.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

template <typename T>
using TCellGroups = std::vector<std::pair<TCell, std::map<size_t, std::vector<const T*>>>>;

// Where a cell stands among others: a name outside the catalogue after every problem in it.
inline auto CellPlace(const TCell& Cell) {
  const auto chosen = queens::ParseProblemName(Cell.Problem);
  return std::tuple(!chosen.has_value(), chosen.value_or(queens::TProblemChoice{}), Cell.Problem, Cell.Size,
                    Cell.Config);
}

// Items of a method the workbench never runs are left out.
template <typename T>
TCellGroups<T> GroupByCell(const std::vector<T>& Items) {
  std::map<decltype(CellPlace(TCell{})), std::pair<TCell, std::map<size_t, std::vector<const T*>>>> groups;
  for (const T& item : Items) {
    const auto rank = MethodRank(item.Method);
    if (!rank) continue;
    TCell cell = CellOf(item);
    auto& group = groups[CellPlace(cell)];
    group.first = std::move(cell);
    group.second[*rank].push_back(&item);
  }
  TCellGroups<T> ordered;
  for (auto& [place, group] : groups) ordered.push_back(std::move(group));
  return ordered;
}

}  // namespace zp::experiment
