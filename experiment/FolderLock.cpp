#include "experiment/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zp::experiment {

TFolderLock::TFolderLock(const std::filesystem::path& Folder) {
  const std::string name = "'" + Folder.string() + "'";
  std::error_code ec;
  std::filesystem::create_directories(Folder, ec);
  if (ec) throw TFolderBusy(name + " cannot be made (" + ec.message() + ")");
  const std::filesystem::path file = Folder / kLockFileName;
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) throw TFolderBusy(name + " cannot be locked (" + std::strerror(errno) + ")");
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  const int error = errno;
  ::close(fd_);
  fd_ = -1;
  if (error == EWOULDBLOCK) throw TFolderBusy(name + " is in use by another batch; wait for it, or give another --out");
  if (error == ENOLCK)
    throw TFolderBusy(name + " is on a file system without locks; give a folder on a local disk as --out");
  throw TFolderBusy(name + " cannot be locked (" + std::strerror(error) + ")");
}

TFolderLock::~TFolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool FolderLocked(const std::filesystem::path& Folder) {
  const int fd = ::open((Folder / kLockFileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared lock is refused while a batch holds the exclusive one.
  const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return locked;
}

bool FolderEmpty(const std::filesystem::path& Folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Folder, ec))
    if (entry.path().filename() != kLockFileName) return false;
  return true;
}

}  // namespace zp::experiment
