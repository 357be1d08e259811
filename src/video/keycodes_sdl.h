// The SDL picture's keys as virtual-key codes (platform/keycodes.h).
#pragma once

#include <cstdint>

// Maps an SDL key (its scancode and its keycode, as in SDL_Keysym) to the
// virtual-key code. Keypad keys are mapped by their position, so that they
// give the keypad codes whether Num Lock is on or off; letters and digits by
// the symbol the keyboard layout gives them.
uint16_t VirtualKeyFromSdl(int32_t scancode, int32_t keycode);
