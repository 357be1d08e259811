#include "video/picture_convert.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "base/picture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// Sixteen pixels looked up and written to 16-byte aligned `out` past the
// cache. Looked up into a small buffer first: cheaper than assembling the
// registers from single words.
inline void StreamSixteen(const uint8_t* s, const uint32_t* argb, uint32_t* out) {
  alignas(16) uint32_t px[16];
  for (int32_t i = 0; i < 16; ++i) px[i] = argb[s[i]];
  auto* d = reinterpret_cast<__m128i*>(out);
  for (int32_t i = 0; i < 4; ++i) _mm_stream_si128(d + i, _mm_load_si128(reinterpret_cast<const __m128i*>(px + 4 * i)));
}
#endif

// The runs of 16 pixels in which two picture rows differ, as bits; without a
// branch per run (about half of them differ, at random).
inline uint64_t DifferingRuns(const uint8_t* a, const uint8_t* b) {
  uint64_t runs = 0;
  for (int32_t i = 0; i < kPictureWidth / 16; ++i) {
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * i));
    runs |= uint64_t{_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF} << i;
#else
    runs |= uint64_t{std::memcmp(a + 16 * i, b + 16 * i, 16) != 0} << i;
#endif
  }
  return runs;
}

// Converts the runs of 16 pixels set in `runs` of row `s` into `d`, and
// keeps their indices in `seen`.
inline void ConvertRuns(const uint8_t* s, const uint32_t* argb, uint8_t* seen, uint32_t* d, uint64_t runs,
                        [[maybe_unused]] bool streaming) {
  for (uint64_t left = runs; left != 0; left &= left - 1) {
    const int32_t x = 16 * std::countr_zero(left);
    std::memcpy(seen + x, s + x, 16);
#if defined(__SSE2__)
    if (streaming) {
      // Written past the cache, as the whole conversion is (sixteen
      // pixels are a whole cache line of page-aligned shared memory).
      StreamSixteen(s + x, argb, d + x);
      continue;
    }
#endif
    for (int32_t i = 0; i < 16; ++i) d[x + i] = argb[s[x + i]];
  }
}

}  // namespace

void ConvertToArgb(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
                   int32_t outPitch) {
#if defined(__SSE2__)
  if (reinterpret_cast<uintptr_t>(out) % 16 == 0 && outPitch % 16 == 0) {
    // Streaming stores: the picture goes to memory that another process
    // (the X server) or the GPU reads next, so it is written past the cache
    // rather than read in first and left there.
    for (int32_t y = 0; y < kPictureHeight; ++y) {
      const uint8_t* s = pixels + static_cast<ptrdiff_t>(y) * pitch;
      uint32_t* d = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + static_cast<ptrdiff_t>(y) * outPitch);
      for (int32_t x = 0; x < kPictureWidth; x += 16) StreamSixteen(s + x, argb, d + x);
    }
    _mm_sfence();  // visible to the reader before it is told to read
    return;
  }
#endif
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    const uint8_t* s = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* d = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) +
                                              static_cast<ptrdiff_t>(y) * outPitch);
    for (int32_t x = 0; x < kPictureWidth; x += 8) {
      d[x + 0] = argb[s[x + 0]];
      d[x + 1] = argb[s[x + 1]];
      d[x + 2] = argb[s[x + 2]];
      d[x + 3] = argb[s[x + 3]];
      d[x + 4] = argb[s[x + 4]];
      d[x + 5] = argb[s[x + 5]];
      d[x + 6] = argb[s[x + 6]];
      d[x + 7] = argb[s[x + 7]];
    }
  }
}

bool ChangedPictureConverter::MovedDown(const uint8_t* pixels, int32_t pitch) const {
  // Runs of 16 pixels that match the picture in place, and one row up.
  int32_t still = 0;
  int32_t moved = 0;
  for (int32_t y = 20; y < kPictureHeight; y += 60) {
    const uint8_t* now = pixels + static_cast<ptrdiff_t>(y) * pitch;
    const uint8_t* here = &shown_[static_cast<size_t>(top_ + y) * kPictureWidth];
    still -= std::popcount(DifferingRuns(now, here));
    moved -= std::popcount(DifferingRuns(now, here - kPictureWidth));
  }
  return moved > still;
}

