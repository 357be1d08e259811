#include "platform/instance_lock.h"
#include "platform/windows_text_win32.h"

namespace {

constexpr const wchar_t* kMutexName = L"ZUK_RER1";

}  // namespace

std::string InstanceLock::LockPath() { return Utf8(kMutexName); }

// A mutex of that name that exists already counts as a running instance,
// whoever made it; one that another account made and this one may not open
// too. The system drops the name with the last handle, a crashed holder's too.
bool InstanceLock::Acquire() {
  if (Held()) return true;
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (mutex == nullptr) return GetLastError() != ERROR_ACCESS_DENIED;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  system_ = FileHandle(reinterpret_cast<FileHandle::Native>(mutex));
  return true;
}
