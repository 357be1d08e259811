// The FLTK windows' keys as virtual-key codes (platform/keycodes.h).
#pragma once

#include <cstdint>

// Maps an FLTK key (Fl::event_key()) to the virtual-key code: the keys of
// the game's start-up window.
uint16_t VirtualKeyFromFltk(int key);
