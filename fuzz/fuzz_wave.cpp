// Fuzzes the wave file's staging: at most 100000 bytes taken, the file's
// bytes kept up to the last ten, which and everything after them become
// 0x81.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static uint8_t buffer[kWaveBufferSize];
  for (uint8_t& b : buffer) b = 0x55;
  const int32_t n = StageWaveFile(std::string_view(reinterpret_cast<const char*>(data), size), buffer);
  if (n < 0 || n > kWaveMaxRead || static_cast<size_t>(n) != (size < size_t{kWaveMaxRead} ? size : size_t{kWaveMaxRead})) {
    std::abort();
  }
  const int32_t kept = n >= kWaveTailBytes ? n - kWaveTailBytes : n;
  for (int32_t i = 0; i < kept; ++i) {
    if (buffer[i] != data[i]) std::abort();
  }
  if (n >= kWaveTailBytes) {
    for (int32_t i = kept; i < kWaveBufferSize; ++i) {
      if (buffer[i] != kWaveTailValue) std::abort();
    }
  }
  return 0;
}
