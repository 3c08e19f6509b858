#include "app/FileDialogs.h"

#include <QFileDialog>
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
  if (!Proposed.isEmpty()) dialog.selectFile(Proposed);
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

QString TFileDialogs::ExecuteSave() {
  const QString name = OnChooseSaveFile ? OnChooseSaveFile(save_file_name_) : QString();
  if (!name.isEmpty()) save_file_name_ = name;
  return name;
}

QString TFileDialogs::ExecuteOpen() {
  const QString name = OnChooseOpenFile ? OnChooseOpenFile(open_file_name_) : QString();
  if (!name.isEmpty()) open_file_name_ = name;
  return name;
}

}  // namespace zp::app
