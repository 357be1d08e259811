#include "platform/basic_platform.h"
#include "platform/windows_text_win32.h"

namespace {

// Windows without a desktop of the program's: the tick count, sleeps and
// the default sound. The ticks come from the performance counter: the
// system's tick count moves in steps of the timer's period (15.6 ms).
class WindowsPlatform : public BasicPlatform {
 public:
  uint32_t GetTickCount() override {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint32_t>(now.QuadPart / frequency.QuadPart * 1000 + now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart);
  }
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
