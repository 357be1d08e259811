#include "video/joystick_sdl.h"

#include <SDL.h>

using namespace dx;

namespace {

constexpr uint32_t kJoyErrUnplugged = 167;  // JOYERR_UNPLUGGED
constexpr int kMaxSticks = 16;

struct JoyState {
  bool started = false;  // SDL's joystick subsystem started by us
  SDL_Joystick* open[kMaxSticks] = {};
  uint32_t threshold[kMaxSticks] = {};
};

JoyState& State() {
  static JoyState s;
  return s;
}

bool EnsureSubsystem() {
  JoyState& s = State();
  if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) return true;
  s.started = false;
  for (auto& j : s.open) j = nullptr;  // handles of an earlier session are gone
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
  s.started = true;
  return true;
}

uint32_t AxisToWord(int16_t v) { return static_cast<uint32_t>(static_cast<int32_t>(v) + 32768); }

}  // namespace

uint32_t SdlJoyGetPos(uint32_t joystick, JOYINFO& info) {
  if (joystick >= kMaxSticks || !EnsureSubsystem()) return kJoyErrUnplugged;
  JoyState& s = State();
  SDL_JoystickUpdate();
  SDL_Joystick*& j = s.open[joystick];
  if (j != nullptr && !SDL_JoystickGetAttached(j)) {
    SDL_JoystickClose(j);
    j = nullptr;
  }
  if (j == nullptr) {
    if (static_cast<int>(joystick) >= SDL_NumJoysticks()) return kJoyErrUnplugged;
    j = SDL_JoystickOpen(static_cast<int>(joystick));
    if (j == nullptr) return kJoyErrUnplugged;
    SDL_JoystickUpdate();
  }
  const int axes = SDL_JoystickNumAxes(j);
  const int16_t x = axes > 0 ? SDL_JoystickGetAxis(j, 0) : 0;
  const int16_t y = axes > 1 ? SDL_JoystickGetAxis(j, 1) : 0;
  uint32_t buttons = 0;
  const int n = SDL_JoystickNumButtons(j);
  for (int b = 0; b < n && b < 32; ++b) {
    if (SDL_JoystickGetButton(j, b) != 0) buttons |= 1u << b;
  }
  info.wXpos = AxisToWord(x);
  info.wYpos = AxisToWord(y);
  info.wZpos = axes > 2 ? AxisToWord(SDL_JoystickGetAxis(j, 2)) : 32768;
  info.wButtons = buttons;
  return 0;
}

void SdlJoySetThreshold(uint32_t joystick, uint32_t threshold) {
  if (joystick < kMaxSticks) State().threshold[joystick] = threshold;
}

void SdlJoyShutdown() {
  JoyState& s = State();
  if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
    for (auto& j : s.open) {
      if (j != nullptr) SDL_JoystickClose(j);
    }
  }
  for (auto& j : s.open) j = nullptr;
  if (s.started && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  s.started = false;
}
