// The clock, cursor and joystick of a headless run, faked: the clock moves
// only when the program waits for events.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class FakePlatform : public Platform {
 public:
  uint32_t Tick = 1000000;
  int32_t CursorX = 0;
  int32_t CursorY = 0;
  int32_t CursorCounter = 0;
  bool CursorReadable = true;
  bool JoyPresent = false;
  dx::JOYINFO Joy;
  int32_t Width = 640;
  int32_t Height = 480;
  // Statistics for tests.
  int32_t Waits = 0;
  uint64_t WaitedMs = 0;
  int32_t TickReads = 0;
  int32_t CursorSets = 0;
  int32_t CursorGets = 0;
  int32_t Beeps = 0;
  int32_t JoyReleases = 0;

  uint32_t GetTickCount() override {
    ++TickReads;
    return Tick;
  }
  void WaitForEvents(uint32_t timeoutMs) override {
    ++Waits;
    WaitedMs += timeoutMs;
    Tick += timeoutMs;
  }
  void MessageBeep() override { ++Beeps; }
  void SetCursorPos(int32_t x, int32_t y) override {
    ++CursorSets;
    CursorX = x;
    CursorY = y;
  }
  bool GetCursorPos(int32_t& x, int32_t& y) override {
    ++CursorGets;
    if (!CursorReadable) return false;
    x = CursorX;
    y = CursorY;
    return true;
  }
  int32_t ShowCursor(bool show) override { return CursorCounter += show ? 1 : -1; }
  void JoySetThreshold(uint32_t, uint32_t) override {}
  uint32_t JoyGetPos(uint32_t joystick, dx::JOYINFO& info) override {
    if (joystick != 0 || !JoyPresent) return 167;
    info = Joy;
    return 0;
  }
  void JoyRelease() override { ++JoyReleases; }
  int32_t ScreenWidth() override { return Width; }
  int32_t ScreenHeight() override { return Height; }
};
