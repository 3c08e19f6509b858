#include "app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtDebug>

#include "app/ExperimentsPage.h"
#include "app/HelpText.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

namespace {

const QString kTitle = QStringLiteral("N Queens Solution using Genetic Algorithms");

// What the help pages show of the form: the GA's settings as they stand, or as the next Run sets them up.
THelpContext HelpContextOf(TForm1& Form, const QString& SettingsFile) {
  THelpContext context;
  context.SettingsFile = SettingsFile;
  queens::TQueensWorkbench& wb = Form.Workbench();
  context.Queens = wb.NumQueens();
  const ga::TZPGeneticAlgorithm& ga = wb.Algorithm();
  context.Initialized = ga.Initialized();
  if (context.Initialized) {
    context.Settings = {
        ga.Population().Count(),   ga.GeneSize(),        ga.MutationProbability(), ga.CrossoverProbability(),
        ga.InversionProbability(), ga.TournamentField(), ga.ElitistPct(),          ga.CrossoverMethod(),
        ga.FitnessCutoff()};
  } else {
    queens::TQueensProblem problem(context.Queens);
    context.Settings = queens::ResolveSettings(problem, {});
  }
  return context;
}

}  // namespace

TMainWindow::TMainWindow(const QString& SettingsFile, QWidget* Parent)
    : QMainWindow(Parent), form_(new TForm1), settings_file_(SettingsFile) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(kTitle);
  setCentralWidget(form_);  // owned by the window from here on

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  connect(form_, &TForm1::RunningChanged, this, &TMainWindow::RunningChanged);
  connect(form_, &TForm1::DocumentUsed, this, &TMainWindow::DocumentUsed);
  // A replay sets the main page's streams: the tool bar shows what the workbench uses.
  connect(form_, &TForm1::StreamsChanged, this, [this](bool Shared) {
    const QSignalBlocker quiet(cbSharedStreams);
    cbSharedStreams->setChecked(Shared);
  });
  // While an experiment runs, the main page neither runs nor initializes.
  connect(&form_->ExperimentsPage(), &TExperimentsPage::RunningChanged, this, [this](bool Going) {
    for (QAction* a : {actRun, actInitialize}) a->setEnabled(!Going && !form_->Running());
  });
  RestoreSettings();
}

TMainWindow::~TMainWindow() = default;

// --- construction ---

QAction* TMainWindow::MakeAction(const char* Name, const QString& Text, const QKeySequence& Shortcut) {
  auto* action = new QAction(Text, this);  // owned by the window
  action->setObjectName(QString::fromLatin1(Name));
  action->setShortcut(Shortcut);
  return action;
}

