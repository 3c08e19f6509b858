#include "app/ExperimentWorker.h"

#include <memory>
#include <utility>

#include "chart/qt/ChartRender.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/OutputFiles.h"
#include "experiment/Runner.h"

namespace zp::app {

TExperimentWorker::TExperimentWorker(QObject& Receiver, TDeliver Deliver, TEnd End)
    : deliver_(std::move(Deliver)), end_(std::move(End)), queue_(Receiver) {}

TExperimentWorker::~TExperimentWorker() {
  closing_ = true;  // a large folder's statistics would keep the window from closing
  Stop();
  if (thread_.joinable()) thread_.join();
}

void TExperimentWorker::Start(const std::filesystem::path& Folder, const experiment::TExperimentDesign& Design,
                              const experiment::TRepeatList& Todo, int Jobs, const experiment::TRunInfo& Run) {
  if (thread_.joinable()) thread_.join();
  stop_ = false;
  thread_ = std::thread([this, Folder, Design, Todo, Jobs, run = Run]() mutable {
    auto end = std::make_shared<TExperimentEnd>();
    try {
      size_t delivered = 0;
      {
        experiment::TResultFiles files(Folder);
        experiment::RunRepeats(Design, Todo, Jobs, stop_, [&](experiment::TRepeatResult& result) {
          experiment::TRepeatLines lines = experiment::RepeatLines(result);
          files.Append(lines);  // on disk before the window hears of it
          ++delivered;
          queue_.Post([this, repeat = std::move(lines)]() mutable { deliver_(repeat); });
        });
      }
      if (delivered == Todo.size()) {  // a Stop after the last repeat stops nothing
        // The batch's end: statistics, IOHprofiler files and pictures, then the end time.
        const experiment::TFinishedAnalysis analysis = experiment::FinishFolder(
            Folder, Design, [](chart::TZPCustomChartPanel& panel, const std::string& file, int width, int height) {
              chart::SaveChartFile(panel, file, width, height, 1);
            });
        run.End = experiment::UtcNow();
        experiment::WriteOutputFiles(
            Folder, {{"experiment.json", experiment::ExperimentJson(Design, experiment::ProgramVersion(), run)}});
        end->Complete = true;
        end->State.Summary = analysis.Summary;
        end->State.Comparisons = analysis.Comparisons;
        for (const experiment::TSummaryRow& row : analysis.Summary)
          if (end->State.Cells.empty() || end->State.Cells.back() != experiment::CellOf(row))
            end->State.Cells.push_back(experiment::CellOf(row));
        end->State.Repeats = experiment::RepeatKeys(Design).size();
      } else if (!closing_) {
        end->State = experiment::ReadFolderState(Folder, Design);
      }
    } catch (...) {
      end->Error = std::current_exception();
      end->Complete = false;
    }
    // The end is the thread's last task: it is about to return.
    queue_.Post([this, end] {
      if (thread_.joinable()) thread_.join();
      end_(*end);
    });
  });
}

}  // namespace zp::app
