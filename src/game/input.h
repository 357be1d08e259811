// The game's input handlers (virtual-key codes; positions in pixels of the
// 640 x 480 picture), the mouse clicks they are told of, and the joystick.
#pragma once

#include <cstdint>

struct WorldState;

void HandleKeyDown(WorldState& w, uint16_t key);
void HandleKeyUp(WorldState& w, uint16_t key);
void HandleMouseMove(WorldState& w, int32_t x, int32_t y);
void HandleClick(WorldState& w);

// Turns button presses and releases into clicks: a click is a release of the
// left button that follows its press. Other buttons never click.
class ClickTracker {
 public:
  // button: 1 left, 2 middle, 3 right.
  void Button(WorldState& w, uint8_t button, bool down);

 private:
  bool leftDown_ = false;
};

// Reads joystick `number` (1-based) into x, y and buttons; x = 65537 when no
// joystick answers.
void ReadJoystick(int32_t number, int32_t& x, int32_t& y, int32_t& buttons);
