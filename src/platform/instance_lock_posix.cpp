#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

#include "platform/instance_lock.h"

LockResult LockMarkerFile(const std::string& path, FileHandle& file) {
  FileHandle opened(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!opened.Valid()) return LockResult::NoFile;
  if (::flock(static_cast<int>(opened.Get()), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? LockResult::Busy : LockResult::NoFile;
  }
  file = std::move(opened);
  return LockResult::Taken;
}
