// A headless run of the real game: the game run of the game window with a
// fake clock, a fake cursor, a scripted joystick, a host that hands the
// script's input to the game, a picture that goes nowhere and no sound
// device. Used by zuk-sim, the tests and the benchmarks.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sim/fake_platform.h"
#include "sim/script.h"

struct WorldState;

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
  std::function<void(WorldState& w, int32_t frame)> OnWait;
  // Called with every picture shown: frame number, pixels, pitch, palette.
  std::function<void(int32_t frame, const uint8_t* pixels, int32_t pitch, const uint32_t* argb)>
      OnPicture;
};

struct SimResult {
  int32_t FramesRun = 0;       // FrameNo when the run ended
  bool QuitRequested = false;  // the world's flag at the end
  bool Ended = false;          // the run ended through the program end
  std::vector<std::string> Messages;  // fatal errors reported
  int32_t MessageRounds = 0;          // rounds of message processing
  std::string Error;           // set up failure (data folder, PNG write)
};

// Applies the settings, builds the tables and the stars (as the game window's
// creation does), then runs the game run until it ends. `platform` may be
// given to inspect or preset the fake clock, cursor and joystick.
SimResult RunSim(WorldState& w, const SimOptions& options, FakePlatform* platform = nullptr);

// Writes the blank data files (768-byte zero palette, four all-zero
// 640 x 480 8-bit bitmaps) into folder. False on failure.
bool WriteBlankData(const std::string& folder);
