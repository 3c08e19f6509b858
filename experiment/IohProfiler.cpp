#include "experiment/IohProfiler.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/ProblemCatalogue.h"

namespace zp::experiment {

namespace {

// "f2_OneMax": the function as the file names give it.
std::string FunctionTag(const queens::TProblemChoice& Problem) {
  return "f" + std::to_string(Problem.FuncId()) + "_" + Problem.FuncName();
}

std::string DataFileName(const queens::TProblemChoice& Problem, int32_t Size) {
  return "data_" + FunctionTag(Problem) + "/IOHprofiler_f" + std::to_string(Problem.FuncId()) + "_DIM" +
         std::to_string(Size) + ".dat";
}

// The header line as the IOHprofiler loggers write it: every text in double quotes.
// N-Queens keeps its own suite; the other problems are this workbench's.
std::string InfoBlock(const queens::TProblemChoice& Problem, int32_t Size, const std::string& AlgId,
                      const std::string& AlgInfo, const std::vector<const TRunRow*>& Runs) {
  const bool queens = Problem.Kind == queens::TProblemKind::pkNQueens;
  std::string text = "suite = \"" + std::string(queens ? "NQueens" : "GAWorkbench") +
                     "\", funcId = " + std::to_string(Problem.FuncId()) + ", funcName = \"" + Problem.FuncName() +
                     "\", DIM = " + std::to_string(Size) + ", maximization = \"T\", algId = \"" + AlgId +
                     "\", algInfo = \"" + AlgInfo +
                     (Problem.Kind == queens::TProblemKind::pkJump ? ", K " + std::to_string(Problem.K) : "") +
                     "\"\n%\n" + DataFileName(Problem, Size);
  for (const TRunRow* run : Runs)
    text += ", 1:" + std::to_string(run->Evaluations) + "|" + FormatFloat15(run->BestEver);
  return text + "\n";
}

// The problem a row names; rows come from the batch's own files, whose names all parse.
queens::TProblemChoice ProblemOf(const std::string& Name) {
  const auto chosen = queens::ParseProblemName(Name);
  if (!chosen) throw Exception("'" + Name + "' is not a problem");
  return *chosen;
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

std::string IohAlgInfo(const TExperimentDesign& Design, const std::string& Version, int32_t Generations) {
  return "streams " + queens::ToString(Design.Streams) + ", seed " + std::to_string(Design.Seed) + ", generations " +
         std::to_string(Generations) + (Design.Evaluations ? ", evaluations " + Design.Evaluations->Text : "") +
         ", version " + Version;
}

std::vector<TOutputFile> IohProfilerFiles(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                          const TIohProfilerInfo& Info) {
  using TKey = std::tuple<std::string, int32_t, int32_t, int32_t, ga::TGASelectionMethod>;
  std::map<TKey, const TRunTrace*> traces;
  for (const TRunTrace& t : Traces) traces[{t.Problem, t.Size, t.Config, t.Repeat, t.Method}] = &t;

  // Per method rank and configuration, then per problem in the order the rows give them, then size: the files' order.
  std::map<std::pair<size_t, int32_t>,
           std::vector<std::pair<std::string, std::map<int32_t, std::vector<const TRunRow*>>>>>
      groups;
  for (const TRunRow& row : Rows) {
    const auto rank = MethodRank(row.Method);
    if (!rank) continue;
    auto& problems = groups[{*rank, Info.PerConfig ? row.Config : 0}];
    auto at = std::find_if(problems.begin(), problems.end(), [&](const auto& p) { return p.first == row.Problem; });
    if (at == problems.end()) at = problems.insert(problems.end(), {row.Problem, {}});
    at->second[row.Size].push_back(&row);
  }

  std::vector<TOutputFile> files;
  for (auto& [algorithm, problems] : groups) {
    const auto [rank, config] = algorithm;
    const std::string method = ga::ToString(kMethodOrder[rank]);
    const std::string tag = Info.PerConfig ? "c" + std::to_string(config) : "";
    const std::string alg_id =
        std::string(ga::kSelectionMethods[rank].Caption) + "@" + Info.Label + (tag.empty() ? "" : "#" + tag);
    const std::string folder = "iohprofiler/" + method + (tag.empty() ? "" : "-" + tag) + "/";
    for (auto& [name, by_size] : problems) {
      const queens::TProblemChoice problem = ProblemOf(name);
      TOutputFile info{folder + "IOHprofiler_" + FunctionTag(problem) + ".info", ""};
      std::vector<TOutputFile> data;
      for (auto& [size, runs] : by_size) {
        std::stable_sort(runs.begin(), runs.end(),
                         [](const TRunRow* a, const TRunRow* b) { return a->Repeat < b->Repeat; });
        info.Text += InfoBlock(problem, size, alg_id, Info.AlgInfo, runs);
        TOutputFile& file = data.emplace_back(TOutputFile{folder + DataFileName(problem, size), ""});
        for (const TRunRow* run : runs) {
          const auto trace = traces.find({run->Problem, run->Size, run->Config, run->Repeat, run->Method});
          file.Text += DataRun(*run, trace == traces.end() ? nullptr : trace->second);
        }
      }
      files.push_back(std::move(info));
      for (TOutputFile& file : data) files.push_back(std::move(file));
    }
  }
  return files;
}

}  // namespace zp::experiment
