// The headless runner's input script: which event, in which frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
