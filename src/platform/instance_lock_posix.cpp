#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>

#include "platform/instance_lock.h"
#include "platform/system_folder.h"

LockResult LockMarkerFile(const std::string& path, FileHandle& file) {
  FileHandle opened(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!opened.Valid()) return LockResult::NoFile;
  if (::flock(static_cast<int>(opened.Get()), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? LockResult::Busy : LockResult::NoFile;
  }
  file = std::move(opened);
  return LockResult::Taken;
}

namespace {

constexpr const char* kMarker = "ZUK_RER1.lock";

// $XDG_RUNTIME_DIR when it is set to an absolute path, else nullptr.
const char* RuntimeDir() {
  const char* run = std::getenv("XDG_RUNTIME_DIR");
  return run != nullptr && *run == '/' ? run : nullptr;
}

}  // namespace

std::string InstanceLock::LockPath() {
  if (const char* run = RuntimeDir()) return JoinPath(run, kMarker);
  return JoinPath(SystemFolder(), kMarker);
}

bool InstanceLock::Acquire() {
  if (Held()) return true;
  // Both places are checked: a start without the runtime folder (another
  // session's environment, su, a cron job) takes only the system folder's.
  // A runtime folder that is named but missing leaves the system folder's
  // marker to guard alone.
  const std::string system = JoinPath(SystemFolder(), kMarker);
  const bool runtime = RuntimeDir() != nullptr && LockPath() != system;
  const LockResult run = runtime ? LockMarkerFile(LockPath(), runtime_) : LockResult::NoFile;
  const bool skipSystem = run == LockResult::Busy || !EnsureSystemFolder();
  const LockResult sys = skipSystem ? LockResult::NoFile : LockMarkerFile(system, system_);
  if (run != LockResult::Busy && sys != LockResult::Busy) return true;
  Release();
  return false;
}
