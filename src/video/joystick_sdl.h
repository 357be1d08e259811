// The multimedia joystick calls (joyGetPos, joySetThreshold) on SDL2.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// joyGetPos: joystick 0 is SDL's first joystick. Fills the X and Y axes
// mapped to 0..65535 (centre 32768) and the buttons as a bit mask (bit i =
// button i). Returns 0, or a non-zero code with `info` untouched when no such
// joystick answers.
uint32_t SdlJoyGetPos(uint32_t joystick, dx::JOYINFO& info);
// joySetThreshold: kept for the record; SDL reports every axis change.
void SdlJoySetThreshold(uint32_t joystick, uint32_t threshold);
// Closes the joysticks opened so far and ends SDL's joystick subsystem when
// these calls started it.
void SdlJoyShutdown();
