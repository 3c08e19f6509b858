#include "app/ExperimentsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ExperimentResults.h"
#include "app/ExperimentsPageSupport.h"
#include "app/RunGuards.h"
#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartRender.h"
#include "chart/qt/ChartWidget.h"
#include "experiment/Comparisons.h"
#include "experiment/Ecdf.h"
#include "experiment/ExperimentJson.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/Report.h"
#include "experiment/ReportFolder.h"
#include "experiment/Summary.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

namespace {

using namespace zp::experiment;
using namespace experiments_page;

namespace fs = std::filesystem;

// More worker threads than this only share the same cores.
constexpr int kMaxJobs = 256;

// "1,234,567": the same in every locale, as the progress reads elsewhere.
QString Grouped(int64_t Value) {
  QString digits = QString::number(Value);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  return digits;
}

fs::path LocalPath(const QString& Folder) { return fs::path(QFile::encodeName(Folder).toStdString()); }

// What a field holds, spaces around it aside.
std::string FieldText(const QLineEdit& Field) { return Field.text().trimmed().toStdString(); }

// Shows Message under its field, or hides the label for none; true when none.
bool Report(QLabel& Label, QLineEdit& Field, const QString& Message) {
  Label.setText(Message);
  Label.setVisible(!Message.isEmpty());
  Field.setProperty("invalid", !Message.isEmpty());
  return Message.isEmpty();
}

}  // namespace

TExperimentsPage::TExperimentsPage(QWidget* Parent)
    : QWidget(Parent),
      results_(new TExperimentResults(this)),
      worker_(
          *this, [this](TRepeatLines& repeat) { Guarded([&] { Deliver(repeat); }); },
          [this](TExperimentEnd& end) { Guarded([&] { EndExperiment(end); }); }) {
  setObjectName(QStringLiteral("tsExperiments"));
  // A dialog that can make the folder it returns: Export and a new run want a new one.
  ChooseExportFolder = [this] {
    return QFileDialog::getExistingDirectory(this, tr("Export the experiment into a new or empty folder"));
  };
  ChooseOpenFolder = [this] {
    return QFileDialog::getExistingDirectory(this, tr("Open an experiment folder"), ShownFolder());
  };
  ChooseRunFolder = [this] {
    return QFileDialog::getExistingDirectory(this, tr("Run the experiment into a new or empty folder"),
                                             QFileInfo(RunFolder()).absolutePath());
  };
  ShowErrorMessage = [this](const QString& message) {
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), message);
  };
  CreateControls();
  ConnectHandlers();
  Validate();
}

TExperimentsPage::~TExperimentsPage() {
  // The chart widget lets go of the ECDF's panel before the chart goes.
  if (EcdfChart) EcdfChart->SetPanel(nullptr);
}

void TExperimentsPage::SetSeed(uint32_t Seed) { edSeed->setText(QString::number(Seed)); }

std::optional<uint32_t> TExperimentsPage::Seed() const {
  try {
    return ParseSeedOption(FieldText(*edSeed));
  } catch (const TDesignError&) {
    return std::nullopt;
  }
}

std::optional<TExperimentDesign> TExperimentsPage::Design() const {
  if (!valid_ || !checked_) return std::nullopt;
  TExperimentDesign design = *checked_;
  design.Seed = ParseSeedOption(FieldText(*edSeed));
  design.Streams = cbSameNumbers->isChecked() ? queens::TRandomStreams::rsShared : queens::TRandomStreams::rsContinued;
  const std::string label = FieldText(*edLabel);
  design.Label = label.empty() ? DefaultLabel(FieldText(*edFolder)) : ParseLabel(label);
  return design;
}

int TExperimentsPage::Jobs() const { return ParsePositive("--jobs", FieldText(*edJobs)); }

