#include "experiment/OutputFiles.h"

#include <system_error>

#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace zp::experiment {

void WriteOutputFiles(const std::filesystem::path& Folder, const std::vector<TOutputFile>& Files) {
  for (const TOutputFile& file : Files) {
    const std::filesystem::path path = Folder / file.Path;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) throw EFileError(path.string(), "cannot make its folder (" + ec.message() + ")");
    WriteFileAtomically(path.string(), file.Text);
  }
}

}  // namespace zp::experiment
