// Stand-ins for the Windows calls the program makes: tick count, beep,
// cursor, joystick and the screen's size. Every call goes through one
// replaceable object so that tests and the headless runner can fake them,
// and the program puts in the one that knows its desktop.
#pragma once

#include <cstdint>
#include <memory>

namespace dx {

struct JOYINFO {
  uint32_t wXpos = 0;
  uint32_t wYpos = 0;
  uint32_t wZpos = 0;
  uint32_t wButtons = 0;
};

}  // namespace dx

class Platform {
 public:
  virtual ~Platform() = default;
  // Milliseconds since some fixed point, wrapping at 2^32 (GetTickCount).
  virtual uint32_t GetTickCount() = 0;
  // Blocks until something may have happened or timeoutMs has passed. The
  // real platform waits on the settings windows' events, and sleeps while
  // the game's picture is shown; a fake clock just moves on by timeoutMs.
  virtual void WaitForEvents(uint32_t timeoutMs) = 0;
  // The system's default sound (MessageBeep 0).
  virtual void MessageBeep() = 0;
  virtual void SetCursorPos(int32_t x, int32_t y) = 0;
  virtual bool GetCursorPos(int32_t& x, int32_t& y) = 0;
  // Returns the new display counter, as ShowCursor does.
  virtual int32_t ShowCursor(bool show) = 0;
  virtual void JoySetThreshold(uint32_t joystick, uint32_t threshold) = 0;
  // Fills info for joystick 0, 1, ...; non-zero when no joystick answers.
  virtual uint32_t JoyGetPos(uint32_t joystick, dx::JOYINFO& info) = 0;
  // Gives the joysticks back and stops watching for new ones; the next
  // JoyGetPos starts over.
  virtual void JoyRelease() = 0;
  virtual int32_t ScreenWidth() = 0;
  virtual int32_t ScreenHeight() = 0;
};

// The platform in force; LinuxPlatform() unless replaced.
Platform& Sys();
// Replaces the platform (nullptr puts LinuxPlatform() back). Not owned.
void SetPlatform(Platform* p);
// Linux without a desktop: the monotonic clock, sleeps, no joystick (the
// program's platforms take SDL's, video/joystick_sdl.h), a beep on stderr, no
// cursor, a screen the size of the picture. On Windows, under the same name,
// GetTickCount, Sleep and MessageBeep(0).
Platform& LinuxPlatform();

// Puts `p` in force for as long as it lives, then the one before it, however
// the scope is left.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& p) : previous_(&Sys()) { SetPlatform(&p); }
  ~ScopedPlatform() { SetPlatform(previous_ == &LinuxPlatform() ? nullptr : previous_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};
