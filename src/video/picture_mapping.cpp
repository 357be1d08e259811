#include "video/picture_mapping.h"

#include "base/picture.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

}  // namespace

PictureRect LetterboxRect(int32_t windowWidth, int32_t windowHeight) {
  PictureRect r;
  if (windowWidth <= 0 || windowHeight <= 0) return r;
  // Width limited by the height or the other way round, in exact integers.
  if (static_cast<int64_t>(windowWidth) * 3 >= static_cast<int64_t>(windowHeight) * 4) {
    r.h = windowHeight;
    r.w = static_cast<int32_t>(static_cast<int64_t>(windowHeight) * 4 / 3);
  } else {
    r.w = windowWidth;
    r.h = static_cast<int32_t>(static_cast<int64_t>(windowWidth) * 3 / 4);
  }
  r.x = (windowWidth - r.w) / 2;
  r.y = (windowHeight - r.h) / 2;
  return r;
}

void PictureToWindowPoint(int32_t winW, int32_t winH, int32_t px, int32_t py, int32_t& wx, int32_t& wy) {
  const PictureRect r = LetterboxRect(winW, winH);
  // Rounded up, so that a point read back maps to the same picture point
  // (WindowPointToPicture rounds down): the cursor read-back, which sets the
  // pointer where it reads it, must not make it creep away from where it was
  // parked and end the screen saver.
  wx = static_cast<int32_t>(r.x + CeilDiv(int64_t{px} * r.w, kPictureWidth));
  wy = static_cast<int32_t>(r.y + CeilDiv(int64_t{py} * r.h, kPictureHeight));
}

void WindowPointToPicture(int32_t winW, int32_t winH, int32_t wx, int32_t wy, int32_t& px, int32_t& py) {
  const PictureRect r = LetterboxRect(winW, winH);
  if (r.w <= 0 || r.h <= 0) {
    px = wx;
    py = wy;
    return;
  }
  px = static_cast<int32_t>(FloorDiv((int64_t{wx} - r.x) * kPictureWidth, r.w));
  py = static_cast<int32_t>(FloorDiv((int64_t{wy} - r.y) * kPictureHeight, r.h));
}
