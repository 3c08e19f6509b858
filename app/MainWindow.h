// TMainWindow: the application's window around the form: the File, Run and
// Help menus with their shortcuts, a tool bar with Run, Stop and the random
// numbers setting, a status bar with the run's progress, the title naming the
// document last loaded or saved, and the settings remembered from the last
// session (read when it opens, written when it closes).
//
//   zp::app::TMainWindow window;   // the user's settings file
//   window.show();
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

#include "app/QueensMain.h"
#include "app/RecentFiles.h"
#include "app/WindowSettings.h"

class QAction;
class QCheckBox;
class QDialog;
class QListWidget;
class QTextBrowser;
class QMenu;

namespace zp::app {

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // SettingsFile: where the remembered settings are read from now and written to on closing.
  explicit TMainWindow(const QString& SettingsFile = DefaultSettingsFile(), QWidget* Parent = nullptr);
  ~TMainWindow() override;

  TForm1& Form() { return *form_; }
  const TRecentFiles& RecentFiles() const { return recent_; }
  const QString& SettingsFile() const { return settings_file_; }
  // The Help window (F1), made on first use, showing the page named Page (an entry
  // of HelpPages(); the page shown last when empty), its values brought up to date.
  void ShowGuide(const QString& Page = {});

  // Writes the remembered settings on closing, once the window is off the screen
  // (WriteWindowSettings unless replaced); false when the file could not be written.
  std::function<bool(const QString& File, const TWindowSettings& Settings)> WriteSettings = &WriteWindowSettings;

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void RestoreSettings();
  // What the settings file keeps of the window as it is now.
  TWindowSettings CurrentSettings() const;

  void RunningChanged(bool Running);
  void DocumentUsed(const QString& File, TDocumentKind Kind);
  void FillRecentMenu();
  void OpenRecent(const TRecentFile& Entry);

  // Names Name for the tests and owns it through the window.
  QAction* MakeAction(const char* Name, const QString& Text, const QKeySequence& Shortcut = {});

  TForm1* form_;  // owned by the window as its central widget
  QString settings_file_;
  TRecentFiles recent_;
  bool close_after_run_ = false;

  QAction* actNew = nullptr;
  QAction* actLoad = nullptr;
  QAction* actSave = nullptr;
  QAction* actLoadGenoType = nullptr;
  QAction* actSaveGenoType = nullptr;
  QAction* actLoadPopulation = nullptr;
  QAction* actSavePopulation = nullptr;
  QAction* actQuit = nullptr;
  QAction* actRun = nullptr;
  QAction* actStop = nullptr;
  QAction* actInitialize = nullptr;
  QAction* actGuide = nullptr;
  QMenu* mnuRecent = nullptr;
  QCheckBox* cbSharedStreams = nullptr;
  QDialog* dlgGuide = nullptr;
  QListWidget* lwHelpPages = nullptr;
  QTextBrowser* tbGuide = nullptr;
};

}  // namespace zp::app
