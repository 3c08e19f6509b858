#include "experiment/ExperimentFolder.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "experiment/OutputFiles.h"
#include "experiment/ProgramVersion.h"
#include "experiment/RecordedRuns.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

constexpr const char* kTimingCsvHeader = "problem,size,config,repeat,seconds";

std::string ReadFile(const std::filesystem::path& File) {
  std::ifstream in(File, std::ios::binary);
  if (!in) return "";
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The place in Design's problems of the one named Name; empty for none.
std::optional<int32_t> ProblemIndex(const TExperimentDesign& Design, const std::string& Name) {
  for (size_t i = 0; i < Design.Problems.size(); ++i)
    if (Design.Problems[i].Name() == Name) return static_cast<int32_t>(i);
  return std::nullopt;
}

// The header and the time of each kept repeat: a repeat run again gets a new
// line, so its old one goes, as do a line cut short by the interruption and
// anything that is not a repeat's line. The times are kept for the record only.
std::string KeptTiming(const std::string& Old, const std::set<TRepeatKey>& Keep, const TExperimentDesign& Design) {
  std::map<TRepeatKey, std::string> lines;  // the last line of each kept repeat, in key order
  std::istringstream in(Old);
  for (std::string line; std::getline(in, line);) {
    if (in.eof()) break;  // no line end: cut short
    const size_t comma = line.find(',');
    const auto problem = ProblemIndex(Design, line.substr(0, comma));
    if (!problem || comma == std::string::npos) continue;
    TRepeatKey key{*problem, 0, 0, 0};
    char comma1 = 0, comma2 = 0, comma3 = 0;
    std::istringstream fields(line.substr(comma + 1));
    if (fields >> key.Size >> comma1 >> key.Config >> comma2 >> key.Repeat >> comma3 && comma1 == ',' &&
        comma2 == ',' && comma3 == ',' && Keep.contains(key))
      lines[key] = line + "\n";
  }
  std::string text = std::string(kTimingCsvHeader) + "\n";
  for (const auto& [key, line] : lines) text += line;
  return text;
}

}  // namespace

const char* ProgramVersion() { return kProgramVersion; }

std::string UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

void StartFolder(const std::filesystem::path& Folder) {
  WriteOutputFiles(Folder, {{"runs.csv", std::string(kRunsCsvHeader) + "\n"},
                            {"traces.csv", std::string(kTracesCsvHeader) + "\n"},
                            {"timing.csv", std::string(kTimingCsvHeader) + "\n"}});
}

TRepeatList ResumeFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                         std::vector<std::string>* Notes) {
  // A damaged line (a power loss can leave a block of zeros) ends what is kept:
  // the files are cut there and every repeat after it runs again.
  std::string runs_damage, traces_damage;
  const TRecordedRuns recorded{ParseRunsCsv(ReadFile(Folder / "runs.csv"), "runs.csv", &runs_damage),
                               ParseTracesCsv(ReadFile(Folder / "traces.csv"), "traces.csv", &traces_damage)};
  for (const std::string* damage : {&runs_damage, &traces_damage})
    if (!damage->empty() && Notes)
      Notes->push_back(*damage + "; the files are cut there and the repeats from there on run again");
  const TRecordedRuns complete = KeepCompleteRepeats(recorded, Design.Methods);
  std::set<TRepeatKey> have;
  for (const TRunRow& row : complete.Rows)
    if (const auto problem = ProblemIndex(Design, row.Problem))
      have.insert({*problem, row.Size, row.Config, row.Repeat});
  // New rows are appended, so only the complete repeats that lead the key order
  // stay; everything from the first missing repeat on is run again.
  const TRepeatList keys = RepeatKeys(Design);
  size_t kept = 0;
  while (kept < keys.size() && have.contains(keys[kept])) ++kept;
  std::set<TRepeatKey> keep;
  for (size_t i = 0; i < kept; ++i) keep.insert(keys[i]);

  const auto kept_run = [&](const auto& run) {
    const auto problem = ProblemIndex(Design, run.Problem);
    return problem && keep.contains({*problem, run.Size, run.Config, run.Repeat});
  };
  std::string runs = std::string(kRunsCsvHeader) + "\n";
  for (const TRunRow& row : complete.Rows)
    if (kept_run(row)) runs += FormatRunRow(row) + "\n";
  std::vector<TRunTrace> traces;
  for (const TRunTrace& trace : complete.Traces)
    if (kept_run(trace)) traces.push_back(trace);
  const std::string timing = KeptTiming(ReadFile(Folder / "timing.csv"), keep, Design);
  WriteOutputFiles(Folder, {{"runs.csv", runs}, {"traces.csv", TracesCsv(traces)}, {"timing.csv", timing}});
  return keys.From(kept);
}

TResultFiles::TResultFiles(const std::filesystem::path& Folder)
    : runs_{Folder / "runs.csv"}, traces_{Folder / "traces.csv"}, timing_{Folder / "timing.csv"} {
  for (TFile* file : {&runs_, &traces_, &timing_}) {
    file->Handle = std::fopen(file->Path.c_str(), "ab");
    if (!file->Handle) throw Exception("cannot write " + file->Path.string() + ": " + std::strerror(errno));
  }
}

TResultFiles::~TResultFiles() {
  for (TFile* file : {&runs_, &traces_, &timing_})
    if (file->Handle) {
      ::fsync(::fileno(file->Handle));  // the last rows on disk too; a failure here loses nothing written
      std::fclose(file->Handle);
    }
}

void TResultFiles::Sync() {
  for (TFile* file : {&runs_, &traces_, &timing_})
    if (::fsync(::fileno(file->Handle)) != 0)
      throw Exception("cannot write " + file->Path.string() + ": " + std::strerror(errno));
  synced_ = std::chrono::steady_clock::now();
}

void TResultFiles::Write(TFile& File, const std::string& Text) {
  errno = 0;
  if (std::fwrite(Text.data(), 1, Text.size(), File.Handle) != Text.size() || std::fflush(File.Handle) != 0)
    throw Exception("cannot write " + File.Path.string() + ": " + std::strerror(errno ? errno : EIO));
}

TRepeatLines RepeatLines(const TRepeatResult& Result) {
  TRepeatLines lines{Result.Key, Result.Problem, "", "", Result.Seconds};
  for (const TRunTrace& trace : Result.Traces) lines.Traces += FormatRunTrace(trace);
  for (const TRunRow& row : Result.Rows) lines.Runs += FormatRunRow(row) + "\n";
  return lines;
}

void TResultFiles::Append(const TRepeatLines& Repeat) {
  // Traces first: a repeat counts as done once its rows are all there.
  Write(traces_, Repeat.Traces);
  Write(runs_, Repeat.Runs);
  Write(timing_, Repeat.Problem + "," + std::to_string(Repeat.Key.Size) + "," + std::to_string(Repeat.Key.Config) +
                     "," + std::to_string(Repeat.Key.Repeat) + "," + FormatFloat15(Repeat.Seconds) + "\n");
  // On disk at most once a second: after a power loss the rows end whole at most a second early.
  if (std::chrono::steady_clock::now() - synced_ >= std::chrono::seconds(1)) Sync();
}

}  // namespace zp::experiment
