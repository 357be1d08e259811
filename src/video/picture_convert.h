// The 640 x 480 picture of palette indices turned into 32-bit pixels: whole,
// only where it changed, or scaled.
#pragma once

#include <cstdint>
#include <vector>

#include "base/picture.h"

// Palette lookup of a 640 x 480 picture into 32-bit pixels; outPitch in bytes.
void ConvertToArgb(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
                   int32_t outPitch);

// Keeps a converted picture up to date: where the previous picture's
// conversion is still in `out`, only the runs of 16 pixels whose indices
// changed are converted again (the rest of a moving picture is often the
// same from frame to frame); the whole picture when the palette changed or
// `out` is new.
//
// `out` may have more rows than the picture (`outRows`): the picture then
// lies at rows Top() to Top() + 479 of it. When the picture moved down by a
// row since the last one (the game's background scrolls so), the rows
// already converted are taken as they lie, one row further up in `out`:
// only the new top row and what moved across the background are converted.
// Once Top() has reached the first row, the next move converts the whole
// picture at the last rows again.
class ChangedPictureConverter {
 public:
  void Convert(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out, int32_t outPitch,
               int32_t outRows = kPictureHeight);
  // `out` no longer holds the last conversion.
  void Forget() { valid_ = false; }
  // The row of `out` that holds the picture's first row.
  int32_t Top() const { return top_; }
  // What the last Convert changed on the picture (not in `out`): bit i of
  // row y stands for pixels 16 i to 16 i + 15 of that row; every bit of
  // every row after a whole conversion.
  const uint64_t* ChangedRuns() const { return changed_.data(); }
  static constexpr uint64_t kWholeRow = (uint64_t{1} << (kPictureWidth / 16)) - 1;

 private:
  // Whether the picture looks moved down by a row against the one in `out`
  // (compared on a few rows).
  bool MovedDown(const uint8_t* pixels, int32_t pitch) const;
  // The whole picture at row top_ of `out`.
  void ConvertWhole(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out, int32_t outPitch,
                    int32_t outRows);
  // Only the runs that changed; `moved`: the picture moved down a row and
  // top_ up.
  void ConvertChanged(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out, int32_t outPitch,
                      bool moved);

  bool valid_ = false;
  std::vector<uint64_t> changed_ = std::vector<uint64_t>(kPictureHeight, kWholeRow);
  const uint32_t* lastOut_ = nullptr;
  int32_t lastOutPitch_ = 0;
  int32_t lastOutRows_ = 0;
  int32_t top_ = 0;
  std::vector<uint8_t> shown_;                                    // the indices that `out` shows, row for row
  std::vector<uint32_t> shownArgb_ = std::vector<uint32_t>(256);  // in these colours
};

// Scales the 640 x 480 picture of palette indices to width x height pixels
// of 0xAARRGGBB with nearest-neighbour sampling (each target pixel shows the
// picture pixel under its centre). The tables are made once per size.
class PictureScaler {
 public:
  void Resize(int32_t width, int32_t height);
  void Scale(const uint8_t* pixels, int32_t pitch, const uint32_t* argb, uint32_t* out,
             int32_t outPitch) const;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint16_t> columns_;
  std::vector<uint16_t> rows_;
};
