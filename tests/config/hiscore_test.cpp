// The high-score file score.dat in the data folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "main/hiscore.h"
#include "main/world_state.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// count bytes, byte k = (k * 7 + 3) & 0xFF.
std::string Pattern(size_t count) {
  std::string s(count, '\0');
  for (size_t k = 0; k < count; ++k) s[k] = static_cast<char>((k * 7 + 3) & 0xFF);
  return s;
}

class HiScoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zuk_hiscore_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    w_ = std::make_unique<WorldState>();
    w_->DataPath = root_.string() + "/";
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path File() const { return root_ / "score.dat"; }

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
  odd->HiScoreTable[2] = 0xAB00;
  WriteBytes(File(), std::string("\x01\x02\x03\x04\x05", 5));
  LoadHighScores(*odd);
  EXPECT_EQ(odd->HiScoreTable[2], 0xAB05);

  const std::string longFile = Pattern(200);
  WriteBytes(File(), longFile);
  auto w2 = std::make_unique<WorldState>();
  w2->DataPath = w_->DataPath;
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

  // A file that exists but can't be read is not replaced by an empty table.
  fs::remove(File());
  fs::create_directory(File());
  LoadHighScores(*w_);
  EXPECT_FALSE(w_->HiScoreLoaded);
  SaveHighScores(*w_);
  EXPECT_TRUE(fs::is_directory(File()));
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

TEST_F(HiScoreTest, MissingFolderWritesNothing) {
  w_->DataPath = (root_ / "gone").string() + "/";
  LoadHighScores(*w_);
  EXPECT_FALSE(w_->HiScoreLoaded);
  SaveHighScores(*w_);
  EXPECT_FALSE(fs::exists(root_ / "gone"));
}

}  // namespace

namespace {

// A FIFO in place of score.dat neither blocks the load nor gets written:
// the table counts as unreadable.
TEST_F(HiScoreTest, AFifoIsNeitherWaitedOnNorWritten) {
  ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
  LoadHighScores(*w_);
  EXPECT_FALSE(w_->HiScoreLoaded);
  w_->HiScoreLoaded = true;  // even a loaded table is not written into it
  w_->HiScoreTable[10] = 37;
  SaveHighScores(*w_);
  EXPECT_TRUE(fs::is_fifo(File()));
}

}  // namespace
