// The settings file on disk: location, writers' bytes, atomic replacement and
// the readers applied to the game's settings.
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/file_system.h"
#include "platform/fs_path.h"
#include "config/settings.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testsupport::FreshDir("config");
    win_ = root_ / "win" / "sub";  // missing until a writer creates it
    data_ = root_ / "data";
    fs::create_directories(data_);
    WriteBytes(data_ / "bmp1.bmp", "BM");
    testsupport::SetEnvironment("ZUK_RER1_WINDIR", win_.string().c_str());
    // Windows' per-user folder, read after the Windows directory.
    testsupport::SetEnvironment("LOCALAPPDATA", (root_ / "local").string().c_str());
  }
  void TearDown() override {
    testsupport::SetEnvironment("ZUK_RER1_WINDIR", nullptr);
    testsupport::SetEnvironment("LOCALAPPDATA", nullptr);
    fs::remove_all(root_);
  }
  fs::path Cnf() const { return win_ / "ZUK_RER1.CNF"; }
  void WriteCnf(const std::string& text) {
    fs::create_directories(win_);
    WriteBytes(Cnf(), text);
  }

  fs::path root_, win_, data_;
};

TEST_F(SettingsFileTest, PathFollowsSystemFolder) {
  EXPECT_EQ(fs::path(SettingsFilePath()), Cnf());
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", (root_ / "other").string().c_str());
  EXPECT_EQ(fs::path(SettingsFilePath()), root_ / "other" / "ZUK_RER1.CNF");
}

TEST_F(SettingsFileTest, WritersProduceExactBytes) {
  const std::string dir = data_.string();
  ASSERT_TRUE(WriteSetupFile(dir));  // creates the missing system folder
  const std::string setup = ReadBytes(Cnf());
  EXPECT_EQ(setup, "PATH=" + dir + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");
  EXPECT_EQ(setup.size(), 51 + dir.size());

  WindowSettings v;
  ASSERT_TRUE(ReadSettingsForWindow(v));
  EXPECT_EQ(v.DataPath, dir + "/");
  ASSERT_TRUE(WriteSettingsFile(v));
  const std::string saved = ReadBytes(Cnf());
  EXPECT_EQ(saved, "PATH=" + dir +
                       "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\nGAME_TIME=OFF\r\n");
  EXPECT_EQ(saved.size(), 61 + 5 + dir.size());

  // Saved again with changed values: same seven lines, same first line.
  v.MaxMeteors = 37;
  v.Volume = 1;
  v.Joystick = true;
  v.Sound = false;
  v.LongGame = true;
  ASSERT_TRUE(WriteSettingsFile(v));
  EXPECT_EQ(ReadBytes(Cnf()), "PATH=" + dir +
                                  "\r\nMAX=37\r\nJOY=ON\r\nVOL=1\r\nAUTO=ON\r\nSOUND=OFF\r\nGAME_TIME=ON\r\n");

  // A folder name with a line end would split the PATH line.
  errno = 0;
  EXPECT_FALSE(WriteSetupFile("/a\nMAX=99"));
  EXPECT_EQ(errno, EINVAL);
}

TEST_F(SettingsFileTest, LongPathSurvivesSaveAndLfFileIsRead) {
  if (!testsupport::LongPathsWork()) GTEST_SKIP() << "paths past MAX_PATH need the program's long-path opt-in";
  const fs::path deep = data_ / std::string(200, 'd') / std::string(95, 'e');
  fs::create_directories(deep);
  WriteBytes(deep / "bmp1.bmp", "BM");
  ASSERT_GT(deep.string().size(), 300u);
  WriteCnf("PATH=" + deep.string() + "\nMAX=12\nVOL=3\n");

  WindowSettings v;
  ASSERT_TRUE(ReadSettingsForWindow(v));
  EXPECT_EQ(v.DataPath, deep.string() + "/");
  EXPECT_EQ(v.MaxMeteors, 12);
  ASSERT_TRUE(WriteSettingsFile(v));
  const std::string saved = ReadBytes(Cnf());
  EXPECT_EQ(saved.substr(0, deep.string().size() + 7), "PATH=" + deep.string() + "\r\n");

  auto w = std::make_unique<Settings>();
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::Ok);
  EXPECT_EQ(w->DataPath, deep.string() + "/");
  EXPECT_EQ(w->MaxMeteors, 12);
  EXPECT_EQ(w->Volume, 3);
}