void ChangedPictureConverter::Convert(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
                                      int32_t outPitch, int32_t outRows) {
  const int32_t spare = std::max(outRows, kPictureHeight) - kPictureHeight;
  bool whole = !valid_ || out != lastOut_ || outPitch != lastOutPitch_ || outRows != lastOutRows_ ||
               std::memcmp(argb, shownArgb_.data(), 256 * sizeof(uint32_t)) != 0;
  bool moved = false;
  if (!whole && spare > 0 && MovedDown(pixels, pitch)) {
    if (top_ > 0) {
      --top_;
      moved = true;
    } else {
      whole = true;  // no row left above: back to the last rows
    }
  }
  if (whole) {
    top_ = spare;
    ConvertWhole(pixels, pitch, argb, out, outPitch, outRows);
    return;
  }
  ConvertChanged(pixels, pitch, argb, out, outPitch, moved);
}

void ChangedPictureConverter::ConvertWhole(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
                                           int32_t outPitch, int32_t outRows) {
  shown_.resize(static_cast<size_t>(top_ + kPictureHeight) * kPictureWidth);
  uint32_t* first = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + ptrdiff_t{top_} * outPitch);
  ConvertToArgb(pixels, pitch, argb, first, outPitch);
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    std::memcpy(&shown_[static_cast<size_t>(top_ + y) * kPictureWidth], pixels + ptrdiff_t{y} * pitch, kPictureWidth);
  }
  std::memcpy(shownArgb_.data(), argb, 256 * sizeof(uint32_t));
  std::fill(changed_.begin(), changed_.end(), kWholeRow);
  valid_ = true;
  lastOut_ = out;
  lastOutPitch_ = outPitch;
  lastOutRows_ = outRows;
}

void ChangedPictureConverter::ConvertChanged(const uint8_t* pixels, int32_t pitch, const uint32_t* argb,
                                             uint32_t* out, int32_t outPitch, bool moved) {
#if defined(__SSE2__)
  const bool streaming = reinterpret_cast<uintptr_t>(out) % 16 == 0 && outPitch % 16 == 0;
#else
  const bool streaming = false;
#endif
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    const uint8_t* s = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint8_t* seen = &shown_[static_cast<size_t>(top_ + y) * kPictureWidth];
    uint32_t* d = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + ptrdiff_t{top_ + y} * outPitch);
    // The row's changed runs first, then only those converted.
    uint64_t changed = DifferingRuns(s, seen);
    uint64_t shown = changed;
    if (moved) {
      // What changed on the picture: against the same row of the last one,
      // a row further down (not written yet in this pass).
      shown = DifferingRuns(s, seen + kPictureWidth);
      // The top row is new: the row of `out` above the picture was never
      // compared with it.
      if (y == 0) changed = kWholeRow;
    }
    changed_[static_cast<size_t>(y)] = shown;
    ConvertRuns(s, argb, seen, d, changed, streaming);
  }
#if defined(__SSE2__)
  if (streaming) _mm_sfence();
#endif
}

void PictureScaler::Resize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  columns_.resize(static_cast<size_t>(width > 0 ? width : 0));
  rows_.resize(static_cast<size_t>(height > 0 ? height : 0));
  // Nearest neighbour, sampled at each target pixel's centre.
  for (int32_t x = 0; x < width; ++x) {
    columns_[static_cast<size_t>(x)] =
        static_cast<uint16_t>((static_cast<int64_t>(2 * x + 1) * kPictureWidth) / (2 * int64_t{width}));
  }
  for (int32_t y = 0; y < height; ++y) {
    rows_[static_cast<size_t>(y)] =
        static_cast<uint16_t>((static_cast<int64_t>(2 * y + 1) * kPictureHeight) / (2 * int64_t{height}));
  }
}

void PictureScaler::Scale(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
                          int32_t outPitch) const {
  if (width_ == kPictureWidth && height_ == kPictureHeight) {
    ConvertToArgb(pixels, pitch, argb, out, outPitch);  // no scaling: the plain conversion
    return;
  }
  const uint16_t* cols = columns_.data();
  uint8_t* base = reinterpret_cast<uint8_t*>(out);
  const size_t rowBytes = static_cast<size_t>(width_) * 4;
  int32_t lastSource = -1;
  uint32_t* lastRow = nullptr;
  for (int32_t y = 0; y < height_; ++y) {
    uint32_t* d = reinterpret_cast<uint32_t*>(base + static_cast<ptrdiff_t>(y) * outPitch);
    const int32_t sy = rows_[static_cast<size_t>(y)];
    if (sy == lastSource) {
      // The same picture row again: copy the converted row.
      std::memcpy(d, lastRow, rowBytes);
      continue;
    }
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(sy) * pitch;
    for (int32_t x = 0; x < width_; ++x) d[x] = argb[src[cols[x]]];
    lastSource = sy;
    lastRow = d;
  }
}
