// The high-score file score.dat in the data folder.
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <functional>
#include <sstream>
#include <vector>

#include "game/hiscore.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

// count bytes, byte k = (k * 7 + 3) & 0xFF.
std::string Pattern(size_t count) {
  std::string s(count, '\0');
  for (size_t k = 0; k < count; ++k) s[k] = static_cast<char>((k * 7 + 3) & 0xFF);
  return s;
}

// The install folder is the temporary folder itself, the system folder a
// folder inside it.
class HiScoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testsupport::FreshDir("hiscore");
    w_ = std::make_unique<WorldState>();
    w_->DataPath = root_.string() + "/";
    w_->UserFolder = (root_ / "system").string();
  }
  void TearDown() override {
    fs::remove_all(root_);
  }
  fs::path File() const { return root_ / "score.dat"; }
  fs::path SystemFile() const { return root_ / "system" / "score.dat"; }

  fs::path root_;
  std::unique_ptr<WorldState> w_;
};

TEST_F(HiScoreTest, MissingFileIsCreatedWithZeros) {
  LoadHighScores(*w_);
  EXPECT_TRUE(w_->HiScoreLoaded);
  EXPECT_EQ(ReadBytes(File()), std::string(102, '\0'));
  SaveHighScores(*w_);
  EXPECT_EQ(ReadBytes(File()), std::string(102, '\0'));
}

TEST_F(HiScoreTest, RecordIsStoredLittleEndian) {
  std::string bytes(102, '\0');
  bytes[20] = 25;       // entry 10 = 25
  bytes[100] = '\x34';  // entry 50 = 0x1234
  bytes[101] = '\x12';
  WriteBytes(File(), bytes);
  LoadHighScores(*w_);
  ASSERT_TRUE(w_->HiScoreLoaded);
  EXPECT_EQ(w_->HiScoreTable[10], 25);
  EXPECT_EQ(w_->HiScoreTable[50], 0x1234);

  w_->HiScoreTable[10] = 37;  // a game with MAX 10 scored 37
  SaveHighScores(*w_);
  bytes[20] = 0x25;
  bytes[21] = 0x00;
  EXPECT_EQ(ReadBytes(File()), bytes);

  // A score above 65535 lands in the table as its low 16 bits.
  w_->HiScoreTable[3] = static_cast<uint16_t>(70000);  // 0x11170
  SaveHighScores(*w_);
  const std::string after = ReadBytes(File());
  EXPECT_EQ(static_cast<uint8_t>(after[6]), 0x70);
  EXPECT_EQ(static_cast<uint8_t>(after[7]), 0x11);
}

TEST_F(HiScoreTest, ShortAndLongFiles) {
  const std::string shortFile = Pattern(40);
  WriteBytes(File(), shortFile);
  LoadHighScores(*w_);
  ASSERT_TRUE(w_->HiScoreLoaded);
  EXPECT_EQ(w_->HiScoreTable[19], ((39 * 7 + 3) & 0xFF) << 8 | ((38 * 7 + 3) & 0xFF));
  for (int i = 20; i < kHiScoreEntries; ++i) EXPECT_EQ(w_->HiScoreTable[i], 0) << i;
  SaveHighScores(*w_);
  EXPECT_EQ(ReadBytes(File()), shortFile + std::string(62, '\0'));

  // An odd length fills the low byte of its last entry only.
  auto odd = std::make_unique<WorldState>();
  odd->DataPath = w_->DataPath;
  odd->UserFolder = w_->UserFolder;
  odd->HiScoreTable[2] = 0xAB00;
  WriteBytes(File(), std::string("\x01\x02\x03\x04\x05", 5));
  LoadHighScores(*odd);
  EXPECT_EQ(odd->HiScoreTable[2], 0xAB05);

  const std::string longFile = Pattern(200);
  WriteBytes(File(), longFile);
  auto w2 = std::make_unique<WorldState>();
  w2->DataPath = w_->DataPath;
  w2->UserFolder = w_->UserFolder;
  LoadHighScores(*w2);
  EXPECT_EQ(w2->HiScoreTable[50], ((101 * 7 + 3) & 0xFF) << 8 | ((100 * 7 + 3) & 0xFF));
  w2->HiScoreTable[0] = 0xBEEF;
  SaveHighScores(*w2);
  std::string expected = longFile;
  expected[0] = '\xEF';
  expected[1] = '\xBE';
  EXPECT_EQ(ReadBytes(File()), expected);
}

