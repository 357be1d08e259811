#include "main/hiscore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "main/world_state.h"
#include "platform/bounded_read.h"
#include "platform/system_folder.h"

namespace {

constexpr size_t kFileBytes = 2 * kHiScoreEntries;  // 102
static_assert(kFileBytes == kScoreFileLimit);

// score.dat lives in the install folder; where that folder is read-only (a
// package's installation in /usr), the records are kept in the user's system
// folder instead, so that they are not lost.
std::string ScoreFilePath(const WorldState& w) { return FolderForOwnFiles(w.DataPath) + "score.dat"; }

// Byte k of the file is byte k % 2 (low byte first) of entry k / 2.
void PutFileByte(WorldState& w, size_t k, uint8_t b) {
  uint16_t& entry = w.HiScoreTable[k / 2];
  if (k % 2 == 0) {
    entry = static_cast<uint16_t>((entry & 0xFF00u) | b);
  } else {
    entry = static_cast<uint16_t>((entry & 0x00FFu) | (b << 8));
  }
}

// Writes the whole table at the start of the file, keeping any bytes beyond
// it. A file that can't be opened is created anew with the table as it is in
// memory. False when nothing could be written.
bool StoreTable(const WorldState& w) {
  const std::string path = ScoreFilePath(w);
  // Only a regular file is written: a FIFO or a device in its place is
  // neither waited on nor replaced.
  int fd = OpenRegularFile(path, O_WRONLY);
  if (fd < 0 && errno != EINVAL) fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return false;
  uint8_t bytes[kFileBytes];
  for (int i = 0; i < kHiScoreEntries; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(w.HiScoreTable[i] & 0xFFu);
    bytes[2 * i + 1] = static_cast<uint8_t>(w.HiScoreTable[i] >> 8);
  }
  size_t done = 0;
  bool ok = true;
  while (done < kFileBytes) {
    const ssize_t n = ::pwrite(fd, bytes + done, kFileBytes - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

void LoadHighScores(WorldState& w) {
  const std::optional<std::string> bytes = ReadRegularFile(ScoreFilePath(w), kScoreFileLimit);
  if (!bytes) {
    // Only a missing file is created. One that exists but can't be read (or
    // is no regular file) must not be written over with the empty table.
    if (errno == ENOENT && StoreTable(w)) w.HiScoreLoaded = true;
    return;
  }
  // A short file fills only the entries it covers; the rest keep their value.
  for (size_t k = 0; k < bytes->size(); ++k) PutFileByte(w, k, static_cast<uint8_t>((*bytes)[k]));
  w.HiScoreLoaded = true;
}

void SaveHighScores(WorldState& w) {
  // A table that was never loaded holds no stored records: writing it would
  // wipe the file's.
  if (!w.HiScoreLoaded) return;
  StoreTable(w);
}
