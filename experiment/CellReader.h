// TCellReader: an experiment's runs.csv and traces.csv read one cell (problem,
// size and configuration) at a time. Both files are in key order, so a cell's lines stand
// together; only one cell's rows are held at once, whatever the experiment's size.
//
//   TCellReader reader(folder);
//   for (TRecordedRuns cell; reader.Next(cell);) Analyse(cell);
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "experiment/RecordedRuns.h"

namespace zp::experiment {

class TCellReader {
 public:
  // Raises Exception naming a file that cannot be opened.
  explicit TCellReader(const std::filesystem::path& Folder);
  // The rows and traces of the next cell; false after the last. Raises
  // Exception as ParseRunsCsv and ParseTracesCsv do for a bad line.
  bool Next(TRecordedRuns& Cell);

 private:
  struct TFile {
    std::ifstream In;
    std::string Header;
    std::optional<std::string> Pending;  // the first line of the next cell
  };
  static void Open(TFile& File, const std::filesystem::path& Path);
  // The lines of File whose cell fields are Cell ("nqueens,8,0"), each "\n"-ended, from Pending on.
  static std::string CellLines(TFile& File, const std::string& Cell);
  TFile runs_, traces_;
};

}  // namespace zp::experiment
