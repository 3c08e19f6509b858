// TExperimentsPage: the window's Experiments page. The user sets up a batch
// experiment (queen counts, repeats, generations, seed, shared random numbers,
// jobs), runs it on worker threads while the window stays responsive, reads
// the results table and each queen count's run-length ECDF, exports the whole
// folder nqueens-ga batch writes, and replays a row's repeat 0 on the main page.
//
//   auto* page = new TExperimentsPage;   // a tab of the window
//   connect(page, &TExperimentsPage::ReplayRequested, ...);
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ExperimentWorker.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/RecordedRuns.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QTimer;

namespace zp::experiment {
class TEcdfChart;
}
namespace zp::chart {
class TZPChartWidget;
}

namespace zp::app {

class TExperimentResults;

// What the main page needs to run a repeat again: the batch's repeat is a
// comparison run from a fresh workbench with this seed, queen count and streams.
struct TRepeatReplay {
  int32_t Queens = 8;
  int32_t Generations = 100;
  uint32_t Seed = 0;
  queens::TRandomStreams Streams = queens::TRandomStreams::rsContinued;
};

class TExperimentsPage : public QWidget {
  Q_OBJECT

 public:
  explicit TExperimentsPage(QWidget* Parent = nullptr);
  // Stops an experiment still going and waits for its threads.
  ~TExperimentsPage() override;

  // Fills the seed field (a remembered setting, say).
  void SetSeed(uint32_t Seed);
  // The seed field's value; empty while it holds no valid seed.
  std::optional<uint32_t> Seed() const;
  // True from Start until the experiment has ended.
  bool Running() const { return worker_.Running(); }
  // While the main page runs, Start is refused.
  void SetMainRunGoing(bool Going);
  // The experiment the fields describe, or the first field's complaint.
  std::optional<experiment::TExperimentDesign> Design() const;
  int Jobs() const;

  // Start and Stop, as the buttons do; Start does nothing while refused.
  void btnStartClick();
  void btnStopClick();
  // Writes the finished experiment's whole folder into Folder (made when
  // missing, refused when it holds anything). Raises Exception.
  void ExportTo(const QString& Folder);

  const TExperimentResults& Results() const { return *results_; }
  // The rows of the finished experiment, as its runs.csv holds them.
  const experiment::TRecordedRuns& Recorded() const { return recorded_; }

  // Chooses the export folder; a folder dialog unless replaced (tests). Empty: cancelled.
  std::function<QString()> ChooseExportFolder;
  // Shows an error message; a message box unless replaced.
  std::function<void(const QString& Message)> ShowErrorMessage;

 signals:
  void RunningChanged(bool Running);
  void ReplayRequested(const zp::app::TRepeatReplay& Replay);

 private:
  void CreateControls();
  // The rows of fields, the command row, and the results table over the ECDF.
  QGridLayout* CreateFields();
  QHBoxLayout* CreateCommands();
  QSplitter* CreateResults();
  void ConnectHandlers();
  // Checks every field, shows each complaint beside its field, and enables Start.
  void Validate();
  void UpdateCommands();
  void Deliver(experiment::TRepeatLines& Repeat);
  void EndExperiment(const std::exception_ptr& Error, std::optional<TExperimentAnalysis>& Analysis);
  void ShowProgress();
  void ShowResults(TExperimentAnalysis& Analysis);
  void ShowEcdf(int Index);
  void btnExportClick();
  void Replay(int Row);
  void ShowError(const QString& Message);
  // The page's exception boundary: runs Handler and shows any error it raises.
  void Guarded(const std::function<void()>& Handler) noexcept;

  QLineEdit* edQueens = nullptr;
  QLineEdit* edRepeats = nullptr;
  QLineEdit* edGenerations = nullptr;
  QLineEdit* edSeed = nullptr;
  QLineEdit* edJobs = nullptr;
  QCheckBox* cbSameNumbers = nullptr;
  QLabel* lblQueensError = nullptr;
  QLabel* lblRepeatsError = nullptr;
  QLabel* lblGenerationsError = nullptr;
  QLabel* lblSeedError = nullptr;
  QLabel* lblJobsError = nullptr;
  QPushButton* btnStart = nullptr;
  QPushButton* btnStop = nullptr;
  QPushButton* btnExport = nullptr;
  QProgressBar* pbRows = nullptr;
  QLabel* lblRate = nullptr;
  QTableView* tvResults = nullptr;
  QComboBox* cbEcdfQueens = nullptr;
  chart::TZPChartWidget* EcdfChart = nullptr;
  QTimer* progress_timer_ = nullptr;

  TExperimentResults* results_ = nullptr;  // owned by the page
  bool valid_ = false;
  bool main_run_going_ = false;

  // The experiment going or last finished.
  experiment::TExperimentDesign design_;
  int jobs_ = 1;
  std::string start_, end_;
  std::chrono::steady_clock::time_point started_;
  std::vector<experiment::TRepeatLines> repeats_;
  size_t total_repeats_ = 0;
  bool finished_ = false;  // every repeat arrived: results shown, Export possible
  experiment::TRecordedRuns recorded_;
  std::unique_ptr<experiment::TEcdfChart> ecdf_;

  // Declared last: its destructor stops and waits for the threads before anything else goes.
  TExperimentWorker worker_;
};

}  // namespace zp::app
