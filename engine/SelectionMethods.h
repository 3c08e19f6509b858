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
  TColor Color;                // the curve's pen, from the method palette below
  TColor Brush;                // the curve's brush (not drawn by lines): the same colour
  selection::TSelectionRoutine Routine;
  TSelectionTable Table;
  bool
      ComparesFitness;  // its picks read Fitness (through FitterOf): a generation may hand it the parents' as one array
};

// The method palette: colours that stay apart for the common kinds of colour
// blindness, each at a contrast of at least 3:1 against both
// ends of the chart's yellow-to-white gradient (Elitist's reddish purple
// #CC79A7 darkened to #C0729D for it: 2.85:1 against the yellow otherwise).
inline constexpr TColor kRouletteColor = RGB(0xD5, 0x5E, 0x00);    // vermillion
inline constexpr TColor kRandomColor = RGB(0x7F, 0x7F, 0x7F);      // grey
inline constexpr TColor kTournamentColor = RGB(0x00, 0x72, 0xB2);  // blue
inline constexpr TColor kStochasticColor = RGB(0x00, 0x9E, 0x73);  // bluish green
inline constexpr TColor kElitistColor = RGB(0xC0, 0x72, 0x9D);     // reddish purple
// Every method's curve is drawn this wide (in layout pixels: a picture at
// --scale K draws it K times as wide).
inline constexpr int kMethodLineWidth = 2;

// In run order.
inline constexpr std::array<TSelectionMethodInfo, 5> kSelectionMethods{{
    {TGASelectionMethod::smRoulette, "Roulette", "roulette", kRouletteColor, kRouletteColor, &selection::SelectRoulette,
     TSelectionTable::stRoulette, false},
    {TGASelectionMethod::smRandom, "Random", "random", kRandomColor, kRandomColor, &selection::SelectRandom,
     TSelectionTable::stNone, false},
    {TGASelectionMethod::smTournament, "Tournament", "tournament", kTournamentColor, kTournamentColor,
     &selection::SelectTournament, TSelectionTable::stNone, true},
    {TGASelectionMethod::smStochasticTournament, "Stochastic Tournament", "stochastic", kStochasticColor,
     kStochasticColor, &selection::SelectStochasticTournament, TSelectionTable::stRoulette, true},
    {TGASelectionMethod::smElitist, "Elitist", "elitist", kElitistColor, kElitistColor, &selection::SelectElitist,
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
