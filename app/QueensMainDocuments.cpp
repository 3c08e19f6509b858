// TForm1's file commands (the three Load/Save pairs, from the buttons, the
// menus or a recent file) and the main page's remembered settings.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <string_view>

#include "app/ExperimentsPage.h"
#include "app/QueensMain.h"
#include "platform/Exceptions.h"

namespace zp::app {

using queens::TQueensWorkbench;

namespace {

// The name the file system knows a chosen file by.
std::string LocalFileName(const QString& Name) { return QFile::encodeName(Name).toStdString(); }

// The Save command of each document kind, in TDocumentKind's order.
constexpr void (TQueensWorkbench::*kSaveCommands[])(const std::string&) = {
    &TQueensWorkbench::SaveAll, &TQueensWorkbench::SaveGenoType, &TQueensWorkbench::SavePopulation};

}  // namespace

void TForm1::Open(TDocumentKind Kind, const QString& File) {
  Guarded([&] { btnLoadAnyClick(Kind, File); });
}

void TForm1::Save(TDocumentKind Kind) {
  Guarded([&] { SaveDocument(Kind); });
}

void TForm1::btnSaveClick() { SaveDocument(TDocumentKind::dkAlgorithm); }
void TForm1::Button1Click() { SaveDocument(TDocumentKind::dkGenoType); }
void TForm1::Button2Click() { SaveDocument(TDocumentKind::dkPopulation); }

void TForm1::SaveDocument(TDocumentKind Kind) {
  const QString name = dialogs_.ExecuteSave();
  if (name.isEmpty()) return;
  lblProgress->clear();
  (wb_.*kSaveCommands[static_cast<size_t>(Kind)])(LocalFileName(name));
  dialogs_.SetOpenFileName(name);
  ReportDocument("Saved", name, Kind);
  emit DocumentUsed(name, Kind);
}

void TForm1::ReportDocument(const char* Verb, const QString& File, TDocumentKind Kind) {
  const QString text = tr("%1 %2 document %3").arg(QLatin1String(Verb), ToString(Kind), File);
  // A note of the load's ("not an N-Queens board") stays beside it.
  const QString note = lblProgress->text();
  lblProgress->setText(note.isEmpty() ? text : text + QStringLiteral(" (") + note + QLatin1Char(')'));
  wb_.LogLine(text.toStdString());
}

void TForm1::btnLoadClick() { btnLoadAnyClick(TDocumentKind::dkAlgorithm, {}); }
void TForm1::btnLoadGenoTypeClick() { btnLoadAnyClick(TDocumentKind::dkGenoType, {}); }
void TForm1::btnLoadPopulationClick() { btnLoadAnyClick(TDocumentKind::dkPopulation, {}); }

void TForm1::btnLoadAnyClick(TDocumentKind Kind, const QString& File) {
  QString name = File;
  if (name.isEmpty())
    name = dialogs_.ExecuteOpen();
  else
    dialogs_.SetOpenFileName(name);  // a recent file: the open dialog proposes it next
  if (name.isEmpty()) return;
  // Load proposes the name for saving even when reading it fails; the other two only after reading it.
  switch (Kind) {
    case TDocumentKind::dkAlgorithm:
      dialogs_.SetSaveFileName(name);
      Load(&TQueensWorkbench::LoadAll, name);
      break;
    case TDocumentKind::dkGenoType:
      Load(&TQueensWorkbench::LoadGenoType, name);
      dialogs_.SetSaveFileName(name);
      break;
    case TDocumentKind::dkPopulation:
      Load(&TQueensWorkbench::LoadPopulation, name);
      dialogs_.SetSaveFileName(name);
      break;
  }
  ReportDocument("Loaded", name, Kind);
  emit DocumentUsed(name, Kind);
}

void TForm1::Load(void (TQueensWorkbench::*Read)(const std::string&), const QString& Name) {
  lblProgress->clear();
  const std::string file = LocalFileName(Name);
  try {
    (wb_.*Read)(file);
  } catch (...) {
    RethrowNamingFile(file);  // the message box names the file
  }
  lblSolution->clear();  // the board is empty after a load
  // The queen count of a loaded N-Queens problem, without re-initializing it.
  const QSignalBlocker quiet(SpinEdit1);
  SpinEdit1->setValue(wb_.NumQueens());
}

// --- settings ---

uint32_t TForm1::SavedExperimentSeed() const {
  // A field that holds no valid seed keeps the one it was filled with.
  return tsExperiments->Seed().value_or(saved_experiment_seed_);
}

void TForm1::SetSavedExperimentSeed(uint32_t Seed) {
  saved_experiment_seed_ = Seed;
  tsExperiments->SetSeed(Seed);
}

TFormSettings TForm1::Settings() const {
  return {SpinEdit1->value(), Edit1->text(), cbGraph->isChecked(), SharedStreams()};
}

void TForm1::RestoreSettings(const TFormSettings& Settings) {
  if (running_) return;  // the model is the run's
  {
    const QSignalBlocker quiet(SpinEdit1);
    SpinEdit1->setValue(Settings.Queens);
  }
  wb_.SetNumQueens(SpinEdit1->value());
  // Before anything ran, the introduction, the board and the component are those of
  // the remembered queen count, as at a start with it; the random source is untouched.
  if (!wb_.Algorithm().Initialized()) {
    wb_.StartOver(wb_.Algorithm().RandomSource().Seed());
    ShowWholeLog();
    FormResize();
  }
  Edit1->setText(Settings.Generations);
  {
    const QSignalBlocker quiet(cbGraph);
    cbGraph->setChecked(Settings.Graph);
  }
  wb_.cbGraphClick(Settings.Graph);
  SetSharedStreams(Settings.SharedStreams);
}

void TForm1::SetSharedStreams(bool Shared) {
  if (running_) return;  // a run reads the setting as it goes
  wb_.SetStreams(Shared ? queens::TRandomStreams::rsShared : queens::TRandomStreams::rsContinued);
  if (cbSameNumbers && cbSameNumbers->isChecked() != Shared) {
    const QSignalBlocker quiet(cbSameNumbers);
    cbSameNumbers->setChecked(Shared);
  }
}

bool TForm1::SharedStreams() const { return wb_.Streams() == queens::TRandomStreams::rsShared; }

}  // namespace zp::app
