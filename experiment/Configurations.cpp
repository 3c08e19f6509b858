#include "experiment/Configurations.h"

#include <memory>

#include "experiment/CsvLine.h"
#include "platform/Numbers.h"

namespace zp::experiment {

std::vector<TResolvedConfig> ResolveConfigurations(const TExperimentDesign& Design) {
  std::vector<TResolvedConfig> configs;
  for (const queens::TProblemChoice& chosen : Design.Problems)
    for (const int32_t size : Design.Sizes)
      for (int32_t config = 0; config < Design.ConfigCount(); ++config) {
        const queens::TGASettings settings = Design.SettingsFor(config, size);
        const std::unique_ptr<queens::IProblem> problem = chosen.Make(size);
        TResolvedConfig c{chosen, size, config, queens::ResolveSettings(*problem, settings), settings.Generations, 0};
        c.Evaluations = int64_t{c.Settings.Population} * (1 + int64_t{c.Generations});
        configs.push_back(c);
      }
  return configs;
}

std::string ConfigurationsCsv(const std::vector<TResolvedConfig>& Configs) {
  std::string text = std::string(kConfigurationsCsvHeader) + "\n";
  for (const TResolvedConfig& c : Configs) {
    const queens::TResolvedSettings& s = c.Settings;
    text +=
        CsvLine({c.Problem.Name(), std::to_string(c.Size), std::to_string(c.Config), std::to_string(s.Population),
                 FormatFloat15(s.CrossoverProbability), FormatFloat15(s.MutationProbability),
                 FormatFloat15(s.InversionProbability), std::to_string(s.TournamentField), FormatFloat15(s.ElitistPct),
                 ga::ToString(s.CrossoverMethod), std::to_string(c.Generations), std::to_string(c.Evaluations)}) +
        "\n";
  }
  return text;
}

}  // namespace zp::experiment
