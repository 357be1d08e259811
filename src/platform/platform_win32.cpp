#include "platform/basic_platform.h"
#include "platform/windows_text_win32.h"

namespace {

// Windows without a desktop of the program's: the tick count, sleeps and
// the default sound.
class WindowsPlatform : public BasicPlatform {
 public:
  uint32_t GetTickCount() override { return static_cast<uint32_t>(::GetTickCount64()); }
  void WaitForEvents(uint32_t timeoutMs) override {
    if (timeoutMs != 0) ::Sleep(timeoutMs);
  }
  void MessageBeep() override { ::MessageBeep(0); }
};

}  // namespace

Platform& LinuxPlatform() {
  static WindowsPlatform* platform = new WindowsPlatform();
  return *platform;
}
