// Joining the fields of one line of the experiment's CSV files. No field holds
// a comma, a quote or a line end (numbers, method names, bit texts), so none is quoted.
#pragma once

#include <initializer_list>
#include <string>

namespace zp::experiment {

// Fields joined by ",", without a line end; "" for no fields.
inline std::string CsvLine(std::initializer_list<std::string> Fields) {
  std::string line;
  bool first = true;
  for (const std::string& field : Fields) {
    if (!first) line += ',';
    line += field;
    first = false;
  }
  return line;
}

}  // namespace zp::experiment
