// The Experiments page's controls: its fields, commands and results, laid out
// and connected to their handlers.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ExperimentResults.h"
#include "app/ExperimentsPage.h"
#include "app/ExperimentsPageSupport.h"
#include "chart/qt/ChartWidget.h"

namespace zp::app {

namespace {

using namespace zp::experiment;
using namespace experiments_page;

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

// "Crossover method" for "crossover-method": a caption as the other fields' read.
QString SettingCaption(std::string_view Name) {
  QString caption = QString::fromLatin1(Name.data(), static_cast<qsizetype>(Name.size()));
  caption.replace(QLatin1Char('-'), QLatin1Char(' '));
  caption[0] = caption[0].toUpper();
  return caption;
}

}  // namespace

// --- construction ---

void TExperimentsPage::CreateControls() {
  QGridLayout* fields = CreateFields();
  QHBoxLayout* commands = CreateCommands();
  QWidget* ecdf = CreateResults();
  auto* design = new QWidget;                     // owned by tabs_ from addTab on
  auto* design_layout = new QVBoxLayout(design);  // owned by design
  design_layout->addLayout(fields);
  design_layout->addStretch(1);
  // The design, the table and the ECDF each get the page's whole space: at the
  // window's design size there is no room for them side by side.
  tabs_ = new QTabWidget(this);  // owned by the page
  tabs_->setObjectName(QStringLiteral("ExperimentTabs"));
  tabs_->addTab(design, tr("De&sign"));
  tabs_->addTab(tvResults, tr("Ta&ble"));
  tabs_->addTab(ecdf, tr("E&CDF"));
  auto* layout = new QVBoxLayout(this);  // owned by the page
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addLayout(commands);
  layout->addWidget(tabs_, 1);
  // The progress and the state beside the tabs: room for both to read whole,
  // and none taken from the table and the ECDF.
  auto* status = new QWidget;                     // owned by tabs_ from setCornerWidget on
  auto* status_layout = new QHBoxLayout(status);  // owned by status
  status_layout->setContentsMargins(8, 0, 0, 2);
  status_layout->addWidget(pbRows, 1);
  status_layout->addWidget(lblRate);
  tabs_->setCornerWidget(status, Qt::TopRightCorner);

  progress_timer_ = new QTimer(this);  // owned by the page
  progress_timer_->setInterval(500);
}

QGridLayout* TExperimentsPage::CreateFields() {
  edProblems = MakeField(this, "edProblems", QStringLiteral("nqueens"),
                         tr("Problems, as nqueens-ga batch --problem names them: nqueens, onemax, leadingones or "
                            "jump:K, comma-separated"));
  edQueens = MakeField(this, "edQueens", QStringLiteral("8"),
                       tr("Sizes and ascending ranges: 8,10-12 (queen counts 4 to 32 for N-Queens)"));
  edRepeats = MakeField(this, "edRepeats", QStringLiteral("30"), tr("Repeats of the comparison run per size"));
  edGenerations = MakeField(this, "edGenerations", QStringLiteral("100"), tr("Generations per method"));
  edEvaluations = MakeField(this, "edEvaluations", QString(),
                            tr("A budget in evaluations instead of the generations: E, or Kn for K times the size; "
                               "empty for the generations"));
  // Shown in an empty setting field: the value the run takes without one.
  static const char* const kDefaults[queens::kSettingCount] = {"4n", "0.98", "1/L",           "0.1",
                                                               "4",  "0.1",  "cmGeneBoundary"};
  for (size_t i = 0; i < queens::kSettingCount; ++i) {
    const std::string name(queens::kSettingNames[i]);
    edSettings[i] = MakeField(this, ("edSetting-" + name).c_str(), QString(),
                              tr("Values of %1, comma-separated, as nqueens-ga batch --%1 takes them; empty for the "
                                 "value the size gives. The lists' product is the configurations.")
                                  .arg(QString::fromStdString(name)));
    edSettings[i]->setPlaceholderText(QString::fromLatin1(kDefaults[i]));
  }
  lblProblemsError = MakeErrorLabel(this, "lblProblemsError");
  lblEvaluationsError = MakeErrorLabel(this, "lblEvaluationsError");
  lblSettingsError = MakeErrorLabel(this, "lblSettingsError");
  lblDesignError = MakeErrorLabel(this, "lblDesignError");
  edSeed = MakeField(this, "edSeed", QStringLiteral("0"),
                     tr("The experiment's seed, decimal or 0x hexadecimal, 0 to 4294967295; repeat 0 runs from it"));
  edJobs = MakeField(this, "edJobs", QString::number(HardwareJobs()), tr("Worker threads"));
  edLabel = MakeField(this, "edLabel", QString(),
                      tr("The experiment's name in its IOHprofiler files: letters, digits, '.', '_' and '-'; "
                         "empty for the folder's name"));
  edFolder =
      MakeField(this, "edFolder", NewFolderIn(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)),
                tr("The folder the experiment runs into, new or empty; it gets what nqueens-ga batch writes, "
                   "as the repeats finish"));
  btnBrowse = new QPushButton(tr("..."), this);  // owned by the page
  btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
  btnBrowse->setToolTip(tr("Choose the folder the experiment runs into"));
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
  lblLabelError = MakeErrorLabel(this, "lblLabelError");
  lblFolderError = MakeErrorLabel(this, "lblFolderError");

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
  add(0, 0, tr("Problems"), edProblems, lblProblemsError);
  add(0, 1, tr("Si&zes"), edQueens, lblQueensError);
  add(0, 2, tr("Re&peats"), edRepeats, lblRepeatsError);
  add(2, 0, tr("Ge&nerations"), edGenerations, lblGenerationsError);
  add(2, 1, tr("Evaluations"), edEvaluations, lblEvaluationsError);
  add(2, 2, tr("See&d"), edSeed, lblSeedError);
  add(4, 0, tr("&Jobs"), edJobs, lblJobsError);
  add(4, 1, tr("&Label"), edLabel, lblLabelError);
  add(6, 0, tr("&Folder"), edFolder, lblFolderError);
  fields->addWidget(edFolder, 6, 1, 1, 3);
  fields->addWidget(btnBrowse, 6, 4);
  // A row of its own: spanning two columns it would widen the last one.
  fields->addWidget(cbSameNumbers, 16, 0, 1, 6);
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    add(8 + 2 * static_cast<int>(i / 3), static_cast<int>(i % 3), SettingCaption(queens::kSettingNames[i]),
        edSettings[i], nullptr);
  fields->addWidget(lblSettingsError, 14, 0, 1, 6);
  fields->addWidget(lblDesignError, 15, 0, 1, 6);
  for (int column : {1, 3, 5}) fields->setColumnStretch(column, 1);
  return fields;
}

