// A headless run of the real game: the real set-up and frame loop of the game
// window with a fake clock, a fake cursor, a scripted joystick, a picture
// that goes nowhere and no sound device. Used by zuk-sim and the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

struct WorldState;
class TForm1;

// One scripted input event, handled in the message processing of frame
// `frame`'s wait (frame 0: before the run's set-up).
struct SimEvent {
  enum Kind { KeyDown, KeyUp, Click, RightClick, Move, Joy, JoyNone };
  int32_t frame = 0;
  Kind kind = KeyDown;
  int32_t a = 0;  // key code, or x
  int32_t b = 0;  // y
  int32_t c = 0;  // joystick buttons
};

// Parses the event script: one event a line, "F keydown VK", "F keyup VK",
// "F click", "F rclick", "F move X Y", "F joy X Y BUTTONS", "F joy none";
// blank lines and lines starting with '#' are skipped. False with a message
// naming the line on a malformed line.
bool ParseSimScript(const std::string& text, std::vector<SimEvent>& events, std::string& error);

// The clock, cursor and joystick of a headless run. The clock moves only
// when the program waits for events.
class FakePlatform : public Platform {
 public:
  uint32_t Tick = 1000000;
  int32_t CursorX = 0;
  int32_t CursorY = 0;
  int32_t CursorCounter = 0;
  bool CursorReadable = true;
  bool JoyPresent = false;
  JOYINFO Joy;
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
  uint32_t JoyGetPos(uint32_t joystick, JOYINFO& info) override {
    if (joystick != 0 || !JoyPresent) return 167;
    info = Joy;
    return 0;
  }
  void JoyRelease() override { ++JoyReleases; }
  int32_t ScreenWidth() override { return Width; }
  int32_t ScreenHeight() override { return Height; }
};

struct SimOptions {
  int32_t Frames = 1;           // the run ends after this many frames
  std::string DataDir;          // the data files' folder; empty: blank files
  int32_t MaxMeteors = 20;
  bool Autopilot = true;        // AUTO=ON
  bool GameTimeLong = false;    // GAME_TIME=ON
  bool Joystick = false;        // JOY=ON
  std::vector<SimEvent> Events;
  std::map<int32_t, std::string> Pngs;  // frame -> PNG file of its picture
  // Called in every frame's wait, after that frame's events (tests).
  std::function<void(TForm1& form, int32_t frame)> OnWait;
  // Called with every picture shown: frame number, pixels, pitch, palette.
  std::function<void(int32_t frame, const uint8_t* pixels, int32_t pitch, const uint32_t* argb)>
      OnPicture;
};

struct SimResult {
  int32_t FramesRun = 0;       // FrameNo when the run ended
  bool QuitRequested = false;  // the form's flag at the end
  bool Ended = false;          // the run ended through the program end
  std::vector<std::string> Messages;  // message boxes shown
  std::string Error;           // set up failure (data folder, PNG write)
};

// Applies the settings, builds the tables and the stars (as the game window's
// creation does), then runs the game run until it ends. `platform` may be
// given to inspect or preset the fake clock, cursor and joystick.
SimResult RunSim(WorldState& w, const SimOptions& options, FakePlatform* platform = nullptr);

// Writes the blank data files (768-byte zero palette, four all-zero
// 640 x 480 8-bit bitmaps) into folder. False on failure.
bool WriteBlankData(const std::string& folder);
