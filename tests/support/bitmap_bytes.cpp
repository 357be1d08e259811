#include "support/bitmap_bytes.h"

namespace testsupport {

std::string ClaimingBitmap(int32_t width, int32_t height, uint16_t bits, size_t fileSize) {
  std::string b(fileSize < 54 ? 54 : fileSize, '\0');
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) b[at + k] = static_cast<char>(v >> (8 * k));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<uint32_t>(b.size()), 4);
  put(10, 54 + 1024, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, bits, 2);
  return b;
}

}  // namespace testsupport
