#include "sound/wave_file.h"

#include <cstring>

int32_t StageWaveFile(std::string_view file, uint8_t* buffer) {
  const int32_t n = file.size() < size_t{kWaveMaxRead} ? static_cast<int32_t>(file.size()) : kWaveMaxRead;
  std::memcpy(buffer, file.data(), static_cast<size_t>(n));
  // The last ten bytes read and everything after them become a value next
  // to the midpoint, so the sound ends without a click.
  if (n >= kWaveTailBytes) {
    std::memset(buffer + (n - kWaveTailBytes), kWaveTailValue,
                static_cast<size_t>(kWaveBufferSize - (n - kWaveTailBytes)));
  }
  return n;
}
