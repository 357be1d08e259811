// Reading a data file of known purpose without trusting what lies at its
// path: only a regular file is read, it is opened so that a FIFO or a device
// can't block the program, and no more than a fixed number of bytes is taken.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Limits of the files the program reads.
constexpr size_t kSettingsFileLimit = size_t{1} << 20;  // ZUK_RER1.CNF
constexpr size_t kReadmeFileLimit = size_t{1} << 20;    // readme.txt
constexpr size_t kWaveFileLimit = 100000;               // fire.wav, dokan.wav
constexpr size_t kPaletteFileLimit = 768;               // pal256.pal
constexpr size_t kScoreFileLimit = 102;                 // score.dat's table
constexpr size_t kScoreTailLimit = 4096;                // what score.dat keeps past it
constexpr size_t kProgramFileLimit = size_t{1} << 28;   // the program, copied by setup

// The first `limit` bytes of the regular file at `path` (all of it when it is
// shorter). Nothing when it can't be opened, is not a regular file (errno
// EINVAL then) or a read fails; errno tells why. With `followLink` false, a
// symbolic link at `path` is not followed (errno ELOOP).
std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit, bool followLink = true);

// Puts `reader` in the place of ReadRegularFile's body for as long as it
// lives (tests: a disk that fails), then the one before it.
class ScopedFileReader {
 public:
  using Reader = std::function<std::optional<std::string>(const std::string& path, size_t limit, bool followLink)>;
  explicit ScopedFileReader(Reader reader);
  ~ScopedFileReader();
  ScopedFileReader(const ScopedFileReader&) = delete;
  ScopedFileReader& operator=(const ScopedFileReader&) = delete;

 private:
  Reader previous_;
};
