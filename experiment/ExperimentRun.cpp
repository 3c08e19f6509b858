#include "experiment/ExperimentRun.h"

#include <fstream>
#include <map>
#include <sstream>

#include "experiment/CellReader.h"
#include "experiment/Configurations.h"
#include "experiment/OutputFiles.h"
#include "platform/Exceptions.h"

namespace zp::experiment {

namespace fs = std::filesystem;

TRepeatList PrepareExperimentFolder(const fs::path& Folder, const TExperimentDesign& Design, const TRunInfo& Run,
                                    bool Resuming, std::vector<std::string>* Notes) {
  std::error_code ec;
  fs::create_directories(Folder, ec);
  TRepeatList todo = RepeatKeys(Design);
  if (Resuming) {
    todo = ResumeFolder(Folder, Design, Notes);
  } else {
    StartFolder(Folder);
  }
  WriteOutputFiles(Folder, {{"configurations.csv", ConfigurationsCsv(ResolveConfigurations(Design))},
                            {"experiment.json", ExperimentJson(Design, ProgramVersion(), Run)}});
  return todo;
}

TStoredExperiment ReadExperimentFolder(const fs::path& Folder) {
  const fs::path json = Folder / "experiment.json";
  std::ifstream in(json, std::ios::binary);
  if (!in) throw Exception("'" + Folder.string() + "' holds no experiment.json: it is no experiment folder");
  std::stringstream text;
  text << in.rdbuf();
  try {
    return ReadExperimentJson(text.str());
  } catch (const std::exception& e) {
    throw Exception(json.string() + ": " + e.what());
  }
}

size_t CompleteRepeats(const std::vector<TRunRow>& Rows, size_t Methods) {
  std::map<int32_t, size_t> rows_of;
  for (const TRunRow& row : Rows) ++rows_of[row.Repeat];
  size_t complete = 0;
  for (const auto& [repeat, count] : rows_of) complete += count >= Methods ? 1 : 0;
  return complete;
}

TFolderState ReadFolderState(const fs::path& Folder, const TExperimentDesign& Design) {
  TFolderState state;
  TCellReader reader(Folder);
  for (TRecordedRuns cell; reader.Next(cell);) {
    if (cell.Rows.empty()) continue;
    std::vector<TSummaryRow> summary = Summarize(cell.Rows, Design.Seed);
    std::vector<TComparisonRow> comparisons = Compare(cell.Rows);
    state.Summary.insert(state.Summary.end(), summary.begin(), summary.end());
    state.Comparisons.insert(state.Comparisons.end(), comparisons.begin(), comparisons.end());
    state.Cells.push_back(CellOf(cell.Rows.front()));
    state.Repeats += CompleteRepeats(cell.Rows, Design.Methods.size());
  }
  return state;
}

std::vector<TRunRow> ReadCellRows(const fs::path& Folder, const TCell& Cell) {
  TCellReader reader(Folder);
  for (TRecordedRuns cell; reader.Next(cell);)
    if (!cell.Rows.empty() && CellOf(cell.Rows.front()) == Cell) return std::move(cell.Rows);
  return {};
}

}  // namespace zp::experiment
