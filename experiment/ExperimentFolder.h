// An experiment's folder: experiment.json (the parameters that --resume
// compares, and when and where it ran), and runs.csv, traces.csv and
// timing.csv, appended one repeat at a time in key order and flushed, so that
// an interrupted experiment leaves whole rows that a resumed one goes on from.
//
//   TResultFiles files(folder);              // after StartFolder or ResumeFolder
//   files.Append(result);                    // raises Exception on a failed write
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentJson.h"
#include "experiment/OutputFiles.h"
#include "experiment/RecordedRuns.h"
#include "experiment/Runner.h"

namespace zp::experiment {

// The program's version, with the git commit it was configured from.
const char* ProgramVersion();

// Now as UTC ISO 8601 ("2024-05-01T12:00:00Z").
std::string UtcNow();

// A new experiment: the three CSV files with their headers only.
void StartFolder(const std::filesystem::path& Folder);

// Goes on from what Folder holds: keeps the rows, traces and times of the
// complete repeats that lead the key order, rewrites runs.csv, traces.csv and
// timing.csv with only them, and returns the repeats still to run. A damaged
// line ends what is kept, and is told to Notes ("runs.csv line 57: ...; the
// files are cut there ..."); only a file without its header raises Exception.
TRepeatList ResumeFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                         std::vector<std::string>* Notes = nullptr);

// A finished repeat as the lines the result files get: what TResultFiles
// appends, and what a process that ran the repeat hands to the one that writes.
struct TRepeatLines {
  TRepeatKey Key;
  std::string Problem;  // the name of Key's problem, for timing.csv
  std::string Runs;     // its runs.csv lines, each "\n"-ended
  std::string Traces;   // its traces.csv lines, "" for none
  double Seconds = 0;   // wall time of the repeat
};
TRepeatLines RepeatLines(const TRepeatResult& Result);

// runs.csv, traces.csv and timing.csv of Folder, open for appending.
class TResultFiles {
 public:
  explicit TResultFiles(const std::filesystem::path& Folder);
  ~TResultFiles();
  TResultFiles(const TResultFiles&) = delete;
  TResultFiles& operator=(const TResultFiles&) = delete;

  // Writes a repeat's traces, rows and time, each file flushed to the system.
  // Raises Exception "cannot write FILE: REASON" (a full disk, say); what was written before stays.
  void Append(const TRepeatResult& Result) { Append(RepeatLines(Result)); }
  void Append(const TRepeatLines& Repeat);

 private:
  struct TFile {
    std::filesystem::path Path;
    std::FILE* Handle = nullptr;
  };
  void Write(TFile& File, const std::string& Text);
  // Puts what was written on disk.
  void Sync();
  TFile runs_, traces_, timing_;
  std::chrono::steady_clock::time_point synced_ = std::chrono::steady_clock::now();
};

}  // namespace zp::experiment