TEST_F(HiScoreTest, NeverLoadedTableIsNotWritten) {
  const std::string stored = Pattern(102);
  WriteBytes(File(), stored);
  SaveHighScores(*w_);  // start-up failed before the frame loop
  EXPECT_EQ(ReadBytes(File()), stored);

}

TEST_F(HiScoreTest, FileDeletedDuringRunGetsTableInMemory) {
  WriteBytes(File(), Pattern(102));
  LoadHighScores(*w_);
  ASSERT_TRUE(w_->HiScoreLoaded);
  w_->HiScoreTable[10] = 999;
  fs::remove(File());
  SaveHighScores(*w_);
  std::string expected = Pattern(102);
  expected[20] = static_cast<char>(999 & 0xFF);
  expected[21] = static_cast<char>(999 >> 8);
  EXPECT_EQ(ReadBytes(File()), expected);
  EXPECT_EQ(w_->HiScoreTable[10], 999);
}

TEST_F(HiScoreTest, AMissingInstallFolderLeavesTheRecordsToTheSystemFolder) {
  w_->DataPath = (root_ / "gone").string() + "/";
  LoadHighScores(*w_);
  w_->HiScoreTable[10] = 37;
  SaveHighScores(*w_);
  EXPECT_FALSE(fs::exists(root_ / "gone"));
  EXPECT_EQ(ReadBytes(SystemFile()).substr(20, 2), std::string("\x25\x00", 2));
}

// A passing read error on the install folder's copy makes no zeroed table
// in the per-user folder, which every later run would read first; a stored
// score is kept there.
TEST_F(HiScoreTest, AReadErrorMakesNoPerUserCopyUntilAScoreIsStored) {
  WriteBytes(File(), Pattern(102));
  const std::string install = File().string();
  const ScopedFileReader failing([install](const std::string& path, size_t, bool) -> std::optional<std::string> {
    errno = path == install ? EIO : ENOENT;
    return std::nullopt;
  });
  w_->PackageDataFolder = true;  // a read-only folder, also for root
  LoadHighScores(*w_);
  SaveHighScores(*w_);
  EXPECT_FALSE(fs::exists(SystemFile()));
  w_->HiScoreTable[10] = 37;
  SaveHighScores(*w_);
  EXPECT_EQ(ReadBytes(SystemFile()).substr(20, 1), "\x25");
  EXPECT_EQ(ReadBytes(File()), Pattern(102));
}

// A package's folder is never written: a missing file is not made there,
// and the records go to the per-user folder.
TEST_F(HiScoreTest, APackagesFolderIsReadButNeverWritten) {
  w_->PackageDataFolder = true;
  LoadHighScores(*w_);
  w_->HiScoreTable[10] = 37;
  SaveHighScores(*w_);
  EXPECT_FALSE(fs::exists(File()));
  EXPECT_EQ(ReadBytes(SystemFile()).substr(20, 1), "\x25");
}

// A huge (sparse) file keeps only a small tail after the table: the save
// neither reads it all nor writes its size again.
TEST_F(HiScoreTest, AHugeFileIsCutToASmallTail) {
  WriteBytes(File(), Pattern(300));
  fs::resize_file(File(), std::uintmax_t{1} << 30);
  LoadHighScores(*w_);
  w_->HiScoreTable[0] = 0xBEEF;
  SaveHighScores(*w_);
  const std::string saved = ReadBytes(File());
  ASSERT_EQ(saved.size(), 102u + 4096u);
  EXPECT_EQ(saved.substr(0, 2), "\xEF\xBE");
  EXPECT_EQ(saved.substr(2, 298), Pattern(300).substr(2));
}

}  // namespace

