// TExperimentsPage: the window's Experiments page. The user sets up a batch
// experiment (queen counts, repeats, generations, seed, shared random numbers,
// label, jobs) and runs it into a folder on worker threads while the window
// stays responsive; the folder gets exactly what nqueens-ga batch writes, as
// the repeats finish, so that Stop keeps them and Resume goes on. Any
// experiment folder can be opened; the table and the run-length ECDFs are read
// from the folder (live while it runs), the folder can be exported, and a
// row's repeat 0 replays on the main page.
//
//   auto* page = new TExperimentsPage;   // a tab of the window
//   connect(page, &TExperimentsPage::ReplayRequested, ...);
#pragma once

#include <QMap>
#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ExperimentWorker.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/ExperimentRun.h"
#include "experiment/FolderLock.h"
#include "experiment/RecordedRuns.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
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
// comparison run from a fresh workbench with this seed, problem, size, the
// configuration's settings and streams.
struct TRepeatReplay {
  int32_t Queens = 8;  // the size
  int32_t Generations = 100;
  uint32_t Seed = 0;
  queens::TRandomStreams Streams = queens::TRandomStreams::rsContinued;
  queens::TProblemChoice Problem;               // N-Queens unless another is given
  std::vector<queens::TSettingValue> Settings;  // the configuration's values, each set before the problem
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

  // The fields but the seed by name ("queens", "repeats", "sameNumbers", ...), as the settings file keeps them.
  QMap<QString, QString> FieldTexts() const;
  // Fills the fields named in Texts; others keep their text. A remembered run folder
  // that holds an experiment gives way to a new one beside it.
  void SetFieldTexts(const QMap<QString, QString>& Texts);
  // The folder a new experiment runs into.
  QString RunFolder() const;
  void SetRunFolder(const QString& Folder);
  // The folder of the experiment shown (running, stopped or finished); empty for none.
  QString ShownFolder() const;
  // True when the experiment shown has every repeat and its end files.
  bool Complete() const { return complete_; }
  // Repeats of the experiment shown that are in its folder, and in all.
  size_t DoneRepeats() const { return done_repeats_; }
  size_t TotalRepeats() const { return total_repeats_; }

  // Start, Stop and Resume, as the buttons do; Start and Resume do nothing while refused.
  // Start raises Exception when the run folder holds anything.
  void btnStartClick();
  void btnStopClick();
  void btnResumeClick();
  // Shows the experiment in Folder, made by this page, nqueens-ga batch or its MPI
  // front end. Raises Exception naming the folder for one that is none or of an
  // older format; the experiment shown before stays.
  void OpenFolder(const QString& Folder);
  // Copies the shown experiment's folder into Folder (made when missing,
  // refused when it holds anything). Raises Exception.
  void ExportTo(const QString& Folder);

  const TExperimentResults& Results() const { return *results_; }

  // Choose the export folder, the folder to open and the run folder; folder dialogs
  // unless replaced (tests). Empty: cancelled.
  std::function<QString()> ChooseExportFolder;
  // Opens a written report.md; the desktop's viewer unless replaced (tests).
  std::function<void(const QString& File)> OpenReport;
  std::function<QString()> ChooseOpenFolder;
  std::function<QString()> ChooseRunFolder;
  // Shows an error message; a message box unless replaced.
  std::function<void(const QString& Message)> ShowErrorMessage;

 signals:
  void RunningChanged(bool Running);
  void ReplayRequested(const zp::app::TRepeatReplay& Replay);

