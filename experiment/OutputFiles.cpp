#include "experiment/OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/Exceptions.h"

namespace zp::experiment {

namespace {

[[noreturn]] void CannotWrite(const std::filesystem::path& File, const std::string& Reason) {
  throw Exception("cannot write " + File.string() + ": " + Reason);
}

void WriteWhole(const std::filesystem::path& File, const std::string& Text) {
  std::error_code ec;
  std::filesystem::create_directories(File.parent_path(), ec);
  if (ec) CannotWrite(File, ec.message());
  std::filesystem::path partial = File;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) CannotWrite(File, std::strerror(errno));
    out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    out.close();
    if (!out) {
      const std::string reason = std::strerror(errno);
      std::filesystem::remove(partial, ec);
      CannotWrite(File, reason);
    }
  }
  std::filesystem::rename(partial, File, ec);
  if (ec) {
    const std::string reason = ec.message();
    std::filesystem::remove(partial, ec);
    CannotWrite(File, reason);
  }
}

}  // namespace

void WriteOutputFiles(const std::filesystem::path& Folder, const std::vector<TOutputFile>& Files) {
  for (const TOutputFile& file : Files) WriteWhole(Folder / file.Path, file.Text);
}

}  // namespace zp::experiment
