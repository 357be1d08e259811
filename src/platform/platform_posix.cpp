#include <time.h>

#include <cstdio>

#include "base/picture.h"
#include "platform/platform.h"

using namespace dx;

namespace {

constexpr uint32_t kJoyErrUnplugged = 167;  // JOYERR_UNPLUGGED

class BasicPlatform : public Platform {
 public:
  uint32_t GetTickCount() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
  }

  // A sleep, which a signal ends early.
  void WaitForEvents(uint32_t timeoutMs) override {
    if (timeoutMs == 0) return;
    timespec ts{static_cast<time_t>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
  }

  void MessageBeep() override { std::fputc('\a', stderr); }
  void SetCursorPos(int32_t, int32_t) override {}
  bool GetCursorPos(int32_t&, int32_t&) override { return false; }
  int32_t ShowCursor(bool show) override { return counter_ += show ? 1 : -1; }
  void JoySetThreshold(uint32_t, uint32_t) override {}
  uint32_t JoyGetPos(uint32_t, JOYINFO&) override { return kJoyErrUnplugged; }
  void JoyRelease() override {}
  int32_t ScreenWidth() override { return kPictureWidth; }
  int32_t ScreenHeight() override { return kPictureHeight; }

 private:
  int32_t counter_ = 0;
};

}  // namespace

Platform& LinuxPlatform() {
  static BasicPlatform* platform = new BasicPlatform();
  return *platform;
}
