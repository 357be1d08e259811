#include "game/hiscore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "base/diagnostic.h"
#include "platform/system_folder.h"

namespace {

constexpr size_t kFileBytes = 2 * kHiScoreEntries;  // 102
static_assert(kFileBytes == kScoreFileLimit);

struct ScoreFile {
  ScoreFileState state = ScoreFileState::Missing;
  std::string bytes;  // the first 102 bytes of a usable file
};

std::string SystemScorePath() { return JoinPath(SystemFolder(), "score.dat"); }

// Reads what lies at `path`, never following a link.
ScoreFile Probe(const std::string& path) {
  const std::optional<std::string> bytes = ReadRegularFile(path, kScoreFileLimit, false);
  if (bytes) return {ScoreFileState::Usable, *bytes};
  switch (errno) {
    case ENOENT:
    case ENOTDIR: return {ScoreFileState::Missing, {}};
    case ELOOP: return {ScoreFileState::Link, {}};
    case EINVAL: return {ScoreFileState::NotRegular, {}};
    default: return {ScoreFileState::Unreadable, {}};
  }
}

// Whether the install folder's copy may be written: the file itself, or,
// when there is none, the folder that would hold it.
bool InstallWritable(ScoreFileState state, const std::string& file, const std::string& folder) {
  if (state == ScoreFileState::Usable) return ::access(file.c_str(), W_OK) == 0;
  if (state == ScoreFileState::Missing) return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
  return false;
}

// Says why a copy that is there is left alone, and where the records go.
void ReportLeftAlone(const std::string& path, ScoreFileState state, const std::string& target) {
  const char* why = state == ScoreFileState::Link         ? "a symbolic link, neither read nor written through"
                    : state == ScoreFileState::NotRegular ? "not a regular file, neither read nor written"
                    : state == ScoreFileState::Unreadable ? "can't be read, so it is not written over"
                                                          : nullptr;
  if (why == nullptr) return;
  ReportProblem(path + ": " + why + "; the records " +
                (target.empty() ? std::string("are not kept") : "are kept in " + target));
}

// Byte k of the file is byte k % 2 (low byte first) of entry k / 2.
void PutFileByte(WorldState& w, size_t k, uint8_t b) {
  uint16_t& entry = w.HiScoreTable[k / 2];
  if (k % 2 == 0) {
    entry = static_cast<uint16_t>((entry & 0xFF00u) | b);
  } else {
    entry = static_cast<uint16_t>((entry & 0x00FFu) | (b << 8));
  }
}

// Copies everything of `from` after its first `offset` bytes to `to`.
bool CopyTail(int from, off_t offset, int to) {
  char buffer[1 << 14];
  for (;;) {
    const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, std::string_view(buffer, static_cast<size_t>(n)))) return false;
    offset += n;
  }
}

// Replaces the file at `path` with the table, followed by whatever the old
// file held beyond it, with the old file's permissions.
bool StoreTable(const WorldState& w, const std::string& path) {
  if (path == SystemScorePath() && !EnsureSystemFolder()) return false;
  char table[kFileBytes];
  for (int i = 0; i < kHiScoreEntries; ++i) {
    table[2 * i] = static_cast<char>(w.HiScoreTable[i] & 0xFFu);
    table[2 * i + 1] = static_cast<char>(w.HiScoreTable[i] >> 8);
  }
  const int old = OpenRegularFile(path, O_RDONLY | O_NOFOLLOW);
  struct stat st {};
  const int mode = old >= 0 && ::fstat(old, &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  const bool ok = ReplaceFileAtomically(
      path,
      [&](int fd) {
        return WriteAll(fd, std::string_view(table, kFileBytes)) && (old < 0 || CopyTail(old, kFileBytes, fd));
      },
      mode);
  const int err = errno;
  if (old >= 0) ::close(old);
  errno = err;
  return ok;
}

}  // namespace

ScoreChoice ChooseScoreFiles(ScoreFileState system, ScoreFileState install, bool installWritable) {
  using S = ScoreFileState;
  using P = ScorePlace;
  if (system == S::Usable) return {P::System, P::System};
  // Only a missing system copy is made: anything else there is left alone.
  const P fallback = system == S::Missing ? P::System : P::None;
  if (install == S::Usable) return {P::Install, installWritable ? P::Install : fallback};
  if (install == S::Missing) return {P::None, installWritable ? P::Install : fallback};
  return {P::None, fallback};
}

void LoadHighScores(WorldState& w) {
  const std::string install = w.DataPath + "score.dat";
  const std::string system = SystemScorePath();
  const ScoreFile sys = Probe(system);
  const ScoreFile inst = install == system ? sys : Probe(install);
  const ScoreChoice c = ChooseScoreFiles(sys.state, inst.state, InstallWritable(inst.state, install, w.DataPath));
  w.HiScoreFile = c.writeTo == ScorePlace::Install ? install : c.writeTo == ScorePlace::System ? system : "";
  w.HiScoreLoaded = !w.HiScoreFile.empty();
  if (c.readFrom != ScorePlace::System) ReportLeftAlone(install, inst.state, w.HiScoreFile);
  if (c.writeTo != ScorePlace::System) ReportLeftAlone(system, sys.state, w.HiScoreFile);
  if (c.readFrom == ScorePlace::None) {
    // A file that is looked for and not found is made at once.
    SaveHighScores(w);
    return;
  }
  // A short file fills only the entries it covers; the rest keep their value.
  const std::string& bytes = c.readFrom == ScorePlace::System ? sys.bytes : inst.bytes;
  for (size_t k = 0; k < bytes.size(); ++k) PutFileByte(w, k, static_cast<uint8_t>(bytes[k]));
}

void SaveHighScores(WorldState& w) {
  // A table that was never loaded holds no stored records: writing it would
  // wipe the file's.
  if (!w.HiScoreLoaded) return;
  if (StoreTable(w, w.HiScoreFile)) return;
  const int err = errno;
  // The install folder refused the new file (the folder can't be written, a
  // full disk): the system folder keeps the records instead.
  const std::string system = SystemScorePath();
  const ScoreFileState there = Probe(system).state;
  if (w.HiScoreFile != system && (there == ScoreFileState::Missing || there == ScoreFileState::Usable) &&
      StoreTable(w, system)) {
    w.HiScoreFile = system;
    return;
  }
  ReportProblem(w.HiScoreFile + ": " + std::strerror(err) + "; the records were not kept");
}
