// The palette file and the sheet bitmaps as bytes: checking and decoding
// them, free of the display, so that hostile files can be tried in
// isolation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "video/ddraw.h"

// The largest sheet bitmap taken, per side: larger ones are refused before
// anything is allocated for their pixels.
constexpr int32_t kMaxBitmapSide = 4096;
// How much of a sheet file is read: the largest bitmap the side limit allows
// (32 bits a pixel) with room for its headers and colour table.
constexpr size_t kBitmapFileLimit = size_t{kMaxBitmapSide} * kMaxBitmapSide * 4 + (size_t{1} << 16);

// Fills the 256 entries from the palette file's bytes (red, blue, green per
// entry; bytes past 768 ignored; entries past a short file's end black).
// False for an empty file, which holds no palette at all.
bool PaletteFromFile(std::string_view file, dx::PALETTEENTRY entries[256]);

// Whether a bitmap file's header describes a picture the game can take: a
// Windows bitmap no wider or taller than kMaxBitmapSide whose pixel array,
// when stored uncompressed, fits in the file.
bool BitmapHeaderAcceptable(std::string_view file);

// Where a bitmap goes: an 8-bit sheet of width x height pixels (nullptr:
// decode only) and the rectangle on it that receives the picture's top-left
// part.
struct SheetTarget {
  uint8_t* pixels = nullptr;
  int32_t width = 0, height = 0, pitch = 0;
  int32_t x = 0, y = 0, w = 0, h = 0;
};

// Decodes the bitmap file and copies it into the target, colours turned into
// palette indices: a colour table equal to the palette keeps its indices,
// any other colour takes the nearest palette colour. False when the header
// is refused or the file can't be decoded; the sheet is then untouched.
bool CopyBitmapToSheet(std::string_view file, const dx::PALETTEENTRY palette[256], const SheetTarget& target);
