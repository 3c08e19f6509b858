#include "app/RunWorker.h"

#include <utility>

namespace zp::app {

namespace {

// Events the window may lag behind before the run waits for it: bounds the memory of a
// long run and the time a close takes, as only these are left to show once it stops.
constexpr size_t kMaxQueued = 20000;
// After a batch the window waits this long before taking the next: woken for every
// generation, the window's thread would cost the run more than the generations do.
constexpr int kBatchMs = 10;

}  // namespace

TRunWorker::TRunWorker(QObject& Receiver, IRunView& View) : view_(&View), queue_(Receiver, kBatchMs, kMaxQueued) {}

TRunWorker::~TRunWorker() {
  Stop();
  Wait();
}

void TRunWorker::Start(queens::TQueensWorkbench& Workbench, std::string GenerationText) {
  Wait();
  workbench_ = &Workbench;
  queue_.Hold();
  Workbench.ClearStopRequest();
  Workbench.Attach(*this);
  Workbench.OnLogLine = [this](const std::string& line) { queue_.Post([view = view_, line] { view->OnLog(line); }); };
  thread_ = std::thread([this, text = std::move(GenerationText)] {
    std::exception_ptr error;
    try {
      workbench_->btnRunClick(text);
    } catch (...) {
      error = std::current_exception();
    }
    queue_.Post([view = view_, error] { view->OnRunEnd(error); }, false);
  });
}

void TRunWorker::Stop() {
  if (!workbench_) return;
  workbench_->RequestStop();
  queue_.Release();
}

void TRunWorker::Wait() {
  if (thread_.joinable()) thread_.join();
  if (!workbench_) return;
  workbench_->OnLogLine = nullptr;
  workbench_->Detach(*this);
  workbench_ = nullptr;
}

void TRunWorker::OnCurvesReset(double Cutoff) {
  queue_.Post([view = view_, Cutoff] { view->OnCurvesReset(Cutoff); });
}

void TRunWorker::OnHeading(const queens::TRunHeading& Heading) {
  queue_.Post([view = view_, Heading] { view->OnHeading(Heading); });
}

void TRunWorker::OnGeneration(const queens::TGenerationReport& Report) {
  queue_.Post([view = view_, Report] { view->OnGeneration(Report); });
}

void TRunWorker::OnMethodFinished(const queens::TMethodReport& Report) {
  queue_.Post([view = view_, Report, board = workbench_->Board()] {
    view->OnMethodFinished(Report);
    view->OnBoard(board);
  });
}

}  // namespace zp::app