 private:
  void CreateControls();
  // The rows of fields, the command row, and the results table and ECDF.
  QGridLayout* CreateFields();
  QHBoxLayout* CreateCommands();
  // The table, and the ECDF with its cell list (returned).
  QWidget* CreateResults();
  void ConnectHandlers();
  // Checks every field, shows each complaint beside its field, and enables Start.
  void Validate();
  void UpdateCommands();
  // Runs Todo of design_ into folder_, which is locked and prepared.
  void BeginRun(const experiment::TRepeatList& Todo);
  void Deliver(experiment::TRepeatLines& Repeat);
  void EndExperiment(TExperimentEnd& End);
  void ShowProgress();
  // The table and the ECDF list from the statistics of the folder's whole rows.
  void ShowState(const experiment::TFolderState& State);
  // The table from the cells finished so far and the one being filled.
  void ShowLive();
  void AddCell(const experiment::TCell& Cell);
  void ShowEcdf(int Index);
  void ShowStatus();
  void btnExportClick();
  void btnReportClick();
  // The report of the shown folder into its report/, as nqueens-ga report writes it; raises Exception.
  std::filesystem::path WriteReportFolder();
  void btnOpenClick();
  void btnBrowseClick();
  void Replay(int Row);
  void ShowError(const QString& Message);
  // The page's exception boundary: runs Handler and shows any error it raises.
  void Guarded(const std::function<void()>& Handler) noexcept;

  QLineEdit* edProblems = nullptr;
  QLineEdit* edQueens = nullptr;  // the sizes
  QLineEdit* edEvaluations = nullptr;
  std::array<QLineEdit*, queens::kSettingCount> edSettings{};
  QLineEdit* edRepeats = nullptr;
  QLineEdit* edGenerations = nullptr;
  QLineEdit* edSeed = nullptr;
  QLineEdit* edJobs = nullptr;
  QLineEdit* edLabel = nullptr;
  QLineEdit* edFolder = nullptr;
  QCheckBox* cbSameNumbers = nullptr;
  QLabel* lblProblemsError = nullptr;
  QLabel* lblEvaluationsError = nullptr;
  QLabel* lblSettingsError = nullptr;
  QLabel* lblDesignError = nullptr;
  QLabel* lblQueensError = nullptr;
  QLabel* lblRepeatsError = nullptr;
  QLabel* lblGenerationsError = nullptr;
  QLabel* lblSeedError = nullptr;
  QLabel* lblJobsError = nullptr;
  QLabel* lblLabelError = nullptr;
  QLabel* lblFolderError = nullptr;
  QPushButton* btnBrowse = nullptr;
  QPushButton* btnStart = nullptr;
  QPushButton* btnStop = nullptr;
  QPushButton* btnResume = nullptr;
  QPushButton* btnOpen = nullptr;
  QPushButton* btnExport = nullptr;
  QPushButton* btnReport = nullptr;
  QLabel* lblFolderShown = nullptr;
  QProgressBar* pbRows = nullptr;
  QLabel* lblRate = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTableView* tvResults = nullptr;
  QComboBox* cbEcdfQueens = nullptr;
  chart::TZPChartWidget* EcdfChart = nullptr;
  QTimer* progress_timer_ = nullptr;

  TExperimentResults* results_ = nullptr;  // owned by the page
  bool valid_ = false;
  std::optional<experiment::TExperimentDesign> checked_;  // what the fields describe, once valid
  bool main_run_going_ = false;

  // The experiment shown: going, stopped or finished.
  std::filesystem::path folder_;  // empty: none shown
  experiment::TExperimentDesign design_;
  int jobs_ = 1;
  std::string run_start_;  // UTC, as experiment.json's run part gives it
  std::chrono::steady_clock::time_point started_;
  size_t total_repeats_ = 0, done_repeats_ = 0, session_repeats_ = 0;
  bool complete_ = false;
  bool failed_ = false;
  std::unique_ptr<experiment::TFolderLock> lock_;  // held while the experiment runs
  // Live results: the summaries of the cells finished, the rows of the one being filled.
  std::vector<experiment::TSummaryRow> live_done_;
  experiment::TCell live_cell_;
  std::vector<experiment::TRunRow> live_rows_;
  bool live_dirty_ = false;
  bool ecdf_picked_ = false;              // the user chose the ECDF's cell: it no longer follows the run
  std::vector<experiment::TCell> cells_;  // the ECDF list's cells
  std::unique_ptr<experiment::TEcdfChart> ecdf_;

  // Declared last: its destructor stops and waits for the threads before anything else goes.
  TExperimentWorker worker_;
};

}  // namespace zp::app
