// Test support: the bytes of a Windows bitmap file whose header claims a
// picture size, for trying the loaders on hostile headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testsupport {

// A file of `fileSize` bytes: file header, 40-byte info header claiming
// width x height pixels of `bits` bits, uncompressed, pixels from byte
// 54 + 1024 on (the rest zero).
std::string ClaimingBitmap(int32_t width, int32_t height, uint16_t bits, size_t fileSize);

}  // namespace testsupport
