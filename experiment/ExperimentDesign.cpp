#include "experiment/ExperimentDesign.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "experiment/RunRow.h"
#include "platform/Numbers.h"
#include "platform/Random.h"
#include "workbench/QueensProblem.h"

namespace zp::experiment {

namespace {

std::vector<std::string> SplitCommas(const std::string& Text) {
  std::vector<std::string> parts;
  std::istringstream in(Text);
  for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
  if (!Text.empty() && Text.back() == ',') parts.emplace_back();
  return parts;
}

constexpr std::array<std::string_view, ga::kMethodCount> ShortMethodNames() {
  std::array<std::string_view, ga::kMethodCount> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = ga::kSelectionMethods[i].ShortName;
  return names;
}
constexpr std::array<std::string_view, ga::kMethodCount> kShortMethodNames = ShortMethodNames();

}  // namespace

TExperimentDesign::TExperimentDesign() : Methods(kMethodOrder.begin(), kMethodOrder.end()) {}

std::span<const ga::TGASelectionMethod> TExperimentDesign::MethodsToRun() const {
  if (Streams == queens::TRandomStreams::rsShared) return Methods;
  return kMethodOrder;
}

int64_t TExperimentDesign::RowCount() const {
  return static_cast<int64_t>(Problems.size()) * static_cast<int64_t>(Sizes.size()) * ConfigCount() * Repeats *
         static_cast<int64_t>(Methods.size());
}

int32_t TExperimentDesign::ConfigCount() const {
  int64_t count = 1;
  for (const auto& values : Settings) count *= std::max<int64_t>(1, static_cast<int64_t>(values.size()));
  return static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
}

std::array<size_t, queens::kSettingCount> TExperimentDesign::ConfigPlaces(int32_t Config) const {
  std::array<size_t, queens::kSettingCount> places{};
  auto rest = static_cast<size_t>(Config);
  for (size_t i = places.size(); i-- > 0;) {
    const size_t count = std::max<size_t>(1, Settings[i].size());
    places[i] = rest % count;
    rest /= count;
  }
  return places;
}

queens::TGASettings TExperimentDesign::SettingsFor(int32_t Config, int32_t Size) const {
  queens::TGASettings settings;
  const auto places = ConfigPlaces(Config);
  for (size_t i = 0; i < places.size(); ++i)
    if (!Settings[i].empty()) queens::ApplySettingValue(Settings[i][places[i]], settings, Size);
  settings.Generations = Generations;
  if (Evaluations) {
    const int64_t population = settings.Population.value_or(4 * Size);
    settings.Generations = static_cast<int32_t>(
        std::clamp<int64_t>(Evaluations->For(Size) / population - 1, 0, std::numeric_limits<int32_t>::max()));
  }
  return settings;
}

namespace {

// Sizes from Lo to Hi; What names one in messages ("a queen count", "a size").
std::vector<int32_t> ParseSizes(const std::string& Option, const std::string& Text, int32_t Lo, int32_t Hi,
                                const std::string& What) {
  auto count = [&](const std::string& part, const std::string& text) {
    const auto n = TryStrToInt(text);
    if (!n || *n < Lo || *n > Hi)
      throw TDesignError(Option,
                         "'" + part + "' is not " + What + " from " + std::to_string(Lo) + " to " + std::to_string(Hi));
    return *n;
  };
  std::vector<int32_t> sizes;
  for (const std::string& part : SplitCommas(Text)) {
    const auto dash = part.find('-', 1);
    if (dash == std::string::npos) {
      sizes.push_back(count(part, part));
      continue;
    }
    const int32_t first = count(part, part.substr(0, dash)), last = count(part, part.substr(dash + 1));
    if (last < first) throw TDesignError(Option, "'" + part + "' is not an ascending range");
    for (int32_t n = first; n <= last; ++n) sizes.push_back(n);
  }
  if (sizes.empty()) throw TDesignError(Option, "no " + What.substr(What.find(' ') + 1) + " given");
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  return sizes;
}

}  // namespace

std::vector<int32_t> ParseSizeList(const std::string& Option, const std::string& Text) {
  if (Option == "--queens") return ParseQueenList(Text);
  return ParseSizes(Option, Text, 1, std::numeric_limits<int32_t>::max(), "a size");
}

std::vector<int32_t> ParseQueenList(const std::string& Text) {
  return ParseSizes("--queens", Text, queens::kMinQueens, queens::kMaxQueens, "a queen count");
}

std::vector<queens::TProblemChoice> ParseProblemList(const std::string& Text) {
  std::vector<queens::TProblemChoice> problems;
  for (const std::string& name : SplitCommas(Text)) {
    const auto chosen = queens::ParseProblemName(name);
    if (!chosen) throw TDesignError("--problem", "'" + name + "' is not a problem: " + queens::kProblemNames);
    if (std::find(problems.begin(), problems.end(), *chosen) != problems.end())
      throw TDesignError("--problem", "'" + name + "' is named twice");
    problems.push_back(*chosen);
  }
  if (problems.empty()) throw TDesignError("--problem", "no problem given");
  return problems;
}

std::vector<queens::TSettingValue> ParseSettingList(queens::TSettingName Setting, const std::string& Text) {
  const std::string option = "--" + std::string(queens::kSettingNames[static_cast<size_t>(Setting)]);
  std::vector<queens::TSettingValue> values;
  for (const std::string& part : SplitCommas(Text)) {
    try {
      values.push_back(queens::ParseSettingValue(Setting, part));
    } catch (const std::invalid_argument& e) {
      throw TDesignError(option, e.what());
    }
    if (std::find(values.begin(), values.end() - 1, values.back()) != values.end() - 1)
      throw TDesignError(option, "'" + part + "' is given twice");
  }
  if (values.empty()) throw TDesignError(option, "no value given");
  return values;
}

TEvaluationBudget ParseEvaluations(const std::string& Text) {
  TEvaluationBudget budget{Text, 0, Text.ends_with("n")};
  const auto n = TryStrToInt(budget.PerSize ? Text.substr(0, Text.size() - 1) : Text);
  if (!n || *n < 1)
    throw TDesignError("--evaluations", "takes a positive integer or Kn (K times the size), not '" + Text + "'",
                       TDesignError::TJoin::jnSpace);
  budget.Value = *n;
  return budget;
}

void CheckConfigurations(const TExperimentDesign& Design) {
  int64_t configs = 1;
  for (const auto& values : Design.Settings) configs *= std::max<int64_t>(1, static_cast<int64_t>(values.size()));
  if (configs > kMaxConfigs)
    throw TDesignError("configurations", "the setting lists make " + std::to_string(configs) +
                                             " configurations, more than the " + std::to_string(kMaxConfigs) +
                                             " a batch may have");
  if (Design.RowCount() > kMaxRows)
    throw TDesignError("--repeats", "the design has " + std::to_string(Design.RowCount()) + " rows, more than the " +
                                        std::to_string(kMaxRows) + " a batch may have");
  if (!Design.Evaluations) return;
  for (const queens::TProblemChoice& problem : Design.Problems)
    for (const int32_t size : Design.Sizes)
      for (int32_t config = 0; config < Design.ConfigCount(); ++config) {
        queens::TGASettings settings = Design.SettingsFor(config, size);
        const int64_t population = settings.Population.value_or(4 * size);
        if (Design.Evaluations->For(size) / population - 1 < 1)
          throw TDesignError("--evaluations", Design.Evaluations->Text + " leaves configuration " +
                                                  std::to_string(config) + " (population " +
                                                  std::to_string(population) + ") of " + problem.Name() + " size " +
                                                  std::to_string(size) + " less than one generation");
      }
}

// A batch is held to the caps a loaded document is: no generation of any cell
// may take seconds.
void CheckGenerationWork(const TExperimentDesign& Design, const std::string& Option) {
  for (const queens::TProblemChoice& chosen : Design.Problems)
    for (const int32_t n : Design.Sizes)
      for (int32_t config = 0; config < Design.ConfigCount(); ++config) {
        // The population and tournament field the settings give, without making a population.
        const queens::TGASettings settings = Design.SettingsFor(config, n);
        const int64_t population = settings.Population.value_or(4 * n);
        const int32_t pairs = chosen.Kind == queens::TProblemKind::pkNQueens ? n : 0;
        const std::string excess = queens::GenerationWorkExcess(population, pairs, settings.TournamentField);
        if (!excess.empty())
          throw TDesignError(Design.ConfigCount() > 1 ? "configuration " + std::to_string(config) : Option,
                             excess + " a batch may ask for");
      }
}

void CheckSizes(const TExperimentDesign& Design, const std::string& Option) {
  for (const queens::TProblemChoice& problem : Design.Problems)
    for (const int32_t size : Design.Sizes)
      if (const std::string error = problem.SizeError(size); !error.empty()) throw TDesignError(Option, error);
  if (Design.Repeats > kMaxRepeats)
    throw TDesignError(
        "--repeats", "takes at most " + std::to_string(kMaxRepeats) + " repeats, not " + std::to_string(Design.Repeats),
        TDesignError::TJoin::jnSpace);
}

namespace {

bool LabelCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
}

}  // namespace

