#include "cli/BatchCommand.h"

#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "cli/ChartOutput.h"
#include "experiment/Comparisons.h"
#include "experiment/Ecdf.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/ExperimentSpec.h"
#include "experiment/OutputFiles.h"
#include "experiment/Report.h"
#include "experiment/Runner.h"
#include "experiment/Summary.h"

namespace zp::cli {

namespace {

namespace fs = std::filesystem;
using namespace zp::experiment;

// The ECDF pictures' size: that of nqueens-ga's charts by default.
constexpr int kEcdfWidth = 800, kEcdfHeight = 500;

// Set from the signal handler; both are lock-free, so storing them there is safe.
std::atomic<bool> g_stop{false};
std::atomic<int> g_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int Signal) {
  g_signal.store(Signal);
  g_stop.store(true);
}

// SIGINT and SIGTERM ask the experiment to stop while it runs; the handlers
// before it are back afterwards.
class TStopSignals {
 public:
  TStopSignals() {
    g_stop = false;
    g_signal = 0;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &old_int_);
    sigaction(SIGTERM, &action, &old_term_);
  }
  ~TStopSignals() {
    sigaction(SIGINT, &old_int_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
  }
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

 private:
  struct sigaction old_int_ {};
  struct sigaction old_term_ {};
};

// The options given, over Base (the defaults, or what a resumed folder holds).
TExperimentSpec ApplyOptions(const TBatchOptions& O, TExperimentSpec Base) {
  if (O.Queens) Base.Queens = ParseQueenList(*O.Queens);
  if (O.Repeats) Base.Repeats = ParsePositive("--repeats", *O.Repeats);
  if (O.Generations) Base.Generations = ParsePositive("--generations", *O.Generations);
  if (O.Seed) Base.Seed = ParseSeedOption(*O.Seed);
  if (O.Streams) Base.Streams = ParseStreams(*O.Streams);
  if (O.Methods) Base.Methods = ParseMethodList(*O.Methods);
  return Base;
}

bool Writable(const fs::path& Folder) {
  std::error_code ec;
  fs::path at = fs::absolute(Folder, ec);
  while (!at.empty() && !fs::exists(at, ec)) {
    if (at == at.parent_path()) return false;
    at = at.parent_path();
  }
  return fs::is_directory(at, ec) && access(at.c_str(), W_OK | X_OK) == 0;
}

std::string ReadFile(const fs::path& File) {
  std::ifstream in(File, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

std::string ShellQuoted(const std::string& Text) {
  if (Text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./") == std::string::npos)
    return Text;
  std::string quoted = "'";
  for (const char c : Text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// What the command line asks for, checked before anything is written.
struct TPlan {
  TExperimentSpec Spec;
  int Jobs = 1;
  bool Resuming = false;  // the folder holds an experiment to go on with
};

TPlan Plan(const TBatchOptions& O) {
  TPlan plan;
  plan.Spec = ApplyOptions(O, TExperimentSpec());  // every given option is checked, resumed or not
  const unsigned cores = std::thread::hardware_concurrency();
  plan.Jobs = O.Jobs ? ParsePositive("--jobs", *O.Jobs) : static_cast<int>(cores > 0 ? cores : 1);

  const fs::path out(O.Out);
  std::error_code ec;
  const bool exists = fs::exists(out, ec);
  if (exists && !fs::is_directory(out, ec)) throw TSpecError("--out: '" + O.Out + "' is a file");
  if (O.Out.empty() || !Writable(out)) throw TSpecError("--out: '" + O.Out + "' is not writable");
  const bool empty = !exists || fs::is_empty(out, ec);
  if (!empty && !O.Resume)
    throw TSpecError("--out: '" + O.Out + "' is not empty; give --resume to go on with the experiment in it");
  if (!empty) {
    const fs::path json = out / "experiment.json";
    if (!fs::exists(json, ec)) throw TSpecError("--resume: '" + O.Out + "' holds no experiment.json");
    TStoredExperiment stored;
    try {
      stored = ReadExperimentJson(ReadFile(json));
    } catch (const std::exception& e) {
      throw TSpecError("--resume: '" + O.Out + "/" + e.what());
    }
    plan.Spec = ApplyOptions(O, stored.Spec);
    const std::vector<std::string> differing =
        DifferingParameters(stored.Parameters, Parameters(plan.Spec, ProgramVersion()));
    if (!differing.empty()) {
      std::string list;
      for (const std::string& d : differing) list += (list.empty() ? "" : ", ") + d;
      throw TSpecError("--resume: the experiment in '" + O.Out + "' differs in " + list);
    }
    plan.Resuming = true;
  }
  return plan;
}

std::string Clock(double Seconds) {
  const auto s = static_cast<long long>(Seconds + 0.5);
  char text[32];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
  return text;
}

// The progress line on a terminal: rewritten in place at most a few times a second.
class TProgress {
 public:
  TProgress(bool Shown, std::ostream& Err, size_t Total, size_t Done, size_t MethodsPerRepeat)
      : shown_(Shown), err_(Err), total_(Total), done_(Done), per_repeat_(MethodsPerRepeat) {}

  void Repeat() {
    ++done_;
    ++session_;
    Show(false);
  }
  void Show(bool Force) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!Force && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double rows_per_second = elapsed > 0 ? static_cast<double>(session_ * per_repeat_) / elapsed : 0;
    std::string left = "?";
    if (session_ > 0) left = Clock(elapsed / static_cast<double>(session_) * static_cast<double>(total_ - done_));
    char text[200];
    std::snprintf(text, sizeof text, "\r%zu/%zu repeats, %zu/%zu rows, %.1f rows/s, %s left\033[K", done_, total_,
                  done_ * per_repeat_, total_ * per_repeat_, rows_per_second, left.c_str());
    err_ << text << std::flush;
  }
  void End() {
    if (!shown_) return;
    Show(true);
    err_ << '\n' << std::flush;
  }
  size_t Done() const { return done_; }

 private:
  bool shown_;
  std::ostream& err_;
  size_t total_, done_, per_repeat_, session_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_{};
};

}  // namespace

CLI::App* AddBatchCommand(CLI::App& App, TBatchOptions& O) {
  CLI::App* batch = App.add_subcommand("batch", "many repeats of the comparison run, on all cores, into a folder");
  batch->add_option("--queens", O.Queens, "queen counts and ranges, 4 to 32 (default 8): 8,10-12")->type_name("LIST");
  batch->add_option("--repeats", O.Repeats, "repeats per queen count (default 30)")->type_name("R");
  batch->add_option("--generations", O.Generations, "generations per method (default 100)")->type_name("G");
  batch->add_option("--seed", O.Seed, "the experiment's seed, decimal or 0x hex (default 0)")->type_name("S");
  batch->add_option("--streams", O.Streams, "continued (default) or shared random numbers")
      ->type_name("continued|shared");
  batch
      ->add_option("--methods", O.Methods,
                   "methods written (default all): smRoulette ... or roulette,\nrandom, tournament, stochastic, "
                   "elitist")
      ->type_name("LIST");
  batch->add_option("--jobs", O.Jobs, "worker threads (default: the hardware threads)")->type_name("J");
  batch->add_option("--out", O.Out, "the experiment's folder (default experiment)")->type_name("DIR");
  batch->add_flag("--resume", O.Resume, "go on with the experiment in --out");
  batch->add_flag("--quiet", O.Quiet, "no progress line");
  batch->footer(
      "A repeat r of N queens is the comparison run of 'nqueens-ga --seed SEED -q N -e \"run G\"'\n"
      "(with \"streams shared;\" first for shared streams), SEED being the row's seed.\n"
      "Exit status: 0 done, 1 a write failed, 2 bad input (nothing written), 130/143 stopped\n"
      "by SIGINT/SIGTERM (whole rows kept; --resume goes on).");
  return batch;
}

// summary.csv, comparisons.csv, iohprofiler/ and the ECDF pictures from the
// files as written, and the table on Out.
void WriteAnalysis(const fs::path& Folder, const TExperimentSpec& Spec, std::ostream& Out) {
  const TRecordedRuns recorded = ReadRecordedRuns(Folder);
  WriteOutputFiles(Folder, AnalysisFiles(recorded.Rows, recorded.Traces));
  for (const int32_t n : Spec.Queens) {
    TEcdfChart chart(recorded.Rows, n, Spec.Generations);
    for (const char* type : {"png", "svg"})
      RenderPanelFile(chart.Panel(), (Folder / ("ecdf-" + std::to_string(n) + "." + type)).string(), kEcdfWidth,
                      kEcdfHeight);
  }
  Out << ReportTable(Summarize(recorded.Rows), Compare(recorded.Rows)) << std::flush;
}

int RunBatch(const TBatchOptions& O, std::ostream& Out, std::ostream& Err) {
  TPlan plan;
  try {
    plan = Plan(O);
  } catch (const TSpecError& e) {
    Err << "error: " << e.what() << '\n';
    return 2;
  }
  const fs::path folder(O.Out);
  const TExperimentSpec& spec = plan.Spec;
  const std::vector<TRepeatKey> keys = RepeatKeys(spec);
  TRunInfo run{UtcNow(), "", plan.Jobs, HostName()};
  TStopSignals signals;
  size_t done = 0;
  try {
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::vector<TRepeatKey> todo = keys;
    if (plan.Resuming)
      todo = ResumeFolder(folder, spec);
    else
      StartFolder(folder);
    WriteOutputFiles(folder, {{"experiment.json", ExperimentJson(spec, ProgramVersion(), run)}});
    done = keys.size() - todo.size();

    TResultFiles files(folder);
    TProgress progress(!O.Quiet && &Err == &std::cerr && isatty(2), Err, keys.size(), done, spec.Methods.size());
    progress.Show(true);
    RunRepeats(
        spec, todo, plan.Jobs, g_stop,
        [&](TRepeatResult& result) {
          files.Append(result);
          progress.Repeat();
        },
        [&] { progress.Show(false); });
    progress.End();
    done = progress.Done();
    if (!g_stop) {
      WriteAnalysis(folder, spec, Out);
      run.End = UtcNow();
      WriteOutputFiles(folder, {{"experiment.json", ExperimentJson(spec, ProgramVersion(), run)}});
      return 0;
    }
  } catch (const std::exception& e) {
    Err << "error: " << e.what() << '\n';
    return 1;
  }
  const int signal = g_signal.load();
  Err << "nqueens-ga: stopped by " << (signal == SIGTERM ? "SIGTERM" : "SIGINT") << "; " << done << " of "
      << keys.size() << " repeats are written, whole rows only.\n"
      << "To go on: nqueens-ga batch --out " << ShellQuoted(O.Out) << " --resume\n";
  return 128 + (signal == SIGTERM ? SIGTERM : SIGINT);
}

}  // namespace zp::cli
