#include "experiment/CellReader.h"

#include "platform/Exceptions.h"

namespace zp::experiment {

namespace {

// The cell fields (problem, size, configuration) that start a row of runs.csv or traces.csv.
std::string CellFields(const std::string& Line) {
  size_t comma = 0;
  for (int field = 0; field < 3 && comma != std::string::npos; ++field) comma = Line.find(',', comma + (field > 0));
  return Line.substr(0, comma);
}

}  // namespace

TCellReader::TCellReader(const std::filesystem::path& Folder) {
  Open(runs_, Folder / "runs.csv");
  Open(traces_, Folder / "traces.csv");
}

void TCellReader::Open(TFile& File, const std::filesystem::path& Path) {
  File.In.open(Path, std::ios::binary);
  if (!File.In) throw EFileError(Path.string(), "cannot open the file");
  std::getline(File.In, File.Header);
  std::string line;
  if (std::getline(File.In, line)) File.Pending = line;
}

std::string TCellReader::CellLines(TFile& File, const std::string& Cell) {
  std::string text = File.Header + "\n";
  while (File.Pending && CellFields(*File.Pending) == Cell) {
    text += *File.Pending + "\n";
    std::string line;
    if (std::getline(File.In, line))
      File.Pending = line;
    else
      File.Pending.reset();
  }
  return text;
}

bool TCellReader::Next(TRecordedRuns& Cell) {
  if (!runs_.Pending) return false;
  const std::string cell = CellFields(*runs_.Pending);
  Cell.Rows = ParseRunsCsv(CellLines(runs_, cell));
  // A cell whose runs made no trace line has none; traces of an earlier cell cannot follow.
  Cell.Traces = ParseTracesCsv(CellLines(traces_, cell));
  return true;
}

}  // namespace zp::experiment