namespace {

// What lies at score.dat is never written through: a link (to a file, or
// dangling), a FIFO, a folder. The records go to the system folder instead.
TEST_F(HiScoreTest, NothingButARegularFileIsReadOrWrittenThrough) {
  const fs::path target = root_ / "private";
  WriteBytes(target, "a private file");
  std::error_code ec;
  const std::vector<std::function<void()>> plants = {
      [&] { fs::create_symlink(target, File(), ec); },
      [&] { fs::create_symlink(root_ / "elsewhere", File(), ec); },
      [&] { ASSERT_TRUE(testsupport::MakeFifo(File().string())); },
      [&] { fs::create_directory(File()); },
  };
  for (size_t i = 0; i < plants.size(); ++i) {
    fs::remove_all(File());
    fs::remove_all(SystemFile().parent_path());
    plants[i]();
    if (ec) continue;  // a system without links (Wine's)
    auto w = std::make_unique<WorldState>();
    w->DataPath = w_->DataPath;
    w->UserFolder = w_->UserFolder;
    LoadHighScores(*w);
    w->HiScoreTable[10] = 37;
    SaveHighScores(*w);
    EXPECT_EQ(ReadBytes(target), "a private file") << i;
    EXPECT_FALSE(fs::exists(root_ / "elsewhere")) << i;
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(File()))) << i;
    EXPECT_EQ(ReadBytes(SystemFile()).substr(20, 1), "\x25") << i;
  }
}

// Where the records are read from and written to, for every state of the
// two places.
TEST(ScoreFiles, TheSystemCopyFirstThenTheInstallFoldersThenTheSystemFolder) {
  using S = ScoreFileState;
  using P = ScorePlace;
  struct Row {
    S system, install;
    bool installWritable;
    P read, write;
  };
  const Row rows[] = {
      {S::Usable, S::Usable, true, P::System, P::System},
      {S::Missing, S::Usable, true, P::Install, P::Install},
      {S::Missing, S::Usable, false, P::Install, P::System},  // another user's file
      {S::Missing, S::Missing, true, P::None, P::Install},
      {S::Missing, S::Missing, false, P::None, P::System},  // a package's folder
      {S::Missing, S::Link, false, P::None, P::System},
      {S::Missing, S::NotRegular, false, P::None, P::System},
      {S::Missing, S::Unreadable, false, P::None, P::System},
      {S::Link, S::Usable, false, P::Install, P::None},
      {S::Unreadable, S::Missing, false, P::None, P::None},
      {S::NotRegular, S::Missing, true, P::None, P::Install},
  };
  for (const Row& r : rows) {
    const ScoreChoice c = ChooseScoreFiles(r.system, r.install, r.installWritable);
    EXPECT_EQ(c.readFrom, r.read) << static_cast<int>(r.system) << static_cast<int>(r.install);
    EXPECT_EQ(c.writeTo, r.write) << static_cast<int>(r.system) << static_cast<int>(r.install);
  }
}

// Two users share one install folder that both may write to: the first
// keeps the records in the folder, the second, who can't write the first
// one's file, in a system folder of their own, and each sees their own.
TEST_F(HiScoreTest, TwoUsersOfOneInstallFolderBothKeepTheirRecords) {
  if (!testsupport::IsRoot()) GTEST_SKIP() << "needs root to play as two users";
  fs::permissions(root_, fs::perms::all);
  const std::string install = w_->DataPath;
  auto record = [install](const fs::path& user, uint16_t score) {
    return [install, user, score] {
      WorldState w;
      w.DataPath = install;
      w.UserFolder = user.string();
      LoadHighScores(w);
      const uint16_t seen = w.HiScoreTable[10];
      if (score > seen) w.HiScoreTable[10] = score;
      SaveHighScores(w);
      return true;
    };
  };
  auto best = [install](const fs::path& user, uint16_t expected) {
    return [install, user, expected] {
      WorldState w;
      w.DataPath = install;
      w.UserFolder = user.string();
      LoadHighScores(w);
      return w.HiScoreTable[10] == expected;
    };
  };
  const fs::path first = root_ / "first", second = root_ / "second";
  ASSERT_TRUE(testsupport::RunAsUser(65533, record(first, 37)));
  ASSERT_TRUE(testsupport::RunAsUser(65534, record(second, 50)));
  EXPECT_TRUE(testsupport::RunAsUser(65533, best(first, 37)));
  EXPECT_TRUE(testsupport::RunAsUser(65534, best(second, 50)));
  EXPECT_EQ(ReadBytes(File()).substr(20, 1), "\x25");
  EXPECT_EQ(ReadBytes(second / "score.dat").substr(20, 1), "\x32");
}

}  // namespace