void TExperimentsPage::Validate() {
  TExperimentDesign design;
  // The field's complaint without the option's name, which the field's label gives.
  auto check = [](QLabel* label, QLineEdit* field, auto parse) {
    try {
      parse(FieldText(*field));
      return Report(*label, *field, {});
    } catch (const TDesignError& e) {
      return Report(*label, *field, QString::fromStdString(e.Message()));
    }
  };
  const bool problems_valid =
      check(lblProblemsError, edProblems, [&](const std::string& t) { design.Problems = ParseProblemList(t); });
  const bool queens_only = design.Problems.size() == 1 && design.Problems[0].Kind == queens::TProblemKind::pkNQueens;
  const bool queens_valid = check(lblQueensError, edQueens, [&](const std::string& t) {
    design.Sizes = queens_only ? ParseQueenList(t) : ParseSizeList("--sizes", t);
    if (problems_valid) CheckSizes(design, "--sizes");
  });
  bool valid = problems_valid && queens_valid;
  valid &= check(lblRepeatsError, edRepeats, [&](const std::string& t) {
    design.Repeats = ParsePositive("--repeats", t);
    if (queens_valid && design.RowCount() > kMaxRows)
      throw TDesignError("--repeats", "at most " + std::to_string(kMaxRows / (design.RowCount() / design.Repeats)) +
                                          " for these queen counts (" + Grouped(kMaxRows).toStdString() +
                                          " rows, as nqueens-ga batch)");
  });
  valid &= check(lblGenerationsError, edGenerations,
                 [&](const std::string& t) { design.Generations = ParsePositive("--generations", t); });
  valid &= check(lblEvaluationsError, edEvaluations, [&](const std::string& t) {
    if (t.empty()) return;
    design.Evaluations = ParseEvaluations(t);
    // A budget in evaluations leaves the generations at the default, as nqueens-ga batch --evaluations does.
    design.Generations = TExperimentDesign().Generations;
  });
  // The setting lists share one line for their complaint, which names the setting.
  QString settings_complaint;
  for (size_t i = 0; i < queens::kSettingCount; ++i) {
    try {
      const std::string text = FieldText(*edSettings[i]);
      design.Settings[i] = text.empty() ? std::vector<queens::TSettingValue>{}
                                        : ParseSettingList(static_cast<queens::TSettingName>(i), text);
      edSettings[i]->setProperty("invalid", false);
    } catch (const TDesignError& e) {
      if (settings_complaint.isEmpty()) settings_complaint = QString::fromStdString(e.what());
      edSettings[i]->setProperty("invalid", true);
    }
  }
  lblSettingsError->setText(settings_complaint);
  lblSettingsError->setVisible(!settings_complaint.isEmpty());
  valid &= settings_complaint.isEmpty();
  // The whole design: configurations, rows and budgets together.
  QString design_complaint;
  if (valid) try {
      CheckConfigurations(design);
      CheckGenerationWork(design, "--sizes");
    } catch (const TDesignError& e) {
      design_complaint = QString::fromStdString(e.what());
    }
  lblDesignError->setText(design_complaint);
  lblDesignError->setVisible(!design_complaint.isEmpty());
  valid &= design_complaint.isEmpty();
  valid &= check(lblSeedError, edSeed, [](const std::string& t) { ParseSeedOption(t); });
  valid &= check(lblJobsError, edJobs, [](const std::string& t) {
    if (ParsePositive("--jobs", t) > kMaxJobs) throw TDesignError("--jobs", "at most " + std::to_string(kMaxJobs));
  });
  valid &= check(lblLabelError, edLabel, [](const std::string& t) {
    if (!t.empty()) (void)ParseLabel(t);
  });
  valid &= check(lblFolderError, edFolder, [](const std::string& t) {
    if (t.empty()) throw TDesignError("--out", "no folder given");
  });
  valid_ = valid;
  checked_ = valid ? std::optional<TExperimentDesign>(design) : std::nullopt;
  // Until an experiment starts, the bar tells how large the one set up is.
  if (!Running() && folder_.empty())
    pbRows->setFormat(valid ? tr("%1 rows to run").arg(Grouped(design.RowCount())) : QString());
  UpdateCommands();
}

void TExperimentsPage::SetMainRunGoing(bool Going) {
  main_run_going_ = Going;
  UpdateCommands();
}

void TExperimentsPage::UpdateCommands() {
  const bool running = Running();
  btnStart->setEnabled(valid_ && !running && !main_run_going_);
  btnStart->setToolTip(main_run_going_ ? tr("The main page is running") : QString());
  btnStop->setEnabled(running);
  btnResume->setEnabled(!folder_.empty() && !complete_ && !running && !main_run_going_);
  btnOpen->setEnabled(!running);
  btnExport->setEnabled(!folder_.empty() && !running);
  btnReport->setEnabled(!folder_.empty() && !running);
  for (QWidget* w : std::initializer_list<QWidget*>{edProblems, edQueens, edRepeats, edGenerations, edEvaluations,
                                                    edSeed, edJobs, edLabel, edFolder, btnBrowse, cbSameNumbers})
    w->setEnabled(!running);
  for (QLineEdit* field : edSettings) field->setEnabled(!running);
  edGenerations->setEnabled(!running && edEvaluations->text().trimmed().isEmpty());
}

