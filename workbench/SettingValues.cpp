#include "workbench/SettingValues.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "platform/EnumNames.h"

namespace zp::queens {

namespace {

// A decimal number written whole ("0.9", "1e-3"); empty for anything else.
std::optional<double> Number(std::string_view Text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(Text.data(), Text.data() + Text.size(), value);
  if (Text.empty() || ec != std::errc() || end != Text.data() + Text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<int64_t> Integer(std::string_view Text) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(Text.data(), Text.data() + Text.size(), value);
  if (Text.empty() || ec != std::errc() || end != Text.data() + Text.size()) return std::nullopt;
  return value;
}

[[noreturn]] void Refuse(const std::string& Text, const std::string& Takes) {
  throw std::invalid_argument("'" + Text + "' is not " + Takes);
}

}  // namespace

std::optional<TSettingName> FindSettingName(std::string_view Name) {
  for (size_t i = 0; i < kSettingNames.size(); ++i)
    if (kSettingNames[i] == Name) return static_cast<TSettingName>(i);
  return std::nullopt;
}

TSettingValue ParseSettingValue(TSettingName Name, const std::string& Text) {
  TSettingValue value;
  value.Name = Name;
  value.Text = Text;
  switch (Name) {
    case TSettingName::snPopulation: {
      const bool per_size = Text.ends_with("n");
      const auto n = Integer(per_size ? std::string_view(Text).substr(0, Text.size() - 1) : std::string_view(Text));
      if (!n || *n < (per_size ? 1 : 2) || *n > (int64_t{1} << 24))
        Refuse(Text, "a population: an integer from 2 to 16777216, or Kn (K times the size)");
      value.Number = static_cast<double>(*n);
      value.PerSize = per_size;
      break;
    }
    case TSettingName::snMutation:
      if (const size_t slash = Text.find('/'); slash != std::string::npos) {
        const auto k = Number(std::string_view(Text).substr(0, slash));
        if (!k || *k < 0 || Text.substr(slash + 1) != "L")
          Refuse(Text, "a mutation probability: a number from 0 to 1, or K/L (K over the chromosome's bits)");
        value.Number = *k;
        value.PerSize = true;
        break;
      }
      [[fallthrough]];
    case TSettingName::snCrossover:
    case TSettingName::snInversion: {
      const auto p = Number(Text);
      if (!p || *p < 0 || *p > 1) Refuse(Text, "a probability from 0 to 1");
      value.Number = *p;
      break;
    }
    case TSettingName::snTournament: {
      const auto n = Integer(Text);
      if (!n || *n < 2 || *n > (int64_t{1} << 24)) Refuse(Text, "a tournament field: an integer of at least 2");
      value.Number = static_cast<double>(*n);
      break;
    }
    case TSettingName::snElitist: {
      const auto p = Number(Text);
      if (!p || *p < 0 || *p >= 1) Refuse(Text, "an elitist share: a number from 0 up to (not including) 1");
      value.Number = *p;
      break;
    }
    case TSettingName::snCrossoverMethod: {
      const auto method = EnumFromName<ga::TGACrossoverMethod>(ga::kCrossoverMethodNames, Text);
      if (!method)
        Refuse(Text,
               "a crossover method: cmGeneBoundary, cmBitBoundary, cmByteBoundary, cmWordBoundary or "
               "cmLongwordBoundary");
      value.Method = *method;
      value.Number = static_cast<double>(*method);
      break;
    }
  }
  return value;
}

void ApplySettingValue(const TSettingValue& Value, TGASettings& Settings, int32_t Size) {
  switch (Value.Name) {
    case TSettingName::snPopulation:
      Settings.Population = static_cast<int32_t>(Value.PerSize ? Value.Number * Size : Value.Number);
      break;
    case TSettingName::snCrossover:
      Settings.CrossoverProbability = Value.Number;
      break;
    case TSettingName::snMutation:
      if (Value.PerSize) {
        Settings.MutationProbability.reset();
        Settings.MutationPerBits = Value.Number;
      } else {
        Settings.MutationProbability = Value.Number;
      }
      break;
    case TSettingName::snInversion:
      Settings.InversionProbability = Value.Number;
      break;
    case TSettingName::snTournament:
      Settings.TournamentField = static_cast<int32_t>(Value.Number);
      break;
    case TSettingName::snElitist:
      Settings.ElitistPct = Value.Number;
      break;
    case TSettingName::snCrossoverMethod:
      Settings.CrossoverMethod = Value.Method;
      break;
  }
}

double SettingAxisValue(const TSettingValue& Value, int32_t Size) {
  return Value.Name == TSettingName::snPopulation && Value.PerSize ? Value.Number * Size : Value.Number;
}

}  // namespace zp::queens
