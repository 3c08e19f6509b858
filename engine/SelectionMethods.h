// The one table of the built-in selection methods: the order in which a
// comparison run runs them (and every output lists them), the enumerator, the
// caption of their curve, the short name a command line accepts, the curve's
// colour, the routine that picks a parent, the table the scoring builds for
// it and whether it compares the parents' fitness. The engine's dispatch, the workbench, the experiments and the window
// all read it, so a method is added here (and as an enumerator and a routine).
//
//   for (const TSelectionMethodInfo& m : kSelectionMethods) Plot(m.Caption, m.Color);
//   const std::optional<size_t> place = MethodPlace(TGASelectionMethod::smElitist);   // 4
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/ZPGAConsts.h"
#include "engine/ZPGASelection.h"
#include "platform/Color.h"

namespace zp::ga {

// What EvaluatePopulation builds for the method's routine after scoring.
enum class TSelectionTable { stNone, stRoulette, stElitist };

struct TSelectionMethodInfo {
  TGASelectionMethod Method;
  std::string_view Caption;    // the curve's caption: "Stochastic Tournament"
  std::string_view ShortName;  // lower case, one word: "stochastic"
  TColor Color;                // the curve's pen
  TColor Brush;                // the curve's brush (not drawn by lines)
  selection::TSelectionRoutine Routine;
  TSelectionTable Table;
  bool
      ComparesFitness;  // its picks read Fitness (through FitterOf): a generation may hand it the parents' as one array
};

// In run order.
inline constexpr std::array<TSelectionMethodInfo, 5> kSelectionMethods{{
    {TGASelectionMethod::smRoulette, "Roulette", "roulette", clLime, clLime, &selection::SelectRoulette,
     TSelectionTable::stRoulette, false},
    {TGASelectionMethod::smRandom, "Random", "random", clRed, clRed, &selection::SelectRandom, TSelectionTable::stNone,
     false},
    {TGASelectionMethod::smTournament, "Tournament", "tournament", clYellow, clYellow, &selection::SelectTournament,
     TSelectionTable::stNone, true},
    {TGASelectionMethod::smStochasticTournament, "Stochastic Tournament", "stochastic", clBlue, clYellow,
     &selection::SelectStochasticTournament, TSelectionTable::stRoulette, true},
    {TGASelectionMethod::smElitist, "Elitist", "elitist", clFuchsia, clYellow, &selection::SelectElitist,
     TSelectionTable::stElitist, false},
}};

inline constexpr size_t kMethodCount = kSelectionMethods.size();

// Method's place in kSelectionMethods; empty for smCustom (and values outside the enumeration).
constexpr std::optional<size_t> MethodPlace(TGASelectionMethod Method) {
  for (size_t i = 0; i < kMethodCount; ++i)
    if (kSelectionMethods[i].Method == Method) return i;
  return std::nullopt;
}

// Method's row; nullptr for smCustom.
constexpr const TSelectionMethodInfo* FindMethod(TGASelectionMethod Method) {
  const auto place = MethodPlace(Method);
  return place ? &kSelectionMethods[*place] : nullptr;
}

// The built-in methods in run order.
constexpr std::array<TGASelectionMethod, kMethodCount> MethodOrder() {
  std::array<TGASelectionMethod, kMethodCount> order{};
  for (size_t i = 0; i < kMethodCount; ++i) order[i] = kSelectionMethods[i].Method;
  return order;
}

}  // namespace zp::ga
