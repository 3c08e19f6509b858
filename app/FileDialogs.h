// The two file dialogs of the file commands, a save and an open dialog for GA
// documents. Each keeps the file name last chosen in it; the window copies
// names from one to the other. Both start in the folder of the file last
// named while neither has a name yet. Showing a dialog goes through a
// replaceable chooser, so tests pick file names without a modal dialog.
//
//   TFileDialogs dialogs(window);
//   const QString name = dialogs.ExecuteSave();   // empty: cancelled
//   if (!name.isEmpty()) dialogs.SetOpenFileName(name);
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zp::app {

// The file filter of GA documents: description, then pattern.
inline constexpr char kGAFileFilter[] = "Genetic Algorithm File (*.xml)|*.xml";
// Added to a chosen file name that has no extension.
inline constexpr char kGADefaultSuffix[] = "xml";

// A "description|pattern|description|pattern" filter as Qt's "description (pattern);;...".
// A description that already names its pattern in brackets is kept as it is; empty gives empty.
QString QtFileFilter(const QString& Filter);

class TFileDialogs {
 public:
  // Shows a dialog proposing a file name (or a folder to start in); returns the chosen
  // name, empty when cancelled.
  using TChooser = std::function<QString(const QString& Proposed)>;

  // Parent: the window the dialogs are modal to (not owned).
  explicit TFileDialogs(QWidget* Parent);

  // The save dialog (asks before overwriting); on a choice it keeps the name.
  QString ExecuteSave();
  // The open dialog; on a choice it keeps the name.
  QString ExecuteOpen();

  const QString& SaveFileName() const { return save_file_name_; }
  void SetSaveFileName(const QString& Name);
  const QString& OpenFileName() const { return open_file_name_; }
  void SetOpenFileName(const QString& Name);
  // The folder of the file last chosen or named; empty until one is.
  const QString& Folder() const { return folder_; }
  void SetFolder(const QString& Folder) { folder_ = Folder; }

  // Modal QFileDialogs unless replaced.
  TChooser OnChooseSaveFile;
  TChooser OnChooseOpenFile;

 private:
  QWidget* parent_;  // not owned
  QString save_file_name_, open_file_name_, folder_;
};

}  // namespace zp::app
