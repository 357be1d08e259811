#include <time.h>

#include <cstdio>

#include "platform/basic_platform.h"

namespace {

class PosixPlatform : public BasicPlatform {
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
};

}  // namespace

Platform& LinuxPlatform() {
  static PosixPlatform* platform = new PosixPlatform();
  return *platform;
}