void TMainWindow::CreateActions() {
  using K = TDocumentKind;
  actNew = MakeAction("actNew", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
  actNew->setToolTip(tr("Start again as at program start, with the queen count shown (Ctrl+N)"));
  actLoad = MakeAction("actLoad", tr("&Load..."), QKeySequence(Qt::CTRL | Qt::Key_O));
  actSave = MakeAction("actSave", tr("&Save..."), QKeySequence(Qt::CTRL | Qt::Key_S));
  actLoadGenoType = MakeAction("actLoadGenoType", tr("Load &GenoType..."));
  actSaveGenoType = MakeAction("actSaveGenoType", tr("Save G&enoType..."));
  actLoadPopulation = MakeAction("actLoadPopulation", tr("Load &Population..."));
  actSavePopulation = MakeAction("actSavePopulation", tr("Save Po&pulation..."));
  actQuit = MakeAction("actQuit", tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  actRun = MakeAction("actRun", tr("&Run"), QKeySequence(Qt::Key_F5));
  actStop = MakeAction("actStop", tr("&Stop"), QKeySequence(Qt::Key_Escape));
  actInitialize = MakeAction("actInitialize", tr("&Initialize"));
  actGuide = MakeAction("actGuide", tr("&Help"), QKeySequence(Qt::Key_F1));
  actRun->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  actRun->setToolTip(tr("Run every selection method for the generations given (F5)"));
  actStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
  actStop->setToolTip(tr("End the run after the generation in progress (Esc)"));
  actStop->setEnabled(false);

  connect(actNew, &QAction::triggered, form_, &TForm1::New);
  connect(actLoad, &QAction::triggered, this, [this] { form_->Open(K::dkAlgorithm); });
  connect(actSave, &QAction::triggered, this, [this] { form_->Save(K::dkAlgorithm); });
  connect(actLoadGenoType, &QAction::triggered, this, [this] { form_->Open(K::dkGenoType); });
  connect(actSaveGenoType, &QAction::triggered, this, [this] { form_->Save(K::dkGenoType); });
  connect(actLoadPopulation, &QAction::triggered, this, [this] { form_->Open(K::dkPopulation); });
  connect(actSavePopulation, &QAction::triggered, this, [this] { form_->Save(K::dkPopulation); });
  connect(actQuit, &QAction::triggered, this, &QWidget::close);
  connect(actRun, &QAction::triggered, form_, &TForm1::Run);
  connect(actStop, &QAction::triggered, form_, &TForm1::Stop);
  connect(actInitialize, &QAction::triggered, form_, &TForm1::Initialize);
  // F1 on the Experiments page opens the help on experiments; elsewhere the page shown last.
  connect(actGuide, &QAction::triggered, this,
          [this] { ShowGuide(form_->ExperimentsPage().isVisible() ? QStringLiteral("hpExperiments") : QString()); });
}

void TMainWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  file->addAction(actNew);
  file->addSeparator();
  file->addActions({actLoad, actSave});
  file->addSeparator();
  file->addActions({actLoadGenoType, actSaveGenoType, actLoadPopulation, actSavePopulation});
  file->addSeparator();
  mnuRecent = file->addMenu(tr("Recent &Files"));
  mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
  file->addSeparator();
  file->addAction(actQuit);

  QMenu* run = menuBar()->addMenu(tr("&Run"));
  run->setObjectName(QStringLiteral("mnuRun"));
  run->addActions({actRun, actStop, actInitialize});

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  help->addAction(actGuide);
}

void TMainWindow::CreateToolBar() {
  QToolBar* bar = addToolBar(tr("Run"));
  bar->setObjectName(QStringLiteral("tbRun"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->addActions({actRun, actStop});
  bar->addSeparator();
  cbSharedStreams = new QCheckBox(tr("Same random numbers for every method"));  // owned by the tool bar
  cbSharedStreams->setObjectName(QStringLiteral("cbSharedStreams"));
  cbSharedStreams->setToolTip(
      tr("On: every method of a Run draws the same random numbers, so they differ by their selection alone.\n"
         "Off: each method goes on with the random numbers where the one before it stopped."));
  cbSharedStreams->setFocusPolicy(Qt::NoFocus);  // the form's Tab order stays the form's
  bar->addWidget(cbSharedStreams);
  connect(cbSharedStreams, &QCheckBox::toggled, form_, &TForm1::SetSharedStreams);
}

void TMainWindow::CreateStatusBar() { form_->ShowProgressIn(*statusBar()); }

// --- settings ---

void TMainWindow::RestoreSettings() {
  const TWindowSettings s = ReadWindowSettings(settings_file_);
  form_->RestoreSettings(s.Form);
  {
    const QSignalBlocker quiet(cbSharedStreams);
    cbSharedStreams->setChecked(s.Form.SharedStreams);
  }
  form_->SetSavedExperimentSeed(s.Seed);
  form_->ExperimentsPage().SetFieldTexts(s.Experiments);
  form_->FileDialogs().SetFolder(s.LastFolder);
  recent_.FromStrings(s.RecentFiles);
  FillRecentMenu();
  // The form at its designed size between the bars, unless the user left the window otherwise.
  resize(sizeHint());
  if (!s.Geometry.isEmpty()) restoreGeometry(s.Geometry);
}

TWindowSettings TMainWindow::CurrentSettings() const {
  TWindowSettings s;
  s.Form = form_->Settings();
  s.Seed = form_->SavedExperimentSeed();
  s.Experiments = form_->ExperimentsPage().FieldTexts();
  s.Geometry = saveGeometry();
  s.LastFolder = form_->FileDialogs().Folder();
  s.RecentFiles = recent_.ToStrings();
  return s;
}

// --- the form's news ---

void TMainWindow::RunningChanged(bool Running) {
  for (QAction* a : {actNew, actLoad, actSave, actLoadGenoType, actSaveGenoType, actLoadPopulation, actSavePopulation,
                     actRun, actInitialize})
    a->setEnabled(!Running);
  mnuRecent->setEnabled(!Running && !recent_.Entries().empty());
  actStop->setEnabled(Running);
  cbSharedStreams->setEnabled(!Running);
  if (!Running && close_after_run_) {
    close_after_run_ = false;
    close();
  }
}

void TMainWindow::DocumentUsed(const QString& File, TDocumentKind Kind) {
  recent_.Add(File, Kind);
  FillRecentMenu();
  setWindowTitle(QFileInfo(File).fileName() + QStringLiteral(" \u2013 ") + kTitle);
}

void TMainWindow::FillRecentMenu() {
  mnuRecent->clear();
  int number = 0;
  for (const TRecentFile& entry : recent_.Entries()) {
    ++number;
    const QString text =
        QStringLiteral("&%1 %2 (%3)").arg(number).arg(QFileInfo(entry.File).fileName(), ToString(entry.Kind));
    QAction* action = mnuRecent->addAction(text);
    action->setToolTip(entry.File);
    action->setData(entry.File);
    connect(action, &QAction::triggered, this, [this, entry] { OpenRecent(entry); });
  }
  mnuRecent->setEnabled(!recent_.Entries().empty() && !form_->Running());
}

void TMainWindow::OpenRecent(const TRecentFile& Entry) {
  // A file that has gone leaves the list; its load still says why it failed.
  if (!QFileInfo::exists(Entry.File)) {
    recent_.Remove(Entry.File);
    FillRecentMenu();
  }
  form_->Open(Entry.Kind, Entry.File);
}

// --- help ---

void TMainWindow::ShowGuide(const QString& Page) {
  if (!dlgGuide) {
    dlgGuide = new QDialog(this);  // owned by the window
    dlgGuide->setObjectName(QStringLiteral("dlgGuide"));
    dlgGuide->setWindowTitle(tr("Help \u2013 %1").arg(kTitle));
    auto* splitter = new QSplitter(dlgGuide);  // owned by the dialog
    lwHelpPages = new QListWidget(splitter);   // owned by the splitter
    lwHelpPages->setObjectName(QStringLiteral("lwHelpPages"));
    for (const THelpPage& page : HelpPages()) {
      auto* item = new QListWidgetItem(tr(page.Title), lwHelpPages);  // owned by the list
      item->setData(Qt::UserRole, QString::fromLatin1(page.Name));
    }
    tbGuide = new QTextBrowser(splitter);  // owned by the splitter
    tbGuide->setObjectName(QStringLiteral("tbGuide"));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({170, 630});
    connect(lwHelpPages, &QListWidget::currentRowChanged, this, [this](int Row) {
      if (Row < 0 || Row >= static_cast<int>(HelpPages().size())) return;
      tbGuide->setHtml(HelpPages()[static_cast<size_t>(Row)].Html(HelpContextOf(*form_, settings_file_)));
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dlgGuide);  // owned by the dialog
    connect(buttons, &QDialogButtonBox::rejected, dlgGuide, &QDialog::close);
    auto* layout = new QVBoxLayout(dlgGuide);  // owned by the dialog
    layout->addWidget(splitter);
    layout->addWidget(buttons);
    dlgGuide->resize(820, 620);
  }
  int row = std::max(lwHelpPages->currentRow(), 0);
  for (int i = 0; i < lwHelpPages->count(); ++i)
    if (lwHelpPages->item(i)->data(Qt::UserRole).toString() == Page) row = i;
  // The values of the page shown follow what changed since (a Run, another queen count).
  const QSignalBlocker quiet(lwHelpPages);
  lwHelpPages->setCurrentRow(row);
  tbGuide->setHtml(HelpPages()[static_cast<size_t>(row)].Html(HelpContextOf(*form_, settings_file_)));
  dlgGuide->show();
  dlgGuide->raise();
  dlgGuide->activateWindow();
}

// --- closing ---

void TMainWindow::closeEvent(QCloseEvent* Event) {
  if (form_->Running()) {  // close once the run has ended, after the generation in progress
    close_after_run_ = true;
    form_->Stop();
    Event->ignore();
    return;
  }
  // The window leaves the screen before the settings are written: the write waits until
  // the disk has the file, which a busy disk can hold up for a second or more.
  const TWindowSettings settings = CurrentSettings();
  if (dlgGuide) dlgGuide->close();
  hide();
  QGuiApplication::sync();
  if (WriteSettings && !WriteSettings(settings_file_, settings))
    qWarning("nqueens-workbench: cannot write %s", qPrintable(settings_file_));
  QMainWindow::closeEvent(Event);
}

}  // namespace zp::app
