#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/ScopeGuard.h"

namespace zp {

namespace {

std::atomic<unsigned> g_temp_counter{0};

std::string ErrnoText(int Error) { return std::strerror(Error); }

// The file a save replaces: what a link points to, not the link itself.
std::filesystem::path SaveTarget(const std::string& FileName) {
  namespace fs = std::filesystem;
  fs::path target(FileName);
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  return target;
}

// A new temporary file in Folder, opened for writing; -1 (errno set) when none
// could be made. The name does not grow with the target's: ".zp-PID-N.tmp".
int OpenTemporaryIn(const std::filesystem::path& Folder, std::filesystem::path& Temp) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    std::string name = ".zp-";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(g_temp_counter++);
    name += ".tmp";
    Temp = Folder / name;
    fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  return fd;
}

// All of Text to Fd; false (errno set) on a failed write.
bool WriteAll(int Fd, std::string_view Text) {
  const char* p = Text.data();
  size_t left = Text.size();
  while (left > 0) {
    const ssize_t n = ::write(Fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void WriteFileAtomically(const std::string& FileName, std::string_view Text) {
  namespace fs = std::filesystem;
  auto fail = [&](const std::string& what, int error) {
    return EFileError(FileName, what + " (" + ErrnoText(error) + ")");
  };
  auto refuse = [&] { return EFileError(FileName, "cannot write the file (not a regular file)"); };
  const fs::path target = SaveTarget(FileName);
  if (target.filename().empty()) throw fail("cannot write the file", EISDIR);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat old_stat {};
  const bool existed = ::stat(target.c_str(), &old_stat) == 0;
  if (existed && S_ISDIR(old_stat.st_mode)) throw fail("cannot write the file", EISDIR);
  // A FIFO, a socket or a device is no file to replace: its readers and its kind would be lost.
  if (existed && !S_ISREG(old_stat.st_mode)) throw refuse();
  // The rename below needs only the folder to be writable: a file the user may
  // not write (read-only, or another user's) is refused as writing it in place would be.
  if (existed && ::access(target.c_str(), W_OK) != 0) throw fail("cannot write the file", errno);

  fs::path temp;
  int fd = OpenTemporaryIn(folder, temp);
  if (fd < 0) throw fail("cannot create a temporary file next to it", errno);
  // Until the rename, every way out closes the file and removes it.
  bool renamed = false;
  TScopeExit cleanup([&] {
    if (fd >= 0) ::close(fd);
    if (!renamed) ::unlink(temp.c_str());
  });

  // A replaced file keeps its permissions.
  if (existed) ::fchmod(fd, old_stat.st_mode & 07777);
  if (!WriteAll(fd, Text) || ::fsync(fd) != 0) throw fail("cannot write the file", errno);
  if (::close(std::exchange(fd, -1)) != 0) throw fail("cannot write the file", errno);
  // What stands at the target now is looked at again: a FIFO made meanwhile is not replaced either.
  struct stat now {};
  if (::lstat(target.c_str(), &now) == 0 && !S_ISREG(now.st_mode) && !S_ISLNK(now.st_mode)) throw refuse();
  if (::rename(temp.c_str(), target.c_str()) != 0) throw fail("cannot replace the file", errno);
  renamed = true;
  // Make the rename itself durable; a failure here loses nothing.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

std::string ReadRegularFile(const std::string& FileName, size_t MaxBytes, const std::string& Limit) {
  // Without blocking: a FIFO with no writer would hold the open for good.
  const int fd = ::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EFileError(FileName, "cannot open the file (" + ErrnoText(errno) + ")");
  TScopeExit closed([fd] { ::close(fd); });
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw EFileError(FileName, "cannot read the file (" + ErrnoText(errno) + ")");
  if (!S_ISREG(st.st_mode)) throw EFileError(FileName, "cannot read the file (not a regular file)");
  const EFileError too_large(FileName, "the file is larger than " + std::to_string(MaxBytes) + " bytes, " + Limit);
  if (static_cast<uint64_t>(st.st_size) > MaxBytes) throw too_large;
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EFileError(FileName, "cannot read the file (" + ErrnoText(errno) + ")");
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
    if (data.size() > MaxBytes) throw too_large;
  }
  return data;
}

}  // namespace zp
