// Helpers the widget tests share: the log's lines as the window shows them,
// and the bits of the population the form's workbench holds.
#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <string>
#include <vector>

#include "app/QueensMain.h"

namespace zp::app_test {

// The lines of the log edit ("Memo1") below Root; empty when there is none.
inline std::vector<std::string> LogLines(const QObject& Root) {
  std::vector<std::string> lines;
  const auto* memo = Root.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  if (!memo) return lines;
  for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

// Every chromosome of the workbench's population, as bit text.
inline std::vector<std::string> Chromosomes(app::TForm1& Form) {
  std::vector<std::string> bits;
  const auto& population = Form.Workbench().Algorithm().Population();
  for (int i = 0; i < population.Count(); ++i) bits.push_back(population.Items(i).Bits().BitString());
  return bits;
}

}  // namespace zp::app_test
