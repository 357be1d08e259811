#include "app/desktop_platform.h"

#include <FL/Fl.H>
#include <SDL.h>

#include "app/desktop_system.h"
#include "base/picture.h"
#include "video/joystick_sdl.h"
#include "video/picture_mapping.h"

using namespace dx;

namespace {

struct ScreenBox {
  int x = 0, y = 0, w = kPictureWidth, h = kPictureHeight;
};

// The whole main screen (Fl::w() and Fl::h() are its work area, without
// the desktop's panels).
ScreenBox MainScreen() {
  ScreenBox b;
  Fl::screen_xywh(b.x, b.y, b.w, b.h, 0);
  return b;
}

class Desktop : public Platform {
 public:
  uint32_t GetTickCount() override { return linux_.GetTickCount(); }

  void WaitForEvents(uint32_t timeoutMs) override {
    if (timeoutMs == 0) return;
    // While no picture is shown, the windows' events end the wait. Between
    // the game's frames the game takes its input once a frame, in the
    // message processing after the wait: watching the picture's connection
    // would wake the program a second time each frame for the server's
    // answer to the frame just drawn, and SDL's own wait pumps every
    // millisecond while a joystick is open.
    if (!PictureActive() && ToolkitWaits()) {
      Fl::wait(timeoutMs / 1000.0);
    } else {
      linux_.WaitForEvents(timeoutMs);
    }
  }

  void MessageBeep() override {
    if (!DesktopDisplayOpen()) return linux_.MessageBeep();
    DesktopBeep();
  }

  void SetCursorPos(int32_t x, int32_t y) override {
    if (!DesktopDisplayOpen()) return;
    int32_t dx = x, dy = y;
    PictureToDesktop(x, y, dx, dy);
    WarpPointer(dx, dy);
  }

  bool GetCursorPos(int32_t& x, int32_t& y) override {
    int32_t rx = 0, ry = 0;
    if (!DesktopDisplayOpen() || !QueryPointer(rx, ry)) return false;
    DesktopToPicture(rx, ry, x, y);
    return true;
  }

  int32_t ShowCursor(bool show) override {
    counter_ += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(counter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return counter_;
  }

  void JoySetThreshold(uint32_t joystick, uint32_t threshold) override { SdlJoySetThreshold(joystick, threshold); }
  uint32_t JoyGetPos(uint32_t joystick, JOYINFO& info) override { return SdlJoyGetPos(joystick, info); }
  void JoyRelease() override { SdlJoyShutdown(); }

  // While the picture is shown, the screen is the picture.
  int32_t ScreenWidth() override { return !PictureActive() && DesktopDisplayOpen() ? MainScreen().w : kPictureWidth; }
  int32_t ScreenHeight() override { return !PictureActive() && DesktopDisplayOpen() ? MainScreen().h : kPictureHeight; }

 private:
  Platform& linux_ = LinuxPlatform();
  int32_t counter_ = 0;
};

}  // namespace

Platform& DesktopPlatform() {
  static Desktop* platform = new Desktop();
  return *platform;
}
