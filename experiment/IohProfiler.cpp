#include "experiment/IohProfiler.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

std::string DataFileName(int32_t Queens) {
  return "data_f1_NQueens/IOHprofiler_f1_DIM" + std::to_string(Queens) + ".dat";
}

// The header line as the IOHprofiler loggers write it: every text in double quotes.
std::string InfoBlock(int32_t Queens, const std::string& AlgId, const std::string& AlgInfo,
                      const std::vector<const TRunRow*>& Runs) {
  std::string text = "suite = \"NQueens\", funcId = 1, funcName = \"NQueens\", DIM = " + std::to_string(Queens) +
                     ", maximization = \"T\", algId = \"" + AlgId + "\", algInfo = \"" + AlgInfo + "\"\n%\n" +
                     DataFileName(Queens);
  for (const TRunRow* run : Runs)
    text += ", 1:" + std::to_string(run->Evaluations) + "|" + FormatFloat15(run->BestEver);
  return text + "\n";
}

std::string DataRun(const TRunRow& Run, const TRunTrace* Trace) {
  std::string text = "\"function evaluation\" \"best-so-far f(x)\"\n";
  if (Trace)
    for (const TTracePoint& p : Trace->Improvements)
      text +=
          std::to_string(int64_t{Run.Population} * (1 + int64_t{p.Generation})) + " " + FormatFloat15(p.Best) + "\n";
  return text + std::to_string(Run.Evaluations) + " " + FormatFloat15(Run.BestEver) + "\n";
}

}  // namespace

std::string IohAlgInfo(const TExperimentDesign& Design, const std::string& Version) {
  return "streams " + queens::ToString(Design.Streams) + ", seed " + std::to_string(Design.Seed) + ", generations " +
         std::to_string(Design.Generations) + ", version " + Version;
}

std::vector<TOutputFile> IohProfilerFiles(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                          const TIohProfilerInfo& Info) {
  using TKey = std::tuple<int32_t, int32_t, ga::TGASelectionMethod>;
  std::map<TKey, const TRunTrace*> traces;
  for (const TRunTrace& t : Traces) traces[{t.Queens, t.Repeat, t.Method}] = &t;

  // Keyed by method rank, then queen count: the map's order is the files' order.
  std::map<size_t, std::map<int32_t, std::vector<const TRunRow*>>> groups;
  for (const TRunRow& row : Rows)
    if (const auto rank = MethodRank(row.Method)) groups[*rank][row.Queens].push_back(&row);

  std::vector<TOutputFile> files;
  for (auto& [rank, by_queens] : groups) {
    const std::string method = ga::ToString(kMethodOrder[rank]);
    const std::string alg_id = std::string(ga::kSelectionMethods[rank].Caption) + "@" + Info.Label;
    const std::string folder = "iohprofiler/" + method + "/";
    TOutputFile info{folder + "IOHprofiler_f1_NQueens.info", ""};
    std::vector<TOutputFile> data;
    for (auto& [queens, runs] : by_queens) {
      std::stable_sort(runs.begin(), runs.end(),
                       [](const TRunRow* a, const TRunRow* b) { return a->Repeat < b->Repeat; });
      info.Text += InfoBlock(queens, alg_id, Info.AlgInfo, runs);
      TOutputFile& file = data.emplace_back(TOutputFile{folder + DataFileName(queens), ""});
      for (const TRunRow* run : runs) {
        const auto trace = traces.find({run->Queens, run->Repeat, run->Method});
        file.Text += DataRun(*run, trace == traces.end() ? nullptr : trace->second);
      }
    }
    files.push_back(std::move(info));
    for (TOutputFile& file : data) files.push_back(std::move(file));
  }
  return files;
}

}  // namespace zp::experiment