QHBoxLayout* TExperimentsPage::CreateCommands() {
  btnStart = new QPushButton(tr("St&art"), this);  // owned by the page
  btnStart->setObjectName(QStringLiteral("btnStart"));
  btnStop = new QPushButton(tr("St&op"), this);  // owned by the page
  btnStop->setObjectName(QStringLiteral("btnStopExperiment"));
  btnStop->setEnabled(false);
  btnResume = new QPushButton(tr("Res&ume"), this);  // owned by the page; Alt+R opens the Run menu
  btnResume->setObjectName(QStringLiteral("btnResume"));
  btnResume->setToolTip(tr("Go on with the stopped experiment shown, in its folder, as nqueens-ga batch --resume"));
  btnResume->setEnabled(false);
  btnOpen = new QPushButton(tr("Op&en..."), this);  // owned by the page
  btnOpen->setObjectName(QStringLiteral("btnOpen"));
  btnOpen->setToolTip(tr("Show an experiment folder made by this page, nqueens-ga batch or nqueens-ga-mpi"));
  btnExport = new QPushButton(tr("E&xport..."), this);  // owned by the page
  btnExport->setObjectName(QStringLiteral("btnExport"));
  btnExport->setToolTip(tr("Copy the experiment's folder into a new or empty folder"));
  btnExport->setEnabled(false);
  btnReport = new QPushButton(tr("Re&port..."), this);  // owned by the page
  btnReport->setObjectName(QStringLiteral("btnReport"));
  btnReport->setEnabled(false);
  btnReport->setToolTip(
      tr("Write the report of the finished experiment (tables, figures, methods paragraph) into "
         "its folder's report/ and open report.md"));
  lblFolderShown = new QLabel(this);  // owned by the page
  lblFolderShown->setObjectName(QStringLiteral("lblFolderShown"));
  lblFolderShown->setTextInteractionFlags(Qt::TextSelectableByMouse);
  pbRows = new QProgressBar(this);  // owned by the page
  pbRows->setObjectName(QStringLiteral("pbRows"));
  pbRows->setRange(0, 1);
  pbRows->setValue(0);
  pbRows->setMinimumWidth(pbRows->fontMetrics().horizontalAdvance(QStringLiteral("000,000/000,000")) + 16);
  lblRate = new QLabel(this);  // owned by the page
  lblRate->setObjectName(QStringLiteral("lblRate"));
  auto* commands = new QHBoxLayout;  // owned by the page's layout
  commands->addWidget(btnStart);
  commands->addWidget(btnStop);
  commands->addWidget(btnResume);
  commands->addStretch(1);
  commands->addWidget(btnOpen);
  commands->addWidget(btnExport);
  commands->addWidget(btnReport);
  return commands;
}

