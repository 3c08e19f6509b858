#include "cli/BatchSession.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "cli/ChartOutput.h"
#include "experiment/Comparisons.h"
#include "experiment/Configurations.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/OutputFiles.h"
#include "experiment/Report.h"
#include "experiment/Summary.h"
#include "platform/Numbers.h"
#include "workbench/ComparisonRun.h"
#include "workbench/QueensProblem.h"
#include "workbench/QueensWorkbench.h"

namespace zp::cli {

namespace {

namespace fs = std::filesystem;
using namespace zp::experiment;

// Set from the signal handler; both are lock-free, so storing them there is safe.
std::atomic<bool> g_stop{false};
std::atomic<int> g_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int Signal) {
  g_signal.store(Signal);
  g_stop.store(true);
}

struct sigaction g_old_int {};
struct sigaction g_old_term {};

// The options given, over Base (the defaults, or what a resumed folder holds).
TExperimentDesign ApplyOptions(const TBatchOptions& O, TExperimentDesign Base) {
  if (O.Queens && O.Sizes) throw TDesignError("--queens", "and --sizes both give the sizes; give one of them");
  if (O.Queens) {
    if (O.Problem && *O.Problem != "nqueens")
      throw TDesignError("--queens", "gives N-Queens sizes only; give --sizes for --problem " + *O.Problem);
    Base.Problems = {queens::TProblemChoice{}};
    Base.Sizes = ParseQueenList(*O.Queens);
  }
  if (O.Problem) Base.Problems = ParseProblemList(*O.Problem);
  if (O.Sizes) Base.Sizes = ParseSizeList("--sizes", *O.Sizes);
  if (O.Repeats) Base.Repeats = ParsePositive("--repeats", *O.Repeats);
  if (O.Generations && O.Evaluations)
    throw TDesignError("--generations", "and --evaluations both give the budget; give one of them");
  if (O.Generations) {
    Base.Generations = ParsePositive("--generations", *O.Generations);
    Base.Evaluations.reset();
  }
  if (O.Evaluations) Base.Evaluations = ParseEvaluations(*O.Evaluations);
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    if (O.Settings[i]) Base.Settings[i] = ParseSettingList(static_cast<queens::TSettingName>(i), *O.Settings[i]);
  if (O.Seed) Base.Seed = ParseSeedOption(*O.Seed);
  if (O.Streams) Base.Streams = ParseStreams(*O.Streams);
  if (O.Methods) Base.Methods = ParseMethodList(*O.Methods);
  if (O.Label) Base.Label = ParseLabel(*O.Label);
  CheckSizes(Base, O.Queens ? "--queens" : "--sizes");
  CheckConfigurations(Base);
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

// True when Folder's runs.csv (if any) holds no whole row.
bool NothingRecorded(const fs::path& Folder) {
  try {
    return ParseRunsCsv(ReadFile(Folder / "runs.csv")).empty();
  } catch (const std::exception&) {
    return false;  // something is there that the resume should name
  }
}

std::string ShellQuoted(const std::string& Text) {
  if (Text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./") == std::string::npos)
    return Text;
  std::string quoted = "'";
  for (const char c : Text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Makes or resumes the folder and writes experiment.json; the repeats still to run.
TRepeatList PrepareFolder(const fs::path& Folder, const TBatchPlan& Plan, const TRunInfo& Run, std::ostream& Err) {
  std::error_code ec;
  fs::create_directories(Folder, ec);
  TRepeatList todo;
  if (Plan.Resuming) {
    std::vector<std::string> notes;
    todo = ResumeFolder(Folder, Plan.Design, &notes);
    for (const std::string& note : notes) Err << "note: " << note << '\n';
  } else {
    StartFolder(Folder);
    todo = RepeatKeys(Plan.Design);
  }
  WriteOutputFiles(Folder, {{"configurations.csv", ConfigurationsCsv(ResolveConfigurations(Plan.Design))},
                            {"experiment.json", ExperimentJson(Plan.Design, ProgramVersion(), Run)}});
  return todo;
}

}  // namespace

TBatchPlan PlanBatch(const TBatchOptions& O, int DefaultJobs) {
  TBatchPlan plan;
  plan.Design = ApplyOptions(O, TExperimentDesign());  // every given option is checked, resumed or not
  if (plan.Design.Label.empty()) plan.Design.Label = DefaultLabel(O.Out);
  plan.Jobs = O.Jobs ? ParsePositive("--jobs", *O.Jobs) : DefaultJobs;
  CheckGenerationWork(plan.Design, O.Queens ? "--queens" : "--sizes");

  const fs::path out(O.Out);
  std::error_code ec;
  const bool exists = fs::exists(out, ec);
  if (exists && !fs::is_directory(out, ec)) throw TDesignError("--out", "'" + O.Out + "' is a file");
  if (O.Out.empty() || !Writable(out)) throw TDesignError("--out", "'" + O.Out + "' is not writable");
  try {
    plan.Lock = std::make_shared<TFolderLock>(out);
  } catch (const TFolderBusy& e) {
    throw TDesignError("--out", e.what());
  }
  bool empty = FolderEmpty(out);
  // A start killed in its first moments leaves headers without experiment.json:
  // nothing to go on with, so a resume starts afresh.
  if (!empty && O.Resume && !fs::exists(out / "experiment.json", ec) && NothingRecorded(out)) empty = true;
  if (!empty && !O.Resume)
    throw TDesignError("--out", "'" + O.Out + "' is not empty; give --resume to go on with the experiment in it");
  if (!empty) {
    const fs::path json = out / "experiment.json";
    if (!fs::exists(json, ec)) throw TDesignError("--resume", "'" + O.Out + "' holds no experiment.json");
    // A file the batch would replace or append to must be one its owner lets be written.
    for (const auto& entry : fs::recursive_directory_iterator(out, ec)) {
      if (!entry.is_regular_file(ec) || entry.path().filename() == kLockFileName) continue;
      const bool no_write_bit = (entry.status(ec).permissions() & fs::perms::owner_write) == fs::perms::none;
      if (no_write_bit || access(entry.path().c_str(), W_OK) != 0)
        throw TDesignError("--resume", "'" + entry.path().string() + "' is not writable (" +
                                           (no_write_bit ? std::string("its mode has no write bit")
                                                         : std::string(std::strerror(errno))) +
                                           "); make it writable or give another --out");
    }
    TStoredExperiment stored;
    try {
      stored = ReadExperimentJson(ReadFile(json));
    } catch (const std::exception& e) {
      // Named by the file, which holds the options of the experiment resumed.
      throw TDesignError(json.string(), e.what());
    }
    plan.Design = ApplyOptions(O, stored.Design);
    const std::vector<std::string> differing =
        DifferingParameters(stored.Parameters, Parameters(plan.Design, ProgramVersion()));
    if (!differing.empty()) {
      std::string list;
      for (const std::string& d : differing) list += (list.empty() ? "" : ", ") + d;
      throw TDesignError("--resume", "the experiment in '" + O.Out + "' differs in " + list);
    }
    plan.Resuming = true;
  }
  return plan;
}

int HardwareJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(cores > 0 ? cores : 1);
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

TStopSignals::TStopSignals() {
  g_stop = false;
  g_signal = 0;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &g_old_int);
  sigaction(SIGTERM, &action, &g_old_term);
}

TStopSignals::~TStopSignals() {
  sigaction(SIGINT, &g_old_int, nullptr);
  sigaction(SIGTERM, &g_old_term, nullptr);
}

const std::atomic<bool>& TStopSignals::Stop() { return g_stop; }

int TStopSignals::Signal() { return g_signal.load(); }

TProgress::TProgress(bool Shown, std::ostream& Err, size_t Total, size_t Done, size_t MethodsPerRepeat)
    : shown_(Shown), err_(Err), total_(Total), done_(Done), per_repeat_(MethodsPerRepeat) {}

void TProgress::Repeat() {
  ++done_;
  ++session_;
  Show(false);
}

void TProgress::Show(bool Force) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!Force && now - last_ < std::chrono::milliseconds(200)) return;
  last_ = now;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double rows_per_second = elapsed > 0 ? static_cast<double>(session_ * per_repeat_) / elapsed : 0;
  std::string left = "?";
  if (session_ > 0) left = ClockText(elapsed / static_cast<double>(session_) * static_cast<double>(total_ - done_));
  char text[200];
  // Locale-free: once Qt has started (for the pictures), printf would follow the user's locale.
  std::snprintf(text, sizeof text, "\r%zu/%zu repeats, %zu/%zu rows, %s rows/s, %s left\033[K", done_, total_,
                done_ * per_repeat_, total_ * per_repeat_, FormatFixed(rows_per_second, 1).c_str(), left.c_str());
  err_ << text << std::flush;
}

void TProgress::End() {
  if (!shown_) return;
  Show(true);
  err_ << '\n' << std::flush;
}

TBatchSession::TBatchSession(const TBatchOptions& O, const TBatchPlan& Plan, TRunInfo Run, std::ostream& Err,
                             bool ShowProgress)
    : folder_(O.Out),
      design_(Plan.Design),
      run_(std::move(Run)),
      todo_(PrepareFolder(folder_, Plan, run_, Err)),
      total_(RepeatKeys(design_).size()),
      files_(folder_),
      progress_(ShowProgress && !O.Quiet, Err, total_, total_ - todo_.size(), design_.Methods.size()) {
  progress_.Show(true);
}

void TBatchSession::Write(const TRepeatLines& Repeat) {
  files_.Append(Repeat);
  progress_.Repeat();
}

void TBatchSession::Idle() {
  if (!drawing_prepared_) {
    PrepareDrawing();
    drawing_prepared_ = true;
  }
  progress_.Show(false);
}

void TBatchSession::Finish(std::ostream& Out) {
  const TFinishedAnalysis analysis =
      FinishFolder(folder_, design_, [](chart::TZPCustomChartPanel& panel, const std::string& file, int w, int h) {
        RenderPanelFile(panel, file, w, h);
      });
  Out << ReportTable(analysis.Summary, analysis.Comparisons) << std::flush;
  run_.End = UtcNow();
  WriteOutputFiles(folder_, {{"experiment.json", ExperimentJson(design_, ProgramVersion(), run_)}});
}

int ReportStopped(const std::string& Program, const TBatchOptions& O, size_t Done, size_t Total, std::ostream& Err) {
  const int signal = TStopSignals::Signal() == SIGTERM ? SIGTERM : SIGINT;
  Err << Program << ": stopped by " << (signal == SIGTERM ? "SIGTERM" : "SIGINT") << "; " << Done << " of " << Total
      << " repeats are written, whole rows only.\n"
      << "To go on: " << Program << " batch --out " << ShellQuoted(O.Out) << " --resume\n";
  return 128 + signal;
}

}  // namespace zp::cli
