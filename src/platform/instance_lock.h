// The single-instance marker: an exclusive flock on "ZUK_RER1.lock" in
// $XDG_RUNTIME_DIR (or the system folder, when that is unset, relative or
// can't hold the file). The kernel drops the lock when
// the process dies, so a crashed instance never blocks the next start, and
// testing and taking the marker are one atomic step.
#pragma once

#include <string>

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process now holds the marker; false when another
  // instance holds it. A marker file that can't be made in either folder
  // counts as no other instance (the run goes on without a marker).
  bool Acquire();
  void Release();
  bool Held() const { return fd_ >= 0; }

  // Where the marker is looked for first.
  static std::string LockPath();

 private:
  int fd_ = -1;
};
