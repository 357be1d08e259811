#include "platform/bounded_read.h"

#include <utility>

// The system's reader (bounded_read_posix.cpp).
std::optional<std::string> ReadRegularFileFromDisk(const std::string& path, size_t limit, bool followLink);

namespace {

ScopedFileReader::Reader& CurrentReader() {
  static ScopedFileReader::Reader reader = ReadRegularFileFromDisk;
  return reader;
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit, bool followLink) {
  return CurrentReader()(path, limit, followLink);
}

ScopedFileReader::ScopedFileReader(Reader reader) : previous_(std::exchange(CurrentReader(), std::move(reader))) {}

ScopedFileReader::~ScopedFileReader() { CurrentReader() = std::move(previous_); }
