// Where the picture lies in a window and on the desktop: the letterbox and
// the mapping between picture pixels and window or desktop pixels, used for
// the mouse and the cursor.
#pragma once

#include <cstdint>

#include "base/picture.h"

// Where the picture lies in a window of the given size: the largest 4:3
// rectangle that fits, centred (black borders around it).
struct PictureRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = kPictureWidth;
  int32_t h = kPictureHeight;
};
PictureRect LetterboxRect(int32_t windowWidth, int32_t windowHeight);

// The mapping inside a picture window of the given size: picture pixels to
// window pixels (rounded up) and back (rounded down), so that a point mapped
// out and back is the same point.
void PictureToWindowPoint(int32_t winW, int32_t winH, int32_t px, int32_t py, int32_t& wx, int32_t& wy);
void WindowPointToPicture(int32_t winW, int32_t winH, int32_t wx, int32_t wy, int32_t& px, int32_t& py);

// True while a picture window is open.
bool PictureActive();
// Picture pixels <-> desktop pixels (identity while no picture is shown).
void PictureToDesktop(int32_t px, int32_t py, int32_t& dx, int32_t& dy);
void DesktopToPicture(int32_t dx, int32_t dy, int32_t& px, int32_t& py);
// SDL window coordinates of the picture window -> picture pixels.
void WindowToPicture(int32_t wx, int32_t wy, int32_t& px, int32_t& py);
// SDL window id of the picture window, 0 when none.
uint32_t PictureWindowId();
