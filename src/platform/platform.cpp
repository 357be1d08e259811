#include "platform/platform.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <SDL.h>
#include <time.h>

#include <cstdio>

#include "shell/application.h"
#include "platform/joystick_sdl.h"
#include "video/presenter.h"

namespace {

Platform* g_platform = nullptr;

struct ScreenBox {
  int x = 0, y = 0, w = 640, h = 480;
};

// The whole main screen (Fl::w() and Fl::h() are its work area, without
// the desktop's panels).
ScreenBox MainScreen() {
  ScreenBox b;
  Fl::screen_xywh(b.x, b.y, b.w, b.h, 0);
  return b;
}

bool XDisplayOpen() {
  if (!App().Windowed) return false;
  if (fl_display == nullptr) fl_open_display();
  return fl_display != nullptr;
}

class RealPlatform : public Platform {
 public:
  uint32_t GetTickCount() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
  }

  void WaitForEvents(uint32_t timeoutMs) override {
    if (timeoutMs == 0) return;
    if (!PictureActive() && App().Windowed && fl_display != nullptr) {
      Fl::wait(timeoutMs / 1000.0);
    } else {
      // A sleep, which a signal ends early. Between the game's frames the
      // game takes its input once a frame, in the message processing after
      // the wait: watching the picture's connection would wake the program
      // a second time each frame for the server's answer to the frame just
      // drawn, and SDL's own wait pumps every millisecond while a joystick
      // is open.
      timespec ts{static_cast<time_t>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000000L};
      nanosleep(&ts, nullptr);
    }
  }

  void MessageBeep() override {
    if (XDisplayOpen()) {
      XBell(fl_display, 0);
      XFlush(fl_display);
    } else {
      std::fputc('\a', stderr);
    }
  }

  void SetCursorPos(int32_t x, int32_t y) override {
    if (!XDisplayOpen()) return;
    int32_t dx = x, dy = y;
    PictureToDesktop(x, y, dx, dy);
    XWarpPointer(fl_display, None, RootWindow(fl_display, fl_screen), 0, 0, 0, 0, dx, dy);
    XFlush(fl_display);
  }

  bool GetCursorPos(int32_t& x, int32_t& y) override {
    if (!XDisplayOpen()) return false;
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(fl_display, RootWindow(fl_display, fl_screen), &root, &child, &rx, &ry, &wx, &wy, &mask)) {
      return false;
    }
    DesktopToPicture(rx, ry, x, y);
    return true;
  }

  int32_t ShowCursor(bool show) override {
    counter_ += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(counter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return counter_;
  }

  void JoySetThreshold(uint32_t joystick, uint32_t threshold) override {
    SdlJoySetThreshold(joystick, threshold);
  }

  uint32_t JoyGetPos(uint32_t joystick, JOYINFO& info) override { return SdlJoyGetPos(joystick, info); }

  void JoyRelease() override { SdlJoyShutdown(); }

  int32_t ScreenWidth() override {
    if (PictureActive()) return 640;
    return XDisplayOpen() ? MainScreen().w : 640;
  }

  int32_t ScreenHeight() override {
    if (PictureActive()) return 480;
    return XDisplayOpen() ? MainScreen().h : 480;
  }

 private:
  int32_t counter_ = 0;
};

}  // namespace

Platform& LinuxPlatform() {
  static RealPlatform* platform = new RealPlatform();
  return *platform;
}

Platform& Sys() { return g_platform ? *g_platform : LinuxPlatform(); }

void SetPlatform(Platform* p) { g_platform = p; }