TEST_F(SettingsFileTest, InterruptedWriteKeepsOldFile) {
  const std::string old = "PATH=" + data_.string() + "\r\nMAX=33\r\n";
  WriteCnf(old);
  const ScopedFileRename failing(&FailingRename);
  WindowSettings v;
  errno = 0;
  EXPECT_FALSE(WriteSettingsFile(v));
  EXPECT_EQ(errno, EIO);
  EXPECT_FALSE(WriteSetupFile("/elsewhere"));
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(ReadBytes(Cnf()), old);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(win_)) {
    EXPECT_EQ(entry.path().filename(), "ZUK_RER1.CNF");
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(SettingsFileTest, WriteFailsWhenFolderCannotBeMade) {
  WriteBytes(root_ / "plain", "x");
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", (root_ / "plain" / "win").string().c_str());
  errno = 0;
  EXPECT_FALSE(WriteSetupFile("/x"));
  EXPECT_NE(errno, 0);
  WindowSettings v;
  EXPECT_FALSE(WriteSettingsFile(v));
}

TEST_F(SettingsFileTest, GameReaderOnTheGamesSettings) {
  auto w = std::make_unique<Settings>();
  // Missing file: no PATH line; the defaults are set all the same.
  w->MaxMeteors = 77;
  w->Autopilot = 0;
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::NoPath);
  EXPECT_EQ(w->MaxMeteors, 20);
  EXPECT_EQ(w->Autopilot, 1);
  EXPECT_TRUE(w->DataPath.empty());

  // SoundOff from the sound unit and JoystickOn are not reset.
  w = std::make_unique<Settings>();
  w->SoundOff = 1;
  WriteCnf("PATH=" + data_.string() + "\r\nMAX=1000\r\nVOL=\r\nJOY=OFF\r\nJOY=ON\r\nAUTO=OFF\r\nGAME_TIME=ON\r\n");
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::Ok);
  EXPECT_EQ(w->DataPath, data_.string() + "/");
  EXPECT_EQ(w->MaxMeteors, 100);
  EXPECT_EQ(w->Volume, 0);
  EXPECT_EQ(w->JoystickOn, 1);
  EXPECT_EQ(w->Autopilot, 0);
  EXPECT_EQ(w->AutoResume, 0);
  EXPECT_EQ(w->SoundOff, 1);
  EXPECT_EQ(w->GameTimeLong, 1);

  // A data folder without bmp1.bmp (a directory of that name does not count).
  fs::create_directories(root_ / "empty" / "bmp1.bmp");
  WriteCnf("PATH=" + data_.string() + "\r\nPATH=" + (root_ / "empty").string() + "\r\nMAX=5\r\n");
  w = std::make_unique<Settings>();
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::DataMissing);
  EXPECT_EQ(w->DataPath, (root_ / "empty").string() + "/");
  EXPECT_EQ(w->MaxMeteors, 20);

  // CR-only file and Ctrl-Z.
  WriteCnf("PATH=" + data_.string() + "\rMAX=8\r\x1aMAX=9\r");
  w = std::make_unique<Settings>();
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::Ok);
  EXPECT_EQ(w->MaxMeteors, 8);
}

