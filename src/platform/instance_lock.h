// The single-instance marker: an exclusive lock on "ZUK_RER1.lock" in the
// system folder and, when $XDG_RUNTIME_DIR is set to an absolute path, on
// one there too, so that starts with and without that variable see each
// other. The system drops the lock when the process dies, so a crashed
// instance never blocks the next start, and testing and taking the marker
// are one atomic step.
// On Windows the marker is the named mutex "ZUK_RER1" (LockPath() is its
// name): a mutex of that name that exists already counts as a running
// instance, and the system drops it with its last handle.
#pragma once

#include <string>

#include "platform/file_system.h"

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process now holds the marker; false when another
  // instance holds it in either place. A marker file that can't be made in
  // a place counts as no other instance there (the run goes on without a
  // marker when neither can be made).
  bool Acquire();
  void Release();
  bool Held() const { return runtime_.Valid() || system_.Valid(); }

  // Where the marker is looked for first.
  static std::string LockPath();

 private:
  FileHandle runtime_;
  FileHandle system_;
};

// How taking the lock on one marker file went (the POSIX body's).
enum class LockResult { Taken, Busy, NoFile };
// Takes the exclusive lock on the marker file at `path` (made when missing,
// never through a link) into `file` (the system's body).
LockResult LockMarkerFile(const std::string& path, FileHandle& file);
