// Fuzzes the high-score file as the game reads and writes it: any score.dat
// loads its first 102 bytes little-endian into the table, and saving
// writes the table back over exactly those bytes, keeping a small tail.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "game/hiscore.h"
#include "game/world_state.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    std::string tmpl = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/zuk_fuzz_XXXXXX");
    if (mkdtemp(tmpl.data()) == nullptr) std::abort();
    return tmpl + "/";
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = Folder() + "score.dat";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
  auto w = std::make_unique<WorldState>();
  w->DataPath = Folder();
  // The per-user folder holds no copy: the install folder's file is the one.
  w->UserFolder = Folder() + "user";
  LoadHighScores(*w);
  if (!w->HiScoreLoaded) std::abort();
  for (size_t i = 0; i < static_cast<size_t>(kHiScoreEntries); ++i) {
    const uint16_t lo = 2 * i < size ? data[2 * i] : 0;
    const uint16_t hi = 2 * i + 1 < size ? data[2 * i + 1] : 0;
    if (w->HiScoreTable[i] != static_cast<uint16_t>(lo | hi << 8)) std::abort();
  }
  w->HiScoreTable[10] = static_cast<uint16_t>(w->HiScoreTable[10] + 1);
  SaveHighScores(*w);
  std::ifstream in(file, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A long file keeps a small tail past the table, no more.
  const size_t kept = std::min<size_t>(size, 102 + 4096);
  if (saved.size() != (kept > 102 ? kept : 102)) std::abort();
  for (size_t i = 0; i < static_cast<size_t>(kHiScoreEntries); ++i) {
    const uint16_t v = static_cast<uint16_t>(static_cast<uint8_t>(saved[2 * i]) |
                                             static_cast<uint8_t>(saved[2 * i + 1]) << 8);
    if (v != w->HiScoreTable[i]) std::abort();
  }
  for (size_t k = 102; k < kept; ++k) {
    if (static_cast<uint8_t>(saved[k]) != data[k]) std::abort();
  }
  return 0;
}
