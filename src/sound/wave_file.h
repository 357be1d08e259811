// A wave file's bytes as the sound loader stages them, free of the sound
// device: the first 100 bytes count as the header, the rest as 8-bit mono
// samples, and the last ten bytes read end the sound near the midpoint.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int32_t kWaveMaxRead = 100000;                  // bytes taken from a file
constexpr int32_t kWaveBufferSize = kWaveMaxRead + 1;     // staging indexes 0..100000
constexpr int32_t kWaveHeaderBytes = 100;                 // skipped as the file's header
constexpr int32_t kWaveTailBytes = 10;
constexpr uint8_t kWaveTailValue = 0x81;

// Copies up to kWaveMaxRead bytes of the file into `buffer` (kWaveBufferSize
// bytes); when at least ten were copied, the last ten and everything after
// them become kWaveTailValue. Returns the number of bytes copied, n: the
// sound is buffer[100 .. n - 1], n - 100 bytes (none below 101 bytes).
int32_t StageWaveFile(std::string_view file, uint8_t* buffer);
