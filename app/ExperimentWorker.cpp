#include "app/ExperimentWorker.h"

#include <memory>
#include <utility>

#include "experiment/Runner.h"

namespace zp::app {

TExperimentWorker::TExperimentWorker(QObject& Receiver, TDeliver Deliver, TEnd End)
    : deliver_(std::move(Deliver)), end_(std::move(End)), queue_(Receiver) {}

TExperimentWorker::~TExperimentWorker() {
  Stop();
  if (thread_.joinable()) thread_.join();
}

namespace {

// Rows and traces of one repeat, read back from its lines and added to Recorded.
void AddRepeat(experiment::TRecordedRuns& Recorded, const experiment::TRepeatLines& Lines) {
  for (experiment::TRunRow& row : experiment::ParseRunsCsv(std::string(experiment::kRunsCsvHeader) + "\n" + Lines.Runs))
    Recorded.Rows.push_back(std::move(row));
  for (experiment::TRunTrace& trace :
       experiment::ParseTracesCsv(std::string(experiment::kTracesCsvHeader) + "\n" + Lines.Traces))
    Recorded.Traces.push_back(std::move(trace));
}

}  // namespace

void TExperimentWorker::Start(const experiment::TExperimentDesign& Design, int Jobs) {
  if (thread_.joinable()) thread_.join();
  stop_ = false;
  thread_ = std::thread([this, Design, Jobs] {
    std::exception_ptr error;
    std::optional<TExperimentAnalysis> analysis;
    try {
      const experiment::TRepeatList keys = experiment::RepeatKeys(Design);
      // Read back as each repeat arrives, so that the rows as the files would hold them are ready at the end.
      TExperimentAnalysis gathered;
      size_t delivered = 0;
      experiment::RunRepeats(Design, keys, Jobs, stop_, [&](experiment::TRepeatResult& result) {
        experiment::TRepeatLines lines = experiment::RepeatLines(result);
        AddRepeat(gathered.Recorded, lines);
        ++delivered;
        queue_.Post([this, repeat = std::move(lines)]() mutable { deliver_(repeat); });
      });
      if (delivered == keys.size()) {
        gathered.Summary = experiment::Summarize(gathered.Recorded.Rows);
        gathered.Comparisons = experiment::Compare(gathered.Recorded.Rows);
        analysis = std::move(gathered);
      }
    } catch (...) {
      error = std::current_exception();
      analysis.reset();
    }
    // The end is the thread's last task: it is about to return.
    queue_.Post([this, error, result = std::make_shared<std::optional<TExperimentAnalysis>>(std::move(analysis))] {
      if (thread_.joinable()) thread_.join();
      end_(error, *result);
    });
  });
}

}  // namespace zp::app
