// Main effects of a sweep: per problem and size, method, varied setting and
// value, the runs of every configuration that has the value, pooled; their
// effects.csv text and the pictures of ERT against each setting's values.
//
//   TEffects effects(design);
//   for (each cell) effects.Add(cell.Rows);
//   effects.DrawPictures(folder, draw, {"png", "svg"});
#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "experiment/ExperimentDesign.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/RunRow.h"

namespace zp::experiment {

// Empty (and drawing nothing) for a design of one configuration.
class TEffects {
 public:
  explicit TEffects(const TExperimentDesign& Design) : design_(Design) {}

  // Pools the rows of one cell (one problem, size and configuration).
  void Add(const std::vector<TRunRow>& Rows);

  // The text of effects.csv (kEffectsCsvHeader and a line per pooled value).
  std::string Csv() const;

  bool Empty() const { return order_.empty(); }

  // effects-PROBLEM-SIZE-SETTING.TYPE for each of Types: ERT in evaluations against the
  // setting's values, one line per method; a value without a hit has no point. Returns the
  // pictures' stems and captions, in the order drawn.
  std::vector<std::pair<std::string, std::string>> DrawPictures(const std::filesystem::path& Folder,
                                                                const TPictureWriter& Draw,
                                                                std::initializer_list<const char*> Types) const;

 private:
  struct TPooled {
    std::set<int32_t> Configs;
    int64_t Runs = 0, Hits = 0;
    double Spent = 0;
  };
  const TExperimentDesign& design_;
  std::vector<std::pair<std::string, int32_t>> order_;
  // (problem, size) -> (method rank, setting, value place) -> pooled runs
  std::map<std::pair<std::string, int32_t>, std::map<std::tuple<size_t, size_t, size_t>, TPooled>> blocks_;
};

}  // namespace zp::experiment
