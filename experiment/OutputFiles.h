// Output files made as text first and written afterwards: a relative path with
// its whole content, and the writer that puts a set of them into a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zp::experiment {

struct TOutputFile {
  std::string Path;  // relative to the experiment's folder, "/" between parts
  std::string Text;
  bool operator==(const TOutputFile&) const = default;
};

// Writes each file under Folder, making the folders it needs; each file appears
// whole or not at all, and only over a regular file (zp::WriteFileAtomically).
// Raises EFileError naming the file on the first failure; files written before it stay.
void WriteOutputFiles(const std::filesystem::path& Folder, const std::vector<TOutputFile>& Files);

}  // namespace zp::experiment