TEST_F(SettingsFileTest, SetupDefaultsOverAPartlyReadFile) {
  // A file read up to a PATH without data: what it set before is undone,
  // setup's values and the given data folder are used.
  WriteCnf("JOY=ON\r\nMAX=77\r\nAUTO=OFF\r\nGAME_TIME=ON\r\nPATH=" + (root_ / "none").string() + "\r\n");
  auto w = std::make_unique<Settings>();
  EXPECT_EQ(ReadGameSettings(*w), GameReadResult::DataMissing);
  EXPECT_EQ(ApplySetupDefaults(*w, data_.string() + "/"), GameReadResult::Ok);
  EXPECT_EQ(w->DataPath, data_.string() + "/");
  EXPECT_EQ(w->MaxMeteors, 10);
  EXPECT_EQ(w->Volume, 50);
  EXPECT_EQ(w->JoystickOn, 0);
  EXPECT_EQ(w->Autopilot, 1);
  EXPECT_EQ(w->AutoResume, 1);
  EXPECT_EQ(w->GameTimeLong, 0);
}

TEST_F(SettingsFileTest, WindowReaderWithoutFile) {
  WindowSettings v;
  EXPECT_FALSE(ReadSettingsForWindow(v));
  EXPECT_TRUE(v.DataPath.empty());
  EXPECT_EQ(v.MaxMeteors, 10);
}

}  // namespace

namespace {

// A save killed between its temporary file and the rename leaves
// "<target>.<pid>.<n>.tmp". The next save removes every one that no writer
// holds open, even one named with a running process's id (ids come again:
// Wine gives each fresh session the same), and keeps a save in progress in
// this very process and other files alike.
TEST_F(SettingsFileTest, NextSaveRemovesLeftoversThatNoWriterHolds) {
  WriteCnf("PATH=" + data_.string() + "\r\n");
  const std::string cnf = Cnf().string();
  const std::string dead = cnf + "." + std::to_string(testsupport::DeadProcessId()) + ".0.tmp";
  const std::string sameId = cnf + "." + std::to_string(testsupport::OwnProcessId()) + ".3.tmp";
  const std::string other = (win_ / "OTHER.CNF").string() + "." + std::to_string(testsupport::OwnProcessId()) + ".0.tmp";
  for (const std::string& f : {dead, sameId, other}) WriteBytes(f, "half");
  size_t duringSave = 0;  // temporary files while the outer save runs
  ASSERT_TRUE(ReplaceFileAtomically(cnf, [&](FileHandle& file) {
    WindowSettings v;
    const bool nested = WriteSettingsFile(v);  // cleans up before its own save
    duringSave = std::distance(fs::directory_iterator(win_), {}) - 1;
    return nested && file.WriteAll("PATH=" + data_.string() + "\r\n");
  }));
  EXPECT_EQ(duringSave, 2u);  // the outer save's and OTHER.CNF's
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_FALSE(fs::exists(sameId));
  EXPECT_TRUE(fs::exists(other));
}

// The folders of real users: Japanese, with a space, accented, under a
// Japanese user name. The settings file is written into such a folder,
// names such a data folder, and both readers find the data files there
// again; what is made on disk has the very name asked for (a name read in
// the wrong code page would make another folder).
TEST_F(SettingsFileTest, FoldersNamedInAnyLanguageAreWrittenAndReadBack) {
  for (const char8_t* name : {u8"ダウンロード/my savers", u8"Spiele für", u8"田中/AppData/Local"}) {
    SCOPED_TRACE(reinterpret_cast<const char*>(name));
    const fs::path system = root_ / name / "win";
    const fs::path data = root_ / name / "data";
    testsupport::SetEnvironment("ZUK_RER1_WINDIR", PathText(system).c_str());
    ASSERT_TRUE(CreateFolders(PathText(data)));
    WriteBytes(data / "bmp1.bmp", "BM");
    ASSERT_TRUE(WriteSetupFile(PathText(data)));
    EXPECT_TRUE(fs::is_regular_file(system / "ZUK_RER1.CNF"));

    WindowSettings v;
    ASSERT_TRUE(ReadSettingsForWindow(v));
    EXPECT_EQ(ReadBytes(FsPath(v.DataPath) / "bmp1.bmp"), "BM");
    ASSERT_TRUE(WriteSettingsFile(v));
    Settings g;
    EXPECT_EQ(ReadGameSettings(g), GameReadResult::Ok);
    EXPECT_TRUE(IsRegularFile(g.DataPath + "bmp1.bmp"));
  }
}

}  // namespace