QWidget* TExperimentsPage::CreateResults() {
  tvResults = new QTableView;  // owned by tabs_ from addTab on
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
  // Every column as wide as its widest text, never cut: the view scrolls instead.
  tvResults->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tvResults->setMinimumHeight(tvResults->verticalHeader()->defaultSectionSize() * 3);
  tvResults->setToolTip(tr("Double-click a row to run its repeat 0 again on the main page"));

  auto* ecdf = new QWidget;            // owned by tabs_ from addTab on
  cbEcdfQueens = new QComboBox(ecdf);  // owned by ecdf
  cbEcdfQueens->setObjectName(QStringLiteral("cbEcdfQueens"));
  cbEcdfQueens->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* ecdf_label = new QLabel(tr("Run-length ECDF of"), ecdf);  // owned by ecdf  // owned by ecdf
  ecdf_label->setBuddy(cbEcdfQueens);
  EcdfChart = new chart::TZPChartWidget(nullptr, ecdf);  // owned by ecdf
  EcdfChart->setObjectName(QStringLiteral("EcdfChart"));
  EcdfChart->setMinimumHeight(120);
  auto* ecdf_bar = new QHBoxLayout;  // owned by the ECDF's layout
  ecdf_bar->addWidget(ecdf_label);
  ecdf_bar->addWidget(cbEcdfQueens);
  ecdf_bar->addStretch(1);
  ecdf_bar->addWidget(lblFolderShown);
  auto* ecdf_layout = new QVBoxLayout(ecdf);  // owned by ecdf
  ecdf_layout->setContentsMargins(0, 0, 0, 0);
  ecdf_layout->addLayout(ecdf_bar);
  ecdf_layout->addWidget(EcdfChart, 1);

  return ecdf;
}

void TExperimentsPage::ConnectHandlers() {
  for (QLineEdit* field :
       {edProblems, edQueens, edRepeats, edGenerations, edEvaluations, edSeed, edJobs, edLabel, edFolder})
    connect(field, &QLineEdit::textChanged, this, &TExperimentsPage::Validate);
  for (QLineEdit* field : edSettings) connect(field, &QLineEdit::textChanged, this, &TExperimentsPage::Validate);
  connect(btnStart, &QPushButton::clicked, this, [this] { Guarded([this] { btnStartClick(); }); });
  connect(btnStop, &QPushButton::clicked, this, &TExperimentsPage::btnStopClick);
  connect(btnResume, &QPushButton::clicked, this, [this] { Guarded([this] { btnResumeClick(); }); });
  connect(btnOpen, &QPushButton::clicked, this, &TExperimentsPage::btnOpenClick);
  connect(btnBrowse, &QPushButton::clicked, this, &TExperimentsPage::btnBrowseClick);
  connect(btnExport, &QPushButton::clicked, this, &TExperimentsPage::btnExportClick);
  connect(btnReport, &QPushButton::clicked, this, &TExperimentsPage::btnReportClick);
  connect(cbEcdfQueens, &QComboBox::currentIndexChanged, this,
          [this](int index) { Guarded([&] { ShowEcdf(index); }); });
  connect(cbEcdfQueens, &QComboBox::activated, this, [this] { ecdf_picked_ = true; });
  connect(tvResults, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { Replay(index.row()); });
  connect(progress_timer_, &QTimer::timeout, this, &TExperimentsPage::ShowProgress);
}

// --- the fields ---

}  // namespace zp::app