// --- running ---

namespace {

// The remembered fields: the settings file's names for them, without the "ed" of the object names.
QString FieldKey(const QLineEdit& Field) {
  QString key = Field.objectName().mid(2);
  key[0] = key[0].toLower();
  return key;
}

}  // namespace

QMap<QString, QString> TExperimentsPage::FieldTexts() const {
  QMap<QString, QString> texts;
  for (const QLineEdit* field : findChildren<QLineEdit*>())
    if (field->objectName().startsWith(QLatin1String("ed")) && field != edSeed) texts[FieldKey(*field)] = field->text();
  texts[QStringLiteral("sameNumbers")] = cbSameNumbers->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
  return texts;
}

void TExperimentsPage::SetFieldTexts(const QMap<QString, QString>& Texts) {
  for (QLineEdit* field : findChildren<QLineEdit*>())
    if (field->objectName().startsWith(QLatin1String("ed")) && field != edSeed && Texts.contains(FieldKey(*field)))
      field->setText(Texts[FieldKey(*field)]);
  if (Texts.contains(QStringLiteral("sameNumbers")))
    cbSameNumbers->setChecked(Texts[QStringLiteral("sameNumbers")] == QLatin1String("true"));
  const QString folder = RunFolder();
  if (!folder.isEmpty() && QFileInfo::exists(folder) && !FolderEmpty(LocalPath(folder)))
    SetRunFolder(NewFolderIn(QFileInfo(folder).absolutePath()));
}

QString TExperimentsPage::RunFolder() const { return edFolder->text().trimmed(); }

void TExperimentsPage::SetRunFolder(const QString& Folder) { edFolder->setText(Folder); }

QString TExperimentsPage::ShownFolder() const { return folder_.empty() ? QString() : Shown(folder_); }

void TExperimentsPage::btnBrowseClick() {
  const QString folder = ChooseRunFolder ? ChooseRunFolder() : QString();
  if (!folder.isEmpty()) SetRunFolder(folder);
}

void TExperimentsPage::btnStartClick() {
  std::optional<TExperimentDesign> design = Design();
  if (!design || Running() || main_run_going_) return;
  const fs::path folder = LocalPath(RunFolder());
  CheckConfigurations(*design);
  CheckGenerationWork(*design, "--sizes");
  // Locked first (which makes a missing folder), so that no other run writes into it meanwhile.
  auto lock = std::make_unique<TFolderLock>(folder);
  if (!FolderEmpty(folder))
    throw Exception("'" + folder.string() +
                    "' is not empty: choose a new or empty folder, or open it to see or resume its experiment");
  run_start_ = UtcNow();  // experiment.json says the same start now and at the end
  const TRepeatList todo = PrepareExperimentFolder(
      folder, *design, {run_start_, "", Jobs(), QSysInfo::machineHostName().toStdString()}, false);
  design_ = *design;
  jobs_ = Jobs();
  folder_ = folder;
  lock_ = std::move(lock);
  ShowState({});
  tabs_->setCurrentIndex(1);
  BeginRun(todo);
  // The next experiment goes into a new folder beside this one.
  SetRunFolder(NewFolderIn(QFileInfo(Shown(folder_)).absolutePath()));
}

void TExperimentsPage::btnResumeClick() {
  if (folder_.empty() || complete_ || Running() || main_run_going_) return;
  auto lock = std::make_unique<TFolderLock>(folder_);
  const TStoredExperiment stored = ReadExperimentFolder(folder_);
  // The batch refuses to go on with an experiment another version began: its rows could differ.
  const std::vector<std::string> differing =
      DifferingParameters(stored.Parameters, Parameters(stored.Design, ProgramVersion()));
  if (!differing.empty()) {
    std::string list;
    for (const std::string& d : differing) list += (list.empty() ? "" : ", ") + d;
    throw Exception("The experiment in '" + folder_.string() + "' cannot be resumed: it differs in " + list);
  }
  design_ = stored.Design;
  jobs_ = valid_ ? Jobs() : HardwareJobs();
  lock_ = std::move(lock);
  std::vector<std::string> notes;
  run_start_ = UtcNow();
  const TRepeatList todo = PrepareExperimentFolder(
      folder_, design_, {run_start_, "", jobs_, QSysInfo::machineHostName().toStdString()}, true, &notes);
  ShowState(ReadFolderState(folder_, design_));
  // The last cell in the folder may be the one the run goes on filling.
  if (!cells_.empty()) {
    live_cell_ = cells_.back();
    live_rows_ = ReadCellRows(folder_, live_cell_);
    live_done_.clear();
    for (const TSummaryRow& row : results_->Summary())
      if (CellOf(row) != live_cell_) live_done_.push_back(row);
  }
  tabs_->setCurrentIndex(1);
  BeginRun(todo);
}

