// The drawing primitives. Everything is clipped here against the clip
// rectangle, so the display layer only ever sees rectangles inside the
// screen.
#include "video/draw.h"

#include <cstdint>
#include <cstdio>

#include "video/display_device.h"

using namespace dx;

void SetClipRect(DisplayDevice& d, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  d.ClipLeft = left;
  d.ClipTop = top;
  d.ClipRight = right;
  d.ClipBottom = bottom;
}

namespace {
int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

void FillRect(DisplayDevice& d, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
  if (x1 < d.ClipLeft && x2 < d.ClipLeft) return;
  if (x1 > d.ClipRight && x2 > d.ClipRight) return;
  if (y1 < d.ClipTop && y2 < d.ClipTop) return;
  if (y1 > d.ClipBottom && y2 > d.ClipBottom) return;
  const int64_t l = Clamp(x1, d.ClipLeft, d.ClipRight);
  const int64_t r = Clamp(x2, d.ClipLeft, d.ClipRight);
  const int64_t t = Clamp(y1, d.ClipTop, d.ClipBottom);
  const int64_t b = Clamp(y2, d.ClipTop, d.ClipBottom);
  d.FillFx.dwSize = 100;
  d.FillFx.dwFillColor = static_cast<uint32_t>(colour);
  if (d.BackSurface == nullptr) return;
  RECT rc{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r + 1),
          static_cast<int32_t>(b + 1)};
  d.BackSurface->Blt(&rc, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &d.FillFx);
}

void Blit(DisplayDevice& d, int32_t sheet, int32_t x, int32_t y, int32_t left, int32_t top,
          int32_t right, int32_t bottom, int32_t mode) {
  IDirectDrawSurface* src = d.Sheet(sheet);
  if (src == nullptr || (mode != kBlitKeyed && mode != kBlitOpaque)) return;
  // 64-bit arithmetic: the same results as 32-bit for every real position,
  // and no overflow for absurd ones.
  int64_t X = x, Y = y, L = left, T = top;
  int64_t R = int64_t{right} + 1;
  int64_t B = int64_t{bottom} + 1;
  if (X < d.ClipLeft) {
    L += d.ClipLeft - X;
    X = d.ClipLeft;
  }
  if (X + (R - L) - 1 > d.ClipRight) R = int64_t{d.ClipRight} + L - X + 1;
  if (Y < d.ClipTop) {
    T += d.ClipTop - Y;
    Y = d.ClipTop;
  }
  if (Y + (B - T) - 1 > d.ClipBottom) B = int64_t{d.ClipBottom} + T - Y + 1;
  if (L >= R || T >= B) return;
  if (d.BackSurface == nullptr) return;
  // Anything still outside 32 bits lies outside every surface.
  if (L < INT32_MIN || R > INT32_MAX || T < INT32_MIN || B > INT32_MAX || X > INT32_MAX ||
      Y > INT32_MAX)
    return;
  RECT rc{static_cast<int32_t>(L), static_cast<int32_t>(T), static_cast<int32_t>(R),
          static_cast<int32_t>(B)};
  d.BackSurface->BltFast(static_cast<int32_t>(X), static_cast<int32_t>(Y), src, &rc,
                         mode == kBlitKeyed ? (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT)
                                            : (DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT));
}

void DrawNumber(DisplayDevice& d, int32_t sheet, int32_t x, int32_t y, int32_t stripLeft,
                int32_t stripTop, int32_t stripWidth, int32_t glyphBottom, int32_t value,
                int32_t digits) {
  // A negative value has no glyph for its sign: nothing is drawn. At most
  // ten digits, the most a 32-bit value has.
  if (value < 0 || digits <= 0) return;
  if (digits > 10) digits = 10;
  char text[16];
  int n = std::snprintf(text, sizeof text, "%0*d", static_cast<int>(digits), static_cast<int>(value));
  if (n < 0) return;
  const int32_t cell = stripWidth / 10;
  int64_t pen = x;
  for (int32_t i = 0; i < digits && i < n; ++i) {
    const int32_t digit = text[i] - '0';
    const int32_t glyphLeft =
        static_cast<int32_t>(stripLeft + int64_t{digit} * stripWidth / 10);
    if (pen < INT32_MIN || pen > INT32_MAX) return;
    Blit(d, sheet, static_cast<int32_t>(pen), y, glyphLeft, stripTop, glyphLeft + cell - 2,
         stripTop + glyphBottom, kBlitKeyed);
    pen += cell + 3;
  }
}
