#include "experiment/ExperimentFolder.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>

#include "experiment/Comparisons.h"
#include "experiment/IohProfiler.h"
#include "experiment/OutputFiles.h"
#include "experiment/ProgramVersion.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Summary.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

namespace zp::experiment {

namespace {

using K = TJsonValue::TKind;

constexpr const char* kTimingCsvHeader = "queens,repeat,seconds";

TJsonValue Number(int64_t n) { return TJsonValue(K::jkNumber, std::to_string(n)); }
TJsonValue String(std::string s) { return TJsonValue(K::jkString, std::move(s)); }

std::string Member(const std::string& Key, const TJsonValue& Value) {
  return "    " + JsonQuote(Key) + ": " + FormatJson(Value);
}

std::string ObjectLines(const std::vector<std::pair<std::string, TJsonValue>>& Members) {
  std::string text = "{\n";
  for (size_t i = 0; i < Members.size(); ++i)
    text += Member(Members[i].first, Members[i].second) + (i + 1 < Members.size() ? ",\n" : "\n");
  return text + "  }";
}

std::string ReadFile(const std::filesystem::path& File) {
  std::ifstream in(File, std::ios::binary);
  if (!in) return "";
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

[[noreturn]] void Bad(const std::string& What) { throw Exception("experiment.json: " + What); }

const TJsonValue& Need(const TJsonValue& Object, const char* Key, K Kind) {
  const TJsonValue* v = Object.Find(Key);
  if (!v || v->Kind != Kind) Bad(std::string("no valid \"") + Key + "\"");
  return *v;
}

}  // namespace

const char* ProgramVersion() { return kProgramVersion; }

std::vector<std::pair<std::string, TJsonValue>> Parameters(const TExperimentDesign& Design,
                                                           const std::string& Version) {
  TJsonValue queens(K::jkArray), methods(K::jkArray);
  for (int32_t n : Design.Queens) queens.Items.push_back(Number(n));
  for (ga::TGASelectionMethod m : Design.Methods) methods.Items.push_back(String(ga::ToString(m)));
  return {{"queens", queens},
          {"repeats", Number(Design.Repeats)},
          {"generations", Number(Design.Generations)},
          {"seed", Number(Design.Seed)},
          {"streams", String(queens::ToString(Design.Streams))},
          {"methods", methods},
          {"seed_function", String(kSeedFunctionName)},
          {"version", String(Version)}};
}

std::string ExperimentJson(const TExperimentDesign& Design, const std::string& Version, const TRunInfo& Run) {
  std::vector<std::pair<std::string, TJsonValue>> run{{"start", String(Run.Start)},
                                                      {"end", Run.End.empty() ? TJsonValue{} : String(Run.End)},
                                                      {"jobs", Number(Run.Jobs)},
                                                      {"host", String(Run.Host)}};
  if (Run.Ranks > 0) run.emplace_back("ranks", Number(Run.Ranks));
  return "{\n  \"parameters\": " + ObjectLines(Parameters(Design, Version)) + ",\n  \"run\": " + ObjectLines(run) +
         "\n}\n";
}

TStoredExperiment ReadExperimentJson(std::string_view Text) {
  TJsonValue doc;
  try {
    doc = ParseJson(Text);
  } catch (const Exception& e) {
    Bad(e.what());
  }
  const TJsonValue& p = Need(doc, "parameters", K::jkObject);
  TStoredExperiment stored;
  stored.Parameters = p.Members;
  TExperimentDesign& design = stored.Design;
  // The same parsers as the options: a hand-edited file is held to the same rules.
  try {
    std::string queens;
    for (const TJsonValue& n : Need(p, "queens", K::jkArray).Items) queens += (queens.empty() ? "" : ",") + n.Text;
    design.Queens = ParseQueenList(queens);
    design.Repeats = ParsePositive("--repeats", Need(p, "repeats", K::jkNumber).Text);
    design.Generations = ParsePositive("--generations", Need(p, "generations", K::jkNumber).Text);
    design.Seed = ParseSeedOption(Need(p, "seed", K::jkNumber).Text);
    design.Streams = ParseStreams(Need(p, "streams", K::jkString).Text);
    std::string methods;
    for (const TJsonValue& m : Need(p, "methods", K::jkArray).Items) methods += (methods.empty() ? "" : ",") + m.Text;
    design.Methods = ParseMethodList(methods);
  } catch (const TDesignError& e) {
    Bad(e.what());
  }
  return stored;
}

std::vector<std::string> DifferingParameters(const std::vector<std::pair<std::string, TJsonValue>>& Stored,
                                             const std::vector<std::pair<std::string, TJsonValue>>& Given) {
  auto text = [](const auto& Members, const std::string& Key) -> std::string {
    for (const auto& [name, value] : Members)
      if (name == Key) return FormatJson(value);
    return "nothing";
  };
  std::vector<std::string> keys;
  for (const auto& [name, value] : Given) keys.push_back(name);
  for (const auto& [name, value] : Stored)
    if (std::find(keys.begin(), keys.end(), name) == keys.end()) keys.push_back(name);
  std::vector<std::string> differing;
  for (const std::string& key : keys) {
    const std::string a = text(Stored, key), b = text(Given, key);
    if (a != b) differing.push_back(key + " (" + a + " in the folder, " + b + " given)");
  }
  return differing;
}

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

TRecordedRuns ReadRecordedRuns(const std::filesystem::path& Folder) {
  return {ParseRunsCsv(ReadFile(Folder / "runs.csv")), ParseTracesCsv(ReadFile(Folder / "traces.csv"))};
}

std::vector<TOutputFile> AnalysisFiles(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces) {
  std::vector<TOutputFile> files{{"summary.csv", SummaryCsv(Summarize(Rows))},
                                 {"comparisons.csv", ComparisonsCsv(Compare(Rows))}};
  std::vector<TOutputFile> ioh = IohProfilerFiles(Rows, Traces);
  files.insert(files.end(), std::make_move_iterator(ioh.begin()), std::make_move_iterator(ioh.end()));
  return files;
}

std::vector<TRepeatKey> ResumeFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design) {
  const TRecordedRuns recorded = ReadRecordedRuns(Folder);
  const TRecordedRuns complete = KeepCompleteRepeats(recorded, Design.Methods);
  std::set<TRepeatKey> have;
  for (const TRunRow& row : complete.Rows) have.insert({row.Queens, row.Repeat});
  // New rows are appended, so only the complete repeats that lead the key order
  // stay; everything from the first missing repeat on is run again.
  const std::vector<TRepeatKey> keys = RepeatKeys(Design);
  size_t kept = 0;
  while (kept < keys.size() && have.contains(keys[kept])) ++kept;
  const std::set<TRepeatKey> keep(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(kept));

  std::string runs = std::string(kRunsCsvHeader) + "\n";
  for (const TRunRow& row : complete.Rows)
    if (keep.contains({row.Queens, row.Repeat})) runs += FormatRunRow(row) + "\n";
  std::vector<TRunTrace> traces;
  for (const TRunTrace& trace : complete.Traces)
    if (keep.contains({trace.Queens, trace.Repeat})) traces.push_back(trace);
  std::string timing = ReadFile(Folder / "timing.csv");
  if (timing.empty()) timing = std::string(kTimingCsvHeader) + "\n";
  // A line cut short by the interruption is dropped; the times are kept for the record only.
  if (timing.back() != '\n') timing.erase(timing.rfind('\n') + 1);
  WriteOutputFiles(Folder, {{"runs.csv", runs}, {"traces.csv", TracesCsv(traces)}, {"timing.csv", timing}});
  return {keys.begin() + static_cast<std::ptrdiff_t>(kept), keys.end()};
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
    if (file->Handle) std::fclose(file->Handle);
}

void TResultFiles::Write(TFile& File, const std::string& Text) {
  errno = 0;
  if (std::fwrite(Text.data(), 1, Text.size(), File.Handle) != Text.size() || std::fflush(File.Handle) != 0)
    throw Exception("cannot write " + File.Path.string() + ": " + std::strerror(errno ? errno : EIO));
}

TRepeatLines RepeatLines(const TRepeatResult& Result) {
  TRepeatLines lines{Result.Key, "", "", Result.Seconds};
  for (const TRunTrace& trace : Result.Traces) lines.Traces += FormatRunTrace(trace);
  for (const TRunRow& row : Result.Rows) lines.Runs += FormatRunRow(row) + "\n";
  return lines;
}

void TResultFiles::Append(const TRepeatLines& Repeat) {
  // Traces first: a repeat counts as done once its rows are all there.
  Write(traces_, Repeat.Traces);
  Write(runs_, Repeat.Runs);
  Write(timing_, std::to_string(Repeat.Key.Queens) + "," + std::to_string(Repeat.Key.Repeat) + "," +
                     FormatFloat15(Repeat.Seconds) + "\n");
}

void TResultFiles::AppendTimingNote(const std::string& Note) { Write(timing_, "# " + Note + "\n"); }

}  // namespace zp::experiment
