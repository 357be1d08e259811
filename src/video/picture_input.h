// The input that reaches the picture's windows (the picture window and the
// black covers of the other monitors), taken off SDL's event queue and told
// in the game's terms: keys as virtual-key codes, mouse positions in picture
// pixels, buttons by number.
#pragma once

#include <cstdint>

// Mouse buttons are numbered as SDL and X11 count them: 1 left, 2 middle,
// 3 right.
constexpr uint8_t kLeftButton = 1;

struct PictureInput {
  enum class Kind { KeyDown, KeyUp, MouseMove, ButtonDown, ButtonUp, Quit };
  Kind kind = Kind::Quit;
  uint16_t key = 0;      // KeyDown, KeyUp: the virtual-key code
  int32_t x = 0;         // MouseMove: the point in picture pixels
  int32_t y = 0;
  uint8_t button = 0;    // ButtonDown, ButtonUp
};

// Takes events off SDL's queue up to the next that is input, into `in`;
// false when none is pending or SDL's events are not up. Other events are
// dropped. A key's auto-repeat arrives as further key downs. Over a cover the
// mouse point is measured from the picture too, so the same tolerance applies
// wherever the mouse is.
bool NextPictureInput(PictureInput& in);