void TExperimentsPage::BeginRun(const TRepeatList& Todo) {
  total_repeats_ = RepeatKeys(design_).size();
  done_repeats_ = total_repeats_ - Todo.size();
  session_repeats_ = 0;
  complete_ = false;
  failed_ = false;
  ecdf_picked_ = false;
  pbRows->setRange(0, static_cast<int>(std::min<size_t>(total_repeats_, INT32_MAX)));
  started_ = std::chrono::steady_clock::now();
  worker_.Start(folder_, design_, Todo, jobs_, {run_start_, "", jobs_, QSysInfo::machineHostName().toStdString()});
  progress_timer_->start();
  ShowProgress();
  UpdateCommands();
  emit RunningChanged(true);
}

void TExperimentsPage::btnStopClick() { worker_.Stop(); }

void TExperimentsPage::Deliver(TRepeatLines& Repeat) {
  std::vector<TRunRow> rows = ParseRunsCsv(std::string(kRunsCsvHeader) + "\n" + Repeat.Runs);
  ++done_repeats_;
  ++session_repeats_;
  if (rows.empty()) return;
  const TCell cell = CellOf(rows.front());
  if (cell != live_cell_ || live_rows_.empty()) {
    // Repeats arrive in key order: the cell before is finished.
    if (!live_rows_.empty()) {
      const std::vector<TSummaryRow> summary = Summarize(live_rows_);
      live_done_.insert(live_done_.end(), summary.begin(), summary.end());
      live_rows_.clear();
    }
    live_cell_ = cell;
    AddCell(cell);
  }
  live_rows_.insert(live_rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  live_dirty_ = true;  // shown by the progress timer
}

void TExperimentsPage::AddCell(const TCell& Cell) {
  if (std::find(cells_.begin(), cells_.end(), Cell) != cells_.end()) return;
  cells_.push_back(Cell);
  const auto chosen = queens::ParseProblemName(Cell.Problem);
  QString caption = QString::fromStdString(chosen ? chosen->Caption(Cell.Size) : Cell.Problem);
  if (design_.ConfigCount() > 1) caption += tr(", configuration %1").arg(Cell.Config);
  const QSignalBlocker quiet(cbEcdfQueens);
  cbEcdfQueens->addItem(caption);
}

void TExperimentsPage::ShowLive() {
  std::vector<TSummaryRow> summary = live_done_;
  const std::vector<TSummaryRow> current = Summarize(live_rows_);
  summary.insert(summary.end(), current.begin(), current.end());
  results_->SetResults(std::move(summary), {});
  // The ECDF follows the cell being filled unless the user chose another.
  const int live = static_cast<int>(std::find(cells_.begin(), cells_.end(), live_cell_) - cells_.begin());
  if (!ecdf_picked_ && cbEcdfQueens->currentIndex() != live) {
    const QSignalBlocker quiet(cbEcdfQueens);
    cbEcdfQueens->setCurrentIndex(live);
  }
  if (cbEcdfQueens->currentIndex() == live) ShowEcdf(live);
  live_dirty_ = false;
}

void TExperimentsPage::ShowProgress() {
  if (live_dirty_) ShowLive();
  ShowStatus();
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  const double rate = elapsed > 0 ? static_cast<double>(session_repeats_ * design_.Methods.size()) / elapsed : 0;
  QString left = QStringLiteral("?");
  if (session_repeats_ > 0)
    left = QString::fromStdString(ClockText(elapsed / static_cast<double>(session_repeats_) *
                                            static_cast<double>(total_repeats_ - done_repeats_)));
  lblRate->setText(tr("%1 rows/s, %2 left").arg(QString::fromStdString(FormatFixed(rate, 1)), left));
}

void TExperimentsPage::ShowStatus() {
  pbRows->setRange(0, static_cast<int>(std::min<size_t>(std::max<size_t>(total_repeats_, 1), INT32_MAX)));
  pbRows->setValue(static_cast<int>(std::min<size_t>(done_repeats_, INT32_MAX)));
  // Short, to read whole in its corner; the label beside it says the rest.
  pbRows->setFormat(QStringLiteral("%1/%2").arg(Grouped(static_cast<int64_t>(done_repeats_)),
                                                Grouped(static_cast<int64_t>(total_repeats_))));
  lblFolderShown->setText(folder_.empty() ? QString() : tr("Folder: %1").arg(Shown(folder_)));
  if (Running()) return;
  if (complete_)
    lblRate->setText(tr("finished: %1 repeats").arg(Grouped(static_cast<int64_t>(total_repeats_))));
  else if (failed_)
    lblRate->setText(tr("failed after %1 of %2 repeats").arg(done_repeats_).arg(total_repeats_));
  else if (!folder_.empty())
    lblRate->setText(tr("stopped after %1 of %2 repeats").arg(done_repeats_).arg(total_repeats_));
}

void TExperimentsPage::EndExperiment(TExperimentEnd& End) {
  progress_timer_->stop();
  lock_.reset();
  live_dirty_ = false;
  live_rows_.clear();
  live_done_.clear();
  complete_ = End.Complete;
  failed_ = static_cast<bool>(End.Error);
  if (!End.Error || !End.State.Summary.empty()) {
    done_repeats_ = End.State.Repeats;
    Guarded([&] { ShowState(End.State); });
  }
  ShowStatus();
  if (complete_) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    lblRate->setText(tr("done in %1").arg(QString::fromStdString(ClockText(seconds))));
  }
  UpdateCommands();
  emit RunningChanged(false);
  if (End.Error) Guarded([&] { std::rethrow_exception(End.Error); });
}

