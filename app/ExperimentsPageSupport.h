// What the Experiments page's two source files share: its worker threads by
// default, the folder offered to a new experiment and how a path is shown.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QThread>
#include <algorithm>
#include <filesystem>

namespace zp::app::experiments_page {

inline int HardwareJobs() { return std::max(QThread::idealThreadCount(), 1); }

// The first "experiment-N" that does not exist in Parent.
inline QString NewFolderIn(const QString& Parent) {
  for (int n = 1;; ++n) {
    const QString candidate = QDir(Parent).filePath(QStringLiteral("experiment-%1").arg(n));
    if (!QFileInfo::exists(candidate)) return candidate;
  }
}

inline QString Shown(const std::filesystem::path& Path) {
  return QFile::decodeName(QByteArray::fromStdString(Path.string()));
}

}  // namespace zp::app::experiments_page
