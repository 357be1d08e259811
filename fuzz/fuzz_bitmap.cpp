// Fuzzes the sheet bitmap loader as the game calls it: the header check,
// SDL's bitmap decoder and the colour mapping onto a 640 x 480 sheet. A
// refused header must leave the sheet untouched; libFuzzer's allocation
// limit catches a header that slips past the size check.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "video/sheet_files.h"

using namespace dx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  static PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i) {
    palette[i].peRed = static_cast<uint8_t>((i & 7) * 36);
    palette[i].peGreen = static_cast<uint8_t>(((i >> 3) & 7) * 36);
    palette[i].peBlue = static_cast<uint8_t>((i >> 6) * 85);
  }
  static std::vector<uint8_t> sheet(640 * 480);
  std::fill(sheet.begin(), sheet.end(), uint8_t{0xAA});
  SheetTarget target{sheet.data(), 640, 480, 640, 0, 0, 640, 480};
  const bool acceptable = BitmapHeaderAcceptable(file);
  const bool copied = CopyBitmapToSheet(file, palette, target);
  if (copied && !acceptable) std::abort();
  if (!acceptable) {
    for (uint8_t b : sheet) {
      if (b != 0xAA) std::abort();
    }
  }
  return 0;
}
