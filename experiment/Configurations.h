// The configurations of an experiment as they resolve for each problem and
// size: what experiment.json's design and configurations.csv hold, worked out
// once from fresh components.
//
//   for (const TResolvedConfig& c : ResolveConfigurations(design)) ... c.Settings.Population ...
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "experiment/ExperimentDesign.h"
#include "workbench/ComparisonRun.h"

namespace zp::experiment {

struct TResolvedConfig {
  queens::TProblemChoice Problem;
  int32_t Size = 0;
  int32_t Config = 0;
  queens::TResolvedSettings Settings;
  int32_t Generations = 0;  // per method
  int64_t Evaluations = 0;  // population x (1 + Generations): the most a run spends
};

// Per problem, size and configuration, in the files' key order.
std::vector<TResolvedConfig> ResolveConfigurations(const TExperimentDesign& Design);

// The header line of configurations.csv, without the line end.
inline constexpr const char* kConfigurationsCsvHeader =
    "problem,size,config,population,crossover,mutation,inversion,tournament,elitist,crossover_method,generations,"
    "evaluations";

// The text of configurations.csv; probabilities in FormatFloat15.
std::string ConfigurationsCsv(const std::vector<TResolvedConfig>& Configs);

}  // namespace zp::experiment