void TExperimentsPage::ShowState(const TFolderState& State) {
  results_->SetResults(State.Summary, State.Comparisons);
  cells_.clear();
  {
    const QSignalBlocker quiet(cbEcdfQueens);
    cbEcdfQueens->clear();
  }
  EcdfChart->SetPanel(nullptr);
  ecdf_.reset();
  for (const TCell& cell : State.Cells) AddCell(cell);
  if (!cells_.empty()) {
    const QSignalBlocker quiet(cbEcdfQueens);
    cbEcdfQueens->setCurrentIndex(0);
  }
  if (!cells_.empty()) ShowEcdf(0);
}

void TExperimentsPage::ShowEcdf(int Index) {
  if (Index < 0 || static_cast<size_t>(Index) >= cells_.size() || folder_.empty()) return;
  const TCell& cell = cells_[static_cast<size_t>(Index)];
  // The cell being filled is in memory; the others are read from the folder, one at a time.
  const std::vector<TRunRow> rows = Running() && cell == live_cell_ ? live_rows_ : ReadCellRows(folder_, cell);
  const queens::TGASettings settings = design_.SettingsFor(cell.Config, cell.Size);
  // With an evaluation budget the axis counts evaluations, as in the folder's pictures.
  const int32_t per_generation = design_.Evaluations ? settings.Population.value_or(4 * cell.Size) : 0;
  const auto chosen = queens::ParseProblemName(cell.Problem);
  auto chart = std::make_unique<TEcdfChart>(rows, cell, settings.Generations,
                                            EcdfHeader(chosen ? chosen->Caption(cell.Size) : cell.Problem, cell.Config),
                                            per_generation);
  EcdfChart->SetPanel(&chart->Panel());
  ecdf_ = std::move(chart);
}

// --- open, export and replay ---

void TExperimentsPage::btnOpenClick() {
  const QString folder = ChooseOpenFolder ? ChooseOpenFolder() : QString();
  if (folder.isEmpty()) return;
  Guarded([&] {
    TWaitCursor hourglass;
    OpenFolder(folder);
  });
}

