// Fuzzes the palette file's decoding: any file of at least one byte gives
// 256 entries taken red, blue, green from its first 768 bytes, zero past its
// end; an empty file is refused.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "video/sheet_files.h"

using namespace dx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  PALETTEENTRY entries[256];
  const bool ok = PaletteFromFile(file, entries);
  if (ok != (size > 0)) std::abort();
  if (!ok) return 0;
  auto at = [&](size_t k) { return k < size ? data[k] : uint8_t{0}; };
  for (size_t i = 0; i < 256; ++i) {
    if (entries[i].peRed != at(3 * i) || entries[i].peBlue != at(3 * i + 1) ||
        entries[i].peGreen != at(3 * i + 2) || entries[i].peFlags != 0) {
      std::abort();
    }
  }
  return 0;
}
