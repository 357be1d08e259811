// What the systems' default platforms share: no cursor, no joystick (the
// program's platforms take SDL's, video/joystick_sdl.h), a screen the size
// of the picture. Each system adds its clock, waits and beep.
#pragma once

#include "base/picture.h"
#include "platform/platform.h"

class BasicPlatform : public Platform {
 public:
  void SetCursorPos(int32_t, int32_t) override {}
  bool GetCursorPos(int32_t&, int32_t&) override { return false; }
  int32_t ShowCursor(bool show) override { return counter_ += show ? 1 : -1; }
  void JoySetThreshold(uint32_t, uint32_t) override {}
  uint32_t JoyGetPos(uint32_t, dx::JOYINFO&) override { return kJoyErrUnplugged; }
  void JoyRelease() override {}
  int32_t ScreenWidth() override { return kPictureWidth; }
  int32_t ScreenHeight() override { return kPictureHeight; }

 private:
  static constexpr uint32_t kJoyErrUnplugged = 167;  // JOYERR_UNPLUGGED
  int32_t counter_ = 0;
};