void TExperimentsPage::OpenFolder(const QString& Folder) {
  if (Running()) throw Exception("An experiment is running: stop it first");
  const fs::path folder = LocalPath(Folder);
  const TStoredExperiment stored = ReadExperimentFolder(folder);
  const TFolderState state = ReadFolderState(folder, stored.Design);
  folder_ = folder;
  design_ = stored.Design;
  total_repeats_ = RepeatKeys(design_).size();
  done_repeats_ = state.Repeats;
  complete_ = done_repeats_ >= total_repeats_ && fs::exists(folder / "summary.csv");
  failed_ = false;
  ShowState(state);
  tabs_->setCurrentIndex(1);
  ShowStatus();
  UpdateCommands();
}

void TExperimentsPage::btnExportClick() {
  const QString folder = ChooseExportFolder ? ChooseExportFolder() : QString();
  if (folder.isEmpty()) return;
  Guarded([&] {
    TWaitCursor hourglass;
    ExportTo(folder);
  });
}

void TExperimentsPage::btnReportClick() {
  Guarded([&] {
    TWaitCursor hourglass;
    const fs::path report = WriteReportFolder();
    const QString markdown = QString::fromStdString((report / "report.md").string());
    if (OpenReport)
      OpenReport(markdown);
    else
      QDesktopServices::openUrl(QUrl::fromLocalFile(markdown));
  });
}

std::filesystem::path TExperimentsPage::WriteReportFolder() {
  if (folder_.empty() || Running()) throw Exception("There is no finished experiment to report on");
  const fs::path out = folder_ / "report";
  // The report refuses an unfinished or locked folder by name; its pictures are drawn as the batch's.
  experiment::WriteReport(folder_, out,
                          [](chart::TZPCustomChartPanel& panel, const std::string& file, int width, int height) {
                            if (file.ends_with(".pdf"))
                              chart::SaveChartPdf(panel, file, width, height);
                            else
                              chart::SaveChartFile(panel, file, width, height);
                          });
  return out;
}

void TExperimentsPage::ExportTo(const QString& Folder) {
  if (folder_.empty() || Running()) throw Exception("There is no experiment to export");
  const fs::path target = LocalPath(Folder);
  std::error_code ec;
  // Another experiment's files would mix with this one's (an ECDF of another queen count, say).
  if (fs::exists(target, ec) && !FolderEmpty(target))
    throw Exception("'" + target.string() + "' is not empty: choose an empty or a new folder");
  if (fs::weakly_canonical(target, ec) == fs::weakly_canonical(folder_, ec))
    throw Exception("'" + target.string() + "' is the experiment's own folder");
  if (!fs::create_directories(target, ec) && !fs::is_directory(target))
    throw Exception("cannot make the folder '" + target.string() + "': " + ec.message());
  for (auto it = fs::recursive_directory_iterator(folder_); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path relative = fs::relative(it->path(), folder_);
    if (relative == kLockFileName) continue;  // the lock belongs to the folder, not to its experiment
    if (it->is_directory())
      fs::create_directories(target / relative);
    else if (!fs::copy_file(it->path(), target / relative, fs::copy_options::overwrite_existing, ec))
      throw Exception("cannot copy '" + it->path().string() + "' to '" + (target / relative).string() +
                      "': " + ec.message());
  }
}

void TExperimentsPage::Replay(int Row) {
  const std::vector<TSummaryRow>& summary = results_->Summary();
  if (Row < 0 || static_cast<size_t>(Row) >= summary.size() || Running()) return;
  const TSummaryRow& row = summary[static_cast<size_t>(Row)];
  const auto chosen = queens::ParseProblemName(row.Problem);
  if (!chosen) return;
  TRepeatReplay replay{row.Size,
                       design_.SettingsFor(row.Config, row.Size).Generations,
                       RepeatSeed(design_.Seed, *chosen, row.Size, 0),
                       design_.Streams,
                       *chosen,
                       {}};
  // The configuration's values, as the set lines of a replay in the script tool give them.
  const auto places = design_.ConfigPlaces(row.Config);
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    if (!design_.Settings[i].empty()) replay.Settings.push_back(design_.Settings[i][places[i]]);
  emit ReplayRequested(replay);
}

void TExperimentsPage::ShowError(const QString& Message) {
  if (ShowErrorMessage) ShowErrorMessage(Message);
}

void TExperimentsPage::Guarded(const std::function<void()>& Handler) noexcept {
  try {
    try {
      Handler();
    } catch (const std::exception& e) {
      ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
      ShowError(tr("Unknown error"));
    }
  } catch (...) {
    // Nothing may reach Qt's event loop.
  }
}

}  // namespace zp::app
