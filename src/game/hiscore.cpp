#include "game/hiscore.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "base/diagnostic.h"
#include "game/world_state.h"
#include "platform/atomic_file.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"

namespace {

constexpr size_t kFileBytes = 2 * kHiScoreEntries;  // 102
static_assert(kFileBytes == kScoreFileLimit);

struct ScoreFile {
  ScoreFileState state = ScoreFileState::Missing;
  std::string bytes;  // the first bytes of a usable file, up to `limit`
};

std::string SystemScorePath(const WorldState& w) { return JoinPath(w.UserFolder, "score.dat"); }

// Reads what lies at `path`, never following a link.
ScoreFile Probe(const std::string& path, size_t limit = kScoreFileLimit) {
  const std::optional<std::string> bytes = ReadRegularFile(path, limit, false);
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
  if (state == ScoreFileState::Usable) return CanWrite(file);
  if (state == ScoreFileState::Missing) return CanWrite(folder.empty() ? "." : folder);
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

// The table as the file's first 102 bytes.
std::string TableBytes(const WorldState& w) {
  std::string table(kFileBytes, '\0');
  for (int i = 0; i < kHiScoreEntries; ++i) {
    table[2 * i] = static_cast<char>(w.HiScoreTable[i] & 0xFFu);
    table[2 * i + 1] = static_cast<char>(w.HiScoreTable[i] >> 8);
  }
  return table;
}

// Replaces the file at `path` with the table, followed by what the old file
// held beyond it, with the old file's permissions. Only a small tail is
// kept: nothing this program writes lies there, and a huge file planted at
// score.dat must neither stall the end nor fill the disk with its copy.
bool StoreTable(const WorldState& w, const std::string& path) {
  if (path == SystemScorePath(w) && !CreateFolders(w.UserFolder)) return false;
  const ScoreFile old = Probe(path, kScoreFileLimit + kScoreTailLimit);
  const std::string tail = old.bytes.size() > kFileBytes ? old.bytes.substr(kFileBytes) : std::string();
  return ReplaceFileAtomically(path, TableBytes(w) + tail, PermissionBits(path));
}

// Whether the table holds only what the install folder's copy gave it (all
// zeros when that could not be read): a per-user copy made of it would be
// read first on every later run, and the install folder's records never
// again.
bool NothingStored(const WorldState& w) {
  ScoreFile install = Probe(w.DataPath + "score.dat");
  install.bytes.resize(kFileBytes, '\0');
  return TableBytes(w) == install.bytes;
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
  const std::string system = SystemScorePath(w);
  const ScoreFile sys = Probe(system);
  const ScoreFile inst = install == system ? sys : Probe(install);
  const bool writable = !w.PackageDataFolder && InstallWritable(inst.state, install, w.DataPath);
  const ScoreChoice c = ChooseScoreFiles(sys.state, inst.state, writable);
  w.HiScoreFile = c.writeTo == ScorePlace::Install ? install : c.writeTo == ScorePlace::System ? system : "";
  w.HiScoreLoaded = !w.HiScoreFile.empty();
  if (c.readFrom != ScorePlace::System) ReportLeftAlone(install, inst.state, w.HiScoreFile);
  if (c.writeTo != ScorePlace::System) ReportLeftAlone(system, sys.state, w.HiScoreFile);
  if (c.readFrom == ScorePlace::None) {
    // A file that is looked for and not found is made at once; the per-user
    // copy only once a game stores a score (SaveHighScores).
    if (c.writeTo == ScorePlace::Install) SaveHighScores(w);
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
  const std::string system = SystemScorePath(w);
  if (w.HiScoreFile == system && !PathExists(system) && NothingStored(w)) return;
  if (StoreTable(w, w.HiScoreFile)) return;
  const int err = errno;
  // The install folder refused the new file (the folder can't be written, a
  // full disk): the system folder keeps the records instead.
  const ScoreFileState there = Probe(system).state;
  if (w.HiScoreFile != system && (there == ScoreFileState::Missing || there == ScoreFileState::Usable) &&
      StoreTable(w, system)) {
    w.HiScoreFile = system;
    return;
  }
  ReportProblem(w.HiScoreFile + ": " + std::strerror(err) + "; the records were not kept");
}
