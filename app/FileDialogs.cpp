#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace zp::app {

QString QtFileFilter(const QString& Filter) {
  const QStringList parts = Filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString pattern = parts[i + 1];
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries << (description.contains(QLatin1Char('(')) ? description : description + " (" + pattern + ")");
  }
  return entries.join(QStringLiteral(";;"));
}

namespace {

QString RunFileDialog(QWidget* Parent, QFileDialog::AcceptMode Mode, const QString& Proposed) {
  QFileDialog dialog(Parent);
  dialog.setAcceptMode(Mode);
  dialog.setFileMode(Mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setNameFilter(QtFileFilter(QString::fromLatin1(kGAFileFilter)));
  dialog.setDefaultSuffix(QString::fromLatin1(kGADefaultSuffix));
  if (QFileInfo(Proposed).isDir())
    dialog.setDirectory(Proposed);
  else if (!Proposed.isEmpty())
    dialog.selectFile(Proposed);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

TFileDialogs::TFileDialogs(QWidget* Parent) : parent_(Parent) {
  OnChooseSaveFile = [this](const QString& proposed) {
    return RunFileDialog(parent_, QFileDialog::AcceptSave, proposed);
  };
  OnChooseOpenFile = [this](const QString& proposed) {
    return RunFileDialog(parent_, QFileDialog::AcceptOpen, proposed);
  };
}

void TFileDialogs::SetSaveFileName(const QString& Name) {
  save_file_name_ = Name;
  if (!Name.isEmpty()) folder_ = QFileInfo(Name).absolutePath();
}

void TFileDialogs::SetOpenFileName(const QString& Name) {
  open_file_name_ = Name;
  if (!Name.isEmpty()) folder_ = QFileInfo(Name).absolutePath();
}

QString TFileDialogs::ExecuteSave() {
  const QString& proposed = save_file_name_.isEmpty() ? folder_ : save_file_name_;
  const QString name = OnChooseSaveFile ? OnChooseSaveFile(proposed) : QString();
  if (!name.isEmpty()) SetSaveFileName(name);
  return name;
}

QString TFileDialogs::ExecuteOpen() {
  const QString& proposed = open_file_name_.isEmpty() ? folder_ : open_file_name_;
  const QString name = OnChooseOpenFile ? OnChooseOpenFile(proposed) : QString();
  if (!name.isEmpty()) SetOpenFileName(name);
  return name;
}

}  // namespace zp::app