std::string DefaultLabel(const std::string& Folder) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(Folder, ec).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();  // "exp/" names "exp"
  std::string label;
  for (const char c : path.filename().string()) {
    if (LabelCharacter(c))
      label += c;
    else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)  // one "_" per UTF-8 character, not per byte
      label += '_';
  }
  return label.empty() ? "experiment" : label;
}

std::string ParseLabel(const std::string& Text) {
  if (Text.empty()) throw TDesignError("--label", "the label is empty");
  if (!std::all_of(Text.begin(), Text.end(), LabelCharacter))
    throw TDesignError("--label", "'" + Text + "' holds a character other than A-Z, a-z, 0-9, '.', '_' and '-'");
  return Text;
}

int32_t ParsePositive(const std::string& Option, const std::string& Text) {
  const auto n = TryStrToInt(Text);
  if (!n || *n <= 0)
    throw TDesignError(Option, "takes a positive integer, not '" + Text + "'", TDesignError::TJoin::jnSpace);
  return *n;
}

uint32_t ParseSeedOption(const std::string& Text) {
  const auto seed = ParseSeed(Text);
  if (!seed)
    throw TDesignError("--seed", "takes an integer from 0 to 4294967295, not '" + Text + "'",
                       TDesignError::TJoin::jnSpace);
  return *seed;
}

queens::TRandomStreams ParseStreams(const std::string& Text) {
  const auto streams = EnumFromName<queens::TRandomStreams>(queens::kRandomStreamsNames, Text);
  if (!streams)
    throw TDesignError("--streams", "takes 'continued' or 'shared', not '" + Text + "'", TDesignError::TJoin::jnSpace);
  return *streams;
}

std::vector<ga::TGASelectionMethod> ParseMethodList(const std::string& Text) {
  std::array<bool, kMethodOrder.size()> named{};
  for (const std::string& name : SplitCommas(Text)) {
    auto rank = EnumFromName<size_t>(kShortMethodNames, name);
    if (!rank)
      if (const auto method = EnumFromName<ga::TGASelectionMethod>(ga::kSelectionMethodNames, name))
        rank = MethodRank(*method);
    if (!rank) throw TDesignError("--methods", "'" + name + "' is not a selection method");
    named[*rank] = true;
  }
  std::vector<ga::TGASelectionMethod> methods;
  for (size_t i = 0; i < kMethodOrder.size(); ++i)
    if (named[i]) methods.push_back(kMethodOrder[i]);
  if (methods.empty()) throw TDesignError("--methods", "no method given");
  return methods;
}

}  // namespace zp::experiment
