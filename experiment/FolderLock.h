// TFolderLock: an experiment folder owned by one process. An exclusive flock
// on DIR/.lock, taken before anything of the folder is read or written and
// held while the object lives; the file is left in place (it is no result and
// counts for nothing when a folder is looked at). A second batch on the same
// folder is refused at once instead of interleaving its rows with the first's.
//
//   TFolderLock lock("exp12");   // TFolderBusy when another process holds it
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zp::experiment {

inline constexpr const char* kLockFileName = ".lock";

// The folder is locked by another process, or cannot be locked at all (Message says which).
class TFolderBusy : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFolderLock {
 public:
  // Makes Folder if it is missing, then locks it. Raises TFolderBusy naming
  // the folder when another process holds it, when its file system has no
  // locks (ENOLCK: a network folder) or the lock file cannot be made.
  explicit TFolderLock(const std::filesystem::path& Folder);
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

 private:
  int fd_ = -1;
};

// True when a process holds Folder's lock now; a folder without a lock file is
// held by no one. Only looks: makes no file and keeps no lock.
bool FolderLocked(const std::filesystem::path& Folder);

// True when Folder holds nothing but, perhaps, its lock file.
bool FolderEmpty(const std::filesystem::path& Folder);

}  // namespace zp::experiment
