#include "game/input.h"

#include <cstdlib>

#include "game/game.h"
#include "video/picture_input.h"
#include "game/world_state.h"
#include "platform/keycodes.h"
#include "platform/platform.h"

using namespace dx;

void HandleKeyDown(WorldState& w, uint16_t key) {
  switch (key) {
    case VK_ESCAPE:
      w.QuitRequested = true;
      return;  // not player input
    case VK_T:
      break;
    case VK_LEFT:
    case VK_NUMPAD4:
      w.Autopilot = 0;
      w.KeyHorz = kDirLeft;
      break;
    case VK_RIGHT:
    case VK_NUMPAD6:
      w.Autopilot = 0;
      w.KeyHorz = kDirRight;
      break;
    case VK_UP:
    case VK_NUMPAD8:
      w.Autopilot = 0;
      w.KeyVert = kDirUp;
      break;
    case VK_DOWN:
    case VK_NUMPAD2:
      w.Autopilot = 0;
      w.KeyVert = kDirDown;
      break;
    case VK_SPACE:
      w.Autopilot = 0;
      w.KeyFire = 1;
      break;
    case VK_G: {
      w.GamePhase = 1;
      w.Score = 0;
      w.RandSeed = 0;
      // Meteor counts above 50 have no table entry: their games start at 0.
      const uint16_t* entry = HiScoreEntry(w);
      w.HiScore = entry != nullptr ? static_cast<int32_t>(*entry) : 0;
      break;
    }
    case VK_NUMPAD1:
    case VK_NUMPAD3:
    case VK_NUMPAD5:
    case VK_NUMPAD7:
    case VK_NUMPAD9:
      break;
    default:
      w.QuitRequested = true;
      return;  // not player input
  }
  w.IdleFrames = 0;
}

void HandleKeyUp(WorldState& w, uint16_t key) {
  switch (key) {
    case VK_LEFT:
    case VK_NUMPAD4:
      if (w.KeyHorz == kDirLeft) w.KeyHorz = kDirNone;
      break;
    case VK_RIGHT:
    case VK_NUMPAD6:
      if (w.KeyHorz == kDirRight) w.KeyHorz = kDirNone;
      break;
    case VK_UP:
    case VK_NUMPAD8:
      if (w.KeyVert == kDirUp) w.KeyVert = kDirNone;
      break;
    case VK_DOWN:
    case VK_NUMPAD2:
      if (w.KeyVert == kDirDown) w.KeyVert = kDirNone;
      break;
    case VK_SPACE:
      if (w.KeyFire == 1) w.KeyFire = 0;
      break;
    default:
      break;
  }
}

void HandleMouseMove(WorldState& w, int32_t x, int32_t y) {
  if (w.MouseWatch != 1 || w.WarmUpFrames <= 50) return;
  const int64_t dx = std::llabs(static_cast<int64_t>(x) - w.CursorHomeX);
  const int64_t dy = std::llabs(static_cast<int64_t>(y) - w.CursorHomeY);
  if (dx > 10 || dy > 10) w.QuitRequested = true;
}

void HandleClick(WorldState& w) { w.QuitRequested = true; }

void ClickTracker::Button(WorldState& w, uint8_t button, bool down) {
  if (button != kLeftButton) return;
  if (down) {
    leftDown_ = true;
  } else if (leftDown_) {
    leftDown_ = false;
    HandleClick(w);
  }
}

void ReadJoystick(int32_t number, int32_t& x, int32_t& y, int32_t& buttons) {
  JOYINFO info;
  info.wXpos = 65537;
  info.wYpos = 0;
  info.wButtons = 0;
  const uint32_t id = static_cast<uint32_t>(number - 1);
  Sys().JoySetThreshold(id, 1);
  Sys().JoyGetPos(id, info);
  x = static_cast<int32_t>(info.wXpos);
  y = static_cast<int32_t>(info.wYpos);
  buttons = static_cast<int32_t>(info.wButtons);
}
