#include "app/ExperimentsPage.h"

#include <QCheckBox>
#include <QComboBox>
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
#include <QSplitter>
#include <QSysInfo>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ExperimentResults.h"
#include "app/RunGuards.h"
#include "chart/ZPChartPanel.h"
#include "chart/qt/ChartRender.h"
#include "chart/qt/ChartWidget.h"
#include "experiment/Comparisons.h"
#include "experiment/Ecdf.h"
#include "experiment/FinishedExperiment.h"
#include "experiment/Report.h"
#include "experiment/Summary.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

namespace {

using namespace zp::experiment;

// The page keeps every row in memory for its table and pictures; an experiment
// larger than this belongs to nqueens-ga batch, which streams its rows to disk.
constexpr int64_t kMaxRows = 1'000'000;
// More worker threads than this only share the same cores.
constexpr int kMaxJobs = 256;

int HardwareJobs() { return std::max(QThread::idealThreadCount(), 1); }

// "1,234,567": the same in every locale, as the progress reads elsewhere.
QString Grouped(int64_t Value) {
  QString digits = QString::number(Value);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  return digits;
}

QLabel* MakeErrorLabel(QWidget* Parent, const char* Name) {
  auto* label = new QLabel(Parent);  // owned by Parent
  label->setObjectName(QString::fromLatin1(Name));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
  label->setPalette(palette);
  label->setWordWrap(true);
  label->hide();
  return label;
}

QLineEdit* MakeField(QWidget* Parent, const char* Name, const QString& Text, const QString& Hint) {
  auto* edit = new QLineEdit(Text, Parent);  // owned by Parent
  edit->setObjectName(QString::fromLatin1(Name));
  edit->setToolTip(Hint);
  return edit;
}

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
          [this](const std::exception_ptr& error, std::optional<TExperimentAnalysis>& analysis) {
            Guarded([&] { EndExperiment(error, analysis); });
          }) {
  setObjectName(QStringLiteral("tsExperiments"));
  ChooseExportFolder = [this] {
    return QFileDialog::getExistingDirectory(this, tr("Export the experiment into a folder"));
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

// --- construction ---

void TExperimentsPage::CreateControls() {
  QGridLayout* fields = CreateFields();
  QHBoxLayout* commands = CreateCommands();
  QSplitter* results = CreateResults();
  auto* layout = new QVBoxLayout(this);  // owned by the page
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addLayout(fields);
  layout->addLayout(commands);
  layout->addWidget(results, 1);

  progress_timer_ = new QTimer(this);  // owned by the page
  progress_timer_->setInterval(500);
}

QGridLayout* TExperimentsPage::CreateFields() {
  edQueens =
      MakeField(this, "edQueens", QStringLiteral("8"), tr("Queen counts and ascending ranges, each 4 to 32: 8,10-12"));
  edRepeats = MakeField(this, "edRepeats", QStringLiteral("30"), tr("Repeats of the comparison run per queen count"));
  edGenerations = MakeField(this, "edGenerations", QStringLiteral("100"), tr("Generations per method"));
  edSeed = MakeField(this, "edSeed", QStringLiteral("0"),
                     tr("The experiment's seed, decimal or 0x hexadecimal, 0 to 4294967295; repeat 0 runs from it"));
  edJobs = MakeField(this, "edJobs", QString::number(HardwareJobs()), tr("Worker threads"));
  cbSameNumbers = new QCheckBox(tr("Sa&me random numbers for every method"), this);  // owned by the page
  cbSameNumbers->setObjectName(QStringLiteral("cbSameNumbers"));
  cbSameNumbers->setToolTip(
      tr("Every method of a repeat starts from the same random numbers, so that the "
         "methods differ only by their selection"));
  lblQueensError = MakeErrorLabel(this, "lblQueensError");
  lblRepeatsError = MakeErrorLabel(this, "lblRepeatsError");
  lblGenerationsError = MakeErrorLabel(this, "lblGenerationsError");
  lblSeedError = MakeErrorLabel(this, "lblSeedError");
  lblJobsError = MakeErrorLabel(this, "lblJobsError");

  // Three fields a row, each complaint in the row under its field.
  auto* fields = new QGridLayout;  // owned by the page's layout
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(2);
  auto add = [&](int row, int column, const QString& caption, QLineEdit* field, QLabel* error) {
    auto* label = new QLabel(caption, this);  // owned by the page
    label->setBuddy(field);
    fields->addWidget(label, row, 2 * column);
    fields->addWidget(field, row, 2 * column + 1);
    // Under the field and the next field's caption, which leaves the row below free.
    if (error) fields->addWidget(error, row + 1, 2 * column + 1, 1, column < 2 ? 2 : 1);
  };
  add(0, 0, tr("Q&ueens"), edQueens, lblQueensError);
  add(0, 1, tr("Re&peats"), edRepeats, lblRepeatsError);
  add(0, 2, tr("Ge&nerations"), edGenerations, lblGenerationsError);
  add(2, 0, tr("See&d"), edSeed, lblSeedError);
  add(2, 1, tr("&Jobs"), edJobs, lblJobsError);
  fields->addWidget(cbSameNumbers, 2, 4, 1, 2);
  for (int column : {1, 3, 5}) fields->setColumnStretch(column, 1);
  return fields;
}

QHBoxLayout* TExperimentsPage::CreateCommands() {
  btnStart = new QPushButton(tr("St&art"), this);  // owned by the page
  btnStart->setObjectName(QStringLiteral("btnStart"));
  btnStop = new QPushButton(tr("St&op"), this);  // owned by the page
  btnStop->setObjectName(QStringLiteral("btnStopExperiment"));
  btnStop->setEnabled(false);
  btnExport = new QPushButton(tr("E&xport..."), this);  // owned by the page
  btnExport->setObjectName(QStringLiteral("btnExport"));
  btnExport->setToolTip(tr("Write the folder nqueens-ga batch writes: CSV, JSON, IOHprofiler files and pictures"));
  btnExport->setEnabled(false);
  pbRows = new QProgressBar(this);  // owned by the page
  pbRows->setObjectName(QStringLiteral("pbRows"));
  pbRows->setRange(0, 1);
  pbRows->setValue(0);
  lblRate = new QLabel(tr("results at the end"), this);  // owned by the page
  lblRate->setObjectName(QStringLiteral("lblRate"));
  auto* commands = new QHBoxLayout;  // owned by the page's layout
  commands->addWidget(btnStart);
  commands->addWidget(btnStop);
  commands->addWidget(pbRows, 1);
  commands->addWidget(lblRate);
  commands->addWidget(btnExport);
  return commands;
}

QSplitter* TExperimentsPage::CreateResults() {
  tvResults = new QTableView;  // owned by the splitter
  tvResults->setObjectName(QStringLiteral("tvResults"));
  tvResults->setModel(results_);
  tvResults->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvResults->setSelectionMode(QAbstractItemView::SingleSelection);
  tvResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvResults->setWordWrap(false);
  tvResults->setTextElideMode(Qt::ElideRight);
  tvResults->verticalHeader()->hide();
  tvResults->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tvResults->verticalHeader()->setDefaultSectionSize(tvResults->fontMetrics().height() + 6);
  // Every column as wide as its widest text; the list of differing methods takes the rest.
  tvResults->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tvResults->horizontalHeader()->setSectionResizeMode(TExperimentResults::colDiffers, QHeaderView::Stretch);
  tvResults->setMinimumHeight(tvResults->verticalHeader()->defaultSectionSize() * 3);
  tvResults->setToolTip(tr("Double-click a row to run its repeat 0 again on the main page"));

  auto* ecdf = new QWidget;            // owned by the splitter
  cbEcdfQueens = new QComboBox(ecdf);  // owned by ecdf
  cbEcdfQueens->setObjectName(QStringLiteral("cbEcdfQueens"));
  cbEcdfQueens->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* ecdf_label = new QLabel(tr("Run-length E&CDF of"), ecdf);  // owned by ecdf
  ecdf_label->setBuddy(cbEcdfQueens);
  EcdfChart = new chart::TZPChartWidget(nullptr, ecdf);  // owned by ecdf
  EcdfChart->setObjectName(QStringLiteral("EcdfChart"));
  EcdfChart->setMinimumHeight(120);
  auto* ecdf_bar = new QHBoxLayout;  // owned by the ECDF's layout
  ecdf_bar->addWidget(ecdf_label);
  ecdf_bar->addWidget(cbEcdfQueens);
  ecdf_bar->addStretch(1);
  auto* ecdf_layout = new QVBoxLayout(ecdf);  // owned by ecdf
  ecdf_layout->setContentsMargins(0, 0, 0, 0);
  ecdf_layout->addLayout(ecdf_bar);
  ecdf_layout->addWidget(EcdfChart, 1);

  auto* splitter = new QSplitter(Qt::Vertical, this);  // owned by the page
  splitter->setObjectName(QStringLiteral("ExperimentsSplitter"));
  splitter->addWidget(tvResults);
  splitter->addWidget(ecdf);
  splitter->setChildrenCollapsible(false);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  return splitter;
}

void TExperimentsPage::ConnectHandlers() {
  for (QLineEdit* field : {edQueens, edRepeats, edGenerations, edSeed, edJobs})
    connect(field, &QLineEdit::textChanged, this, &TExperimentsPage::Validate);
  connect(btnStart, &QPushButton::clicked, this, [this] { Guarded([this] { btnStartClick(); }); });
  connect(btnStop, &QPushButton::clicked, this, &TExperimentsPage::btnStopClick);
  connect(btnExport, &QPushButton::clicked, this, &TExperimentsPage::btnExportClick);
  connect(cbEcdfQueens, &QComboBox::currentIndexChanged, this,
          [this](int index) { Guarded([&] { ShowEcdf(index); }); });
  connect(tvResults, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { Replay(index.row()); });
  connect(progress_timer_, &QTimer::timeout, this, &TExperimentsPage::ShowProgress);
}

// --- the fields ---

void TExperimentsPage::SetSeed(uint32_t Seed) { edSeed->setText(QString::number(Seed)); }

std::optional<uint32_t> TExperimentsPage::Seed() const {
  try {
    return ParseSeedOption(FieldText(*edSeed));
  } catch (const TDesignError&) {
    return std::nullopt;
  }
}

std::optional<TExperimentDesign> TExperimentsPage::Design() const {
  if (!valid_) return std::nullopt;
  TExperimentDesign design;
  design.Sizes = ParseQueenList(FieldText(*edQueens));
  design.Repeats = ParsePositive("--repeats", FieldText(*edRepeats));
  design.Generations = ParsePositive("--generations", FieldText(*edGenerations));
  design.Seed = ParseSeedOption(FieldText(*edSeed));
  design.Streams = cbSameNumbers->isChecked() ? queens::TRandomStreams::rsShared : queens::TRandomStreams::rsContinued;
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
  const bool queens_valid =
      check(lblQueensError, edQueens, [&](const std::string& t) { design.Sizes = ParseQueenList(t); });
  bool valid = queens_valid;
  valid &= check(lblRepeatsError, edRepeats, [&](const std::string& t) {
    design.Repeats = ParsePositive("--repeats", t);
    if (queens_valid && design.RowCount() > kMaxRows)
      throw TDesignError("--repeats", "at most " + std::to_string(kMaxRows / (design.RowCount() / design.Repeats)) +
                                          " for these queen counts (1,000,000 rows; nqueens-ga batch runs larger "
                                          "experiments)");
  });
  valid &= check(lblGenerationsError, edGenerations, [](const std::string& t) { ParsePositive("--generations", t); });
  valid &= check(lblSeedError, edSeed, [](const std::string& t) { ParseSeedOption(t); });
  valid &= check(lblJobsError, edJobs, [](const std::string& t) {
    if (ParsePositive("--jobs", t) > kMaxJobs) throw TDesignError("--jobs", "at most " + std::to_string(kMaxJobs));
  });
  valid_ = valid;
  // Until an experiment starts, the bar tells how large the one set up is.
  if (!Running() && repeats_.empty() && !finished_)
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
  btnExport->setEnabled(finished_ && !running);
  for (QWidget* w : std::initializer_list<QWidget*>{edQueens, edRepeats, edGenerations, edSeed, edJobs, cbSameNumbers})
    w->setEnabled(!running);
}

// --- running ---

void TExperimentsPage::btnStartClick() {
  const std::optional<TExperimentDesign> design = Design();
  if (!design || Running() || main_run_going_) return;
  design_ = *design;
  jobs_ = Jobs();
  repeats_.clear();
  total_repeats_ = RepeatKeys(design_).size();
  finished_ = false;
  recorded_ = {};
  results_->Clear();
  cbEcdfQueens->clear();
  EcdfChart->SetPanel(nullptr);
  ecdf_.reset();
  pbRows->setRange(0, static_cast<int>(design_.RowCount()));
  pbRows->setValue(0);
  start_ = UtcNow();
  started_ = std::chrono::steady_clock::now();
  worker_.Start(design_, jobs_);
  progress_timer_->start();
  ShowProgress();
  UpdateCommands();
  emit RunningChanged(true);
}

void TExperimentsPage::btnStopClick() { worker_.Stop(); }

void TExperimentsPage::Deliver(TRepeatLines& Repeat) {
  repeats_.push_back(std::move(Repeat));  // shown by the progress timer
}

void TExperimentsPage::ShowProgress() {
  const int64_t rows = static_cast<int64_t>(repeats_.size() * design_.Methods.size());
  pbRows->setValue(static_cast<int>(rows));
  pbRows->setFormat(tr("%1 of %2 rows").arg(Grouped(rows), Grouped(design_.RowCount())));
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  const double rate = elapsed > 0 ? static_cast<double>(rows) / elapsed : 0;
  QString left = QStringLiteral("?");
  if (!repeats_.empty())
    left = QString::fromStdString(ClockText(elapsed / static_cast<double>(repeats_.size()) *
                                            static_cast<double>(total_repeats_ - repeats_.size())));
  lblRate->setText(tr("%1 rows/s, %2 left").arg(QString::fromStdString(FormatFixed(rate, 1)), left));
}

void TExperimentsPage::EndExperiment(const std::exception_ptr& Error, std::optional<TExperimentAnalysis>& Analysis) {
  progress_timer_->stop();
  end_ = UtcNow();
  ShowProgress();
  finished_ = Analysis.has_value();
  if (finished_) {
    // Whatever happens to the results, the experiment has ended for the commands below.
    Guarded([&] { ShowResults(*Analysis); });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    lblRate->setText(tr("done in %1").arg(QString::fromStdString(ClockText(seconds))));
  } else if (Error) {
    Guarded([&] { std::rethrow_exception(Error); });
    lblRate->setText(tr("failed"));
  } else {
    lblRate->setText(tr("stopped after %1 of %2 repeats").arg(repeats_.size()).arg(total_repeats_));
  }
  UpdateCommands();
  emit RunningChanged(false);
}

void TExperimentsPage::ShowResults(TExperimentAnalysis& Analysis) {
  recorded_ = std::move(Analysis.Recorded);
  results_->SetResults(std::move(Analysis.Summary), Analysis.Comparisons);
  {
    const QSignalBlocker quiet(cbEcdfQueens);
    for (const int32_t n : design_.Sizes) cbEcdfQueens->addItem(tr("%1 queens").arg(n), n);
  }
  cbEcdfQueens->setCurrentIndex(0);
  ShowEcdf(0);
}

void TExperimentsPage::ShowEcdf(int Index) {
  if (!finished_ || Index < 0 || Index >= cbEcdfQueens->count()) return;
  const int n = cbEcdfQueens->itemData(Index).toInt();
  auto chart = std::make_unique<TEcdfChart>(recorded_.Rows, TCell{"nqueens", n, 0}, design_.Generations,
                                            EcdfHeader(queens::TQueensProblem(n).Caption(), 0));
  EcdfChart->SetPanel(&chart->Panel());
  ecdf_ = std::move(chart);
}

// --- export and replay ---

void TExperimentsPage::btnExportClick() {
  const QString folder = ChooseExportFolder ? ChooseExportFolder() : QString();
  if (folder.isEmpty()) return;
  Guarded([&] {
    TWaitCursor hourglass;
    ExportTo(folder);
  });
}

void TExperimentsPage::ExportTo(const QString& Folder) {
  if (!finished_) throw Exception("There is no finished experiment to export");
  const QDir dir(Folder);
  // Another experiment's files would mix with this one's (an ECDF of another queen count, say).
  if (dir.exists() && !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
    throw Exception(QFile::encodeName(Folder).toStdString() + " is not empty: choose an empty or a new folder");
  const TRunInfo run{start_, end_, jobs_, QSysInfo::machineHostName().toStdString()};
  WriteExperimentFolder(QFile::encodeName(Folder).toStdString(), design_, run, repeats_,
                        [](chart::TZPCustomChartPanel& panel, const std::string& file, int width, int height) {
                          chart::SaveChartFile(panel, file, width, height, 1);
                        });
}

void TExperimentsPage::Replay(int Row) {
  const std::vector<TSummaryRow>& summary = results_->Summary();
  if (Row < 0 || static_cast<size_t>(Row) >= summary.size() || Running()) return;
  const int32_t queens = summary[static_cast<size_t>(Row)].Size;
  emit ReplayRequested({queens, design_.Generations, RepeatSeed(design_.Seed, queens, 0), design_.Streams});
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
