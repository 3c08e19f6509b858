#include "experiment/FinishedExperiment.h"

#include <future>

#include "experiment/Ecdf.h"
#include "experiment/OutputFiles.h"

namespace zp::experiment {

TRecordedRuns FinishFolder(const std::filesystem::path& Folder, const TExperimentDesign& Design,
                           const TPictureWriter& Draw) {
  TRecordedRuns recorded = ReadRecordedRuns(Folder);
  // The analysis files and the pictures come from the same rows and share
  // nothing else, so the files are written while the caller's thread draws
  // (a failed picture still waits for them: the future's end waits).
  std::future<void> analysis = std::async(
      std::launch::async, [&] { WriteOutputFiles(Folder, AnalysisFiles(Design, recorded.Rows, recorded.Traces)); });
  for (const int32_t n : Design.Queens) {
    TEcdfChart chart(recorded.Rows, n, Design.Generations);
    for (const char* type : {"png", "svg"})
      Draw(chart.Panel(), (Folder / ("ecdf-" + std::to_string(n) + "." + type)).string(), kEcdfWidth, kEcdfHeight);
  }
  analysis.get();
  return recorded;
}

void WriteExperimentFolder(const std::filesystem::path& Folder, const TExperimentDesign& Given, const TRunInfo& Run,
                           std::span<const TRepeatLines> Repeats, const TPictureWriter& Draw) {
  TExperimentDesign design = Given;
  if (design.Label.empty()) design.Label = DefaultLabel(Folder.string());
  StartFolder(Folder);
  {
    TResultFiles files(Folder);
    for (const TRepeatLines& repeat : Repeats) files.Append(repeat);
  }
  FinishFolder(Folder, design, Draw);
  WriteOutputFiles(Folder, {{"experiment.json", ExperimentJson(design, ProgramVersion(), Run)}});
}

}  // namespace zp::experiment
