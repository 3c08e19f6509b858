// Helpers the widget tests share: the log's lines as the window shows them.
#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <string>
#include <vector>

namespace zp::app_test {

// The lines of the log edit ("Memo1") below Root; empty when there is none.
inline std::vector<std::string> LogLines(const QObject& Root) {
  std::vector<std::string> lines;
  const auto* memo = Root.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  if (!memo) return lines;
  for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

}  // namespace zp::app_test
