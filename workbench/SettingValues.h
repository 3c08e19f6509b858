// The GA's settings as a sweep or a script names them: population, crossover,
// mutation, inversion, tournament, elitist and crossover-method, each value
// read from its text ("2n", "0.9", "2/L", "cmBitBoundary") and written into the
// settings of a run for a problem size.
//
//   const TSettingValue v = ParseSettingValue(TSettingName::snPopulation, "2n");
//   ApplySettingValue(v, settings, 64);   // settings.Population == 128
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/ZPGAConsts.h"
#include "workbench/ComparisonRun.h"

namespace zp::queens {

// In the order a sweep numbers its configurations (the last varies fastest).
enum class TSettingName {
  snPopulation,
  snCrossover,
  snMutation,
  snInversion,
  snTournament,
  snElitist,
  snCrossoverMethod
};
inline constexpr std::array<std::string_view, 7> kSettingNames{
    "population", "crossover", "mutation", "inversion", "tournament", "elitist", "crossover-method"};
inline constexpr size_t kSettingCount = kSettingNames.size();

// "population" ... as the options and the script write them; empty for another name.
std::optional<TSettingName> FindSettingName(std::string_view Name);

struct TSettingValue {
  TSettingName Name = TSettingName::snPopulation;
  std::string Text;      // as written, which names the value in files
  double Number = 0;     // the population, K of "Kn" or "K/L", a probability, the field
  bool PerSize = false;  // "Kn": K times the size; "K/L": K over the chromosome's bits
  ga::TGACrossoverMethod Method = ga::TGACrossoverMethod::cmGeneBoundary;

  bool operator==(const TSettingValue& Other) const { return Name == Other.Name && Text == Other.Text; }
};

// Reads Text as a value of Name; raises std::invalid_argument saying what it takes:
// population an integer >= 2 or Kn (K >= 1), crossover and inversion a probability in
// [0, 1], mutation a probability or K/L (K >= 0), tournament an integer >= 2, elitist
// in [0, 1), crossover-method one of cmGeneBoundary ...
TSettingValue ParseSettingValue(TSettingName Name, const std::string& Text);

// Value into Settings for a problem of size Size (a population of Kn, say).
void ApplySettingValue(const TSettingValue& Value, TGASettings& Settings, int32_t Size);

// The value as a number for a picture's axis: the population or field, a
// probability, K of K/L, or the crossover method's place.
double SettingAxisValue(const TSettingValue& Value, int32_t Size);

}  // namespace zp::queens
