#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/system_folder.h"

InstanceLock::~InstanceLock() { Release(); }

namespace {

// $XDG_RUNTIME_DIR when it is set to an absolute path, else nullptr.
const char* RuntimeDir() {
  const char* run = std::getenv("XDG_RUNTIME_DIR");
  return run != nullptr && *run == '/' ? run : nullptr;
}

}  // namespace

std::string InstanceLock::LockPath() {
  if (const char* run = RuntimeDir()) return JoinPath(run, "ZUK_RER1.lock");
  return JoinPath(SystemFolder(), "ZUK_RER1.lock");
}

namespace {

int OpenLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

}  // namespace

bool InstanceLock::Acquire() {
  if (fd_ >= 0) return true;
  // A runtime folder that is named but missing (or not ours to write) falls
  // back to the system folder: a check skipped would let two instances run.
  int fd = RuntimeDir() != nullptr ? OpenLockFile(LockPath()) : -1;
  if (fd < 0 && EnsureSystemFolder()) fd = OpenLockFile(JoinPath(SystemFolder(), "ZUK_RER1.lock"));
  if (fd < 0) return true;  // no marker possible anywhere: run without one
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return !busy;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::Release() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}
