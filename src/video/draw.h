// Drawing primitives over the back buffer. All clipping against the clip
// rectangle happens here, before the display layer is called.
#pragma once

#include <cstdint>

struct DisplayDevice;

void SetClipRect(DisplayDevice& d, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Fills (x1, y1)-(x2, y2), corners inclusive, with a palette index.
void FillRect(DisplayDevice& d, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
// Blit's modes; any other mode draws nothing.
constexpr int32_t kBlitKeyed = 1;   // index 0 of the source is transparent
constexpr int32_t kBlitOpaque = 2;  // every pixel is copied
// Copies the inclusive source rectangle of sheet 1..4 to (x, y).
void Blit(DisplayDevice& d, int32_t sheet, int32_t x, int32_t y, int32_t left, int32_t top,
          int32_t right, int32_t bottom, int32_t mode);
// Writes value with `digits` glyphs of the digit strip at (stripLeft, stripTop).
void DrawNumber(DisplayDevice& d, int32_t sheet, int32_t x, int32_t y, int32_t stripLeft,
                int32_t stripTop, int32_t stripWidth, int32_t glyphBottom, int32_t value,
                int32_t digits);
