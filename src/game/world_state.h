// The game's world: every value the game keeps from one frame to the next,
// under one struct so that the program has one process-wide instance and
// every test can make a fresh one. Member names follow the game's own names.
#pragma once

#include <cstdint>
#include <string>

#include "config/settings.h"
#include "video/display_device.h"

class TDSPolySound;

struct CursorPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Direction commands, as the keys of the numeric keypad.
constexpr int32_t kDirNone = 0;
constexpr int32_t kDirLeft = 4;
constexpr int32_t kDirRight = 6;
constexpr int32_t kDirUp = 8;
constexpr int32_t kDirDown = 2;

constexpr int kMeteorSlots = 1001;    // arrays of 1001; 0..MaxMeteors-1 used
constexpr int kShotSlots = 15;        // shots use the first 15 of 1001
constexpr int kParticleSlots = 200;   // particles use the first 200 of 1001
constexpr int kStarCount = 200;       // stars use 0..199 of 201
constexpr int kHiScoreEntries = 51;   // one entry per meteor count 0..50

// The settings it runs with (MaxMeteors, Volume, SoundOff, JoystickOn,
// AutoResume, Autopilot, GameTimeLong, DataPath) are the world's own.
struct WorldState : Settings {
  int32_t FrameDelay = 25;

  // --- Run counters -----------------------------------------------------
  int32_t FrameNo = 0;
  int32_t WarmUpFrames = 0;
  int32_t IdleFrames = 0;
  int32_t MouseWatch = 0;
  int32_t CursorHomeX = 0;
  int32_t CursorHomeY = 0;
  CursorPoint CursorPos;
  // Values that live only while the game run lasts (locals of the run).
  uint32_t LastFrameTick = 0;
  int32_t CursorNudgeCount = 0;
  int32_t ShipBank = 3;
  int32_t SteerTimer = 0;
  int32_t FireTimer = 0;
  int32_t TimeLeft = 0;

  // --- Control commands -------------------------------------------------
  int32_t KeyHorz = 0;
  int32_t KeyVert = 0;
  int32_t KeyFire = 0;
  int32_t PilotHorz = 0;
  int32_t PilotVert = 0;
  int32_t PilotFire = 0;
  int32_t FireLatch = 0;
  int32_t JoyX = 0;
  int32_t JoyY = 0;
  int32_t JoyButtons = 0;
  int32_t JoyButtonsAtStart = 0;

  // --- Ship -------------------------------------------------------------
  int32_t ShipX = 280;
  int32_t ShipY = 300;
  int32_t ShipAnim = 0;

  // --- Meteors ----------------------------------------------------------
  int32_t MeteorX[kMeteorSlots] = {};
  int32_t MeteorY[kMeteorSlots] = {};
  int32_t MeteorDX[kMeteorSlots] = {};
  int32_t MeteorDY[kMeteorSlots] = {};
  int32_t MeteorFrame[kMeteorSlots] = {};
  int32_t MeteorSpin[kMeteorSlots] = {};
  int32_t MeteorBlast[kMeteorSlots] = {};

  // --- Shots ------------------------------------------------------------
  int32_t ShotX[kMeteorSlots] = {};
  int32_t ShotY[kMeteorSlots] = {};
  int32_t ShotOn[kMeteorSlots] = {};

  // --- Explosion particles ----------------------------------------------
  int32_t ParticleOn[kMeteorSlots] = {};
  int32_t ParticleX[kMeteorSlots] = {};
  int32_t ParticleY[kMeteorSlots] = {};
  int32_t ParticleAngle[kMeteorSlots] = {};
  int32_t ParticleSpeed[kMeteorSlots] = {};
  int32_t ParticleLife[kMeteorSlots] = {};
  int32_t StepX[366][101] = {};
  int32_t StepY[366][101] = {};
  uint8_t FlameColors[8] = {255, 199, 190, 184, 178, 177, 0, 0};

  // --- Background -------------------------------------------------------
  int32_t ScrollY = 0;
  int32_t StarX[kStarCount + 1] = {};
  int32_t StarY[kStarCount + 1] = {};
  int32_t StarColor[kStarCount + 1] = {};

  // --- Scored game --------------------------------------------------------
  int32_t GamePhase = 0;
  int32_t Score = 0;
  int32_t HiScore = 0;
  int32_t NewRecord = 0;
  uint16_t HiScoreTable[kHiScoreEntries] = {};
  // Set once the table has been read from (or created as) score.dat; a
  // table that was never loaded is never written back over the file.
  bool HiScoreLoaded = false;
  std::string HiScoreFile;  // where the table is written back
  // Handed in by the game's host: the per-user folder, which keeps the
  // records the install folder can't, and whether the install folder belongs
  // to an installed package (read, never written).
  std::string UserFolder;
  bool PackageDataFolder = false;

  // --- Sound parameters ---------------------------------------------------
  int32_t PlayVolume = 0;
  int32_t PlayPan = 0;
  int32_t PlayFrequency = 0;
  TDSPolySound* FireSound = nullptr;
  TDSPolySound* BlastSound = nullptr;

  // --- Messages -------------------------------------------------------------
  std::string ErrorText;
  // Set by the input handlers, tested by the frame loop before each frame.
  bool QuitRequested = false;

  // --- Display device (palette, surfaces, clip rectangle) -------------------
  DisplayDevice Video;

  // --- Random source --------------------------------------------------------
  // 32-bit linear congruential generator; 0 at program start, never seeded
  // from the clock; the G key puts it back to 0.
  uint32_t RandSeed = 0;

  // Random(n): 0..n-1. state = state * 134775813 + 1 (mod 2^32), then the
  // high 32 bits of the unsigned 64-bit product state * n.
  int32_t Random(int32_t n) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<int32_t>((static_cast<uint64_t>(RandSeed) * static_cast<uint32_t>(n)) >> 32);
  }
};

// 32-bit counters that run for as long as the screen saver runs (frames,
// idle frames, autopilot timers) wrap around like the machine's registers
// instead of overflowing.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The program's one world.
WorldState& World();
