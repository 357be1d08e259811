// The setup window: the display probe on every activation, installing into
// the system folder, and failures that must not be reported as success.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Button.H>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iterator>

#include <optional>

#include "config/settings.h"
#include "platform/process.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/setup_window.h"
#include "ui/readme_window.h"

using namespace uitest;

namespace {

// Settings a user chose, which a setup that fails must leave as they are.
constexpr const char* kUsersSettings = "PATH=/old\r\nMAX=33\r\nSOUND=OFF\r\n";

class SetupWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    install = dir / "distribution folder";
    std::filesystem::create_directories(install);
    std::filesystem::current_path(install);
    WriteBytes(install / "bmp1.bmp", "the data files are here");
    program = dir / "ZUK_RER1.EXE";
    WriteBytes(program, std::string("\x7F" "ELF program image", 18) + std::string(200000, 'z'));
  }
  void Open(bool displayOk = true) {
    app.CreateForm(SetupForm);
    app.CreateForm(ReadmeForm);
    app.MainForm = SetupForm;
    this->displayOk = displayOk;
    programFile.emplace(program.string());
  }
  bool Claimed() const {
    for (const auto& b : boxes) {
      if (b.text.find("セットアップ完了") != std::string::npos) return true;
    }
    return false;
  }
  std::filesystem::path Installed() const { return windir / "zuk_rer1.scr"; }

  std::filesystem::path install;
  std::filesystem::path program;
  std::optional<ScopedProgramFile> programFile;
  int probes = 0;
  bool displayOk = true;
  const ScopedDisplayProbe probe{[this] {
    ++probes;
    return displayOk;
  }};
};

TEST_F(SetupWindowTest, InstallWritesTheSetupFileAndAnExecutableCopy) {
  Open();
  SetupForm->Show();
  Settle();
  EXPECT_GE(probes, 1);
  WriteBytes(Installed(), "an older version");
  WriteBytes(SettingsFile(), "PATH=/old\r\nMAX=33\r\nGAME_TIME=ON\r\n");

  EXPECT_THROW(SetupForm->InstallButton->do_callback(), ProgramEndSignal);
  const std::string folder = std::filesystem::current_path().string();
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "PATH=" + folder + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");
  EXPECT_EQ(ReadBytes(SettingsFile()).size(), 51 + folder.size());
  EXPECT_EQ(ReadBytes(Installed()), ReadBytes(program));
  struct stat st {};
  ASSERT_EQ(::stat(Installed().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  // No temporary file is left next to it.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(windir)) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 2);

  EXPECT_FALSE(SetupForm->Visible());
  EXPECT_FALSE(SetupForm->InstallButton->active());
  EXPECT_EQ(platform.beeps, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "ＺＵＫスクリーンセーバーＮｏ．１");
  EXPECT_EQ(boxes[0].text, "　★セットアップ完了。無事に動くといいですね！(^^;)　");
  EXPECT_EQ(app.Title, "ＺＵＫスクリーンセーバーＮｏ．１");
}

// Started from a folder without the data files (a terminal in the home
// folder), setup records the running program's folder when that holds them,
// and says so when no folder does, writing nothing.
TEST_F(SetupWindowTest, TheFolderThatHoldsTheDataFilesIsRecorded) {
  Open();
  std::filesystem::remove(install / "bmp1.bmp");
  WriteBytes(dir / "bmp1.bmp", "next to the program");
  EXPECT_THROW(SetupForm->InstallButton->do_callback(), ProgramEndSignal);
  EXPECT_EQ(ReadBytes(SettingsFile()).substr(0, 7 + dir.string().size()), "PATH=" + dir.string() + "\r\n");

  std::filesystem::remove(SettingsFile());
  std::filesystem::remove(dir / "bmp1.bmp");
  boxes.clear();
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("bmp1.bmp"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find(install.string()), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("セットアップは完了していません"), std::string::npos);
  EXPECT_TRUE(SetupForm->InstallButton->active());
}

// A folder that can't be recorded (a line end in its name) is named with
// what is wrong with it; a folder looked in is listed once.
TEST_F(SetupWindowTest, MessagesNameTheFolderOnceAndWhatIsWrongWithIt) {
  Open();
  const std::filesystem::path odd = dir / "line\nbreak";
  std::filesystem::create_directories(odd);
  WriteBytes(odd / "bmp1.bmp", "data");
  std::filesystem::current_path(odd);
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(odd.string()), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("改行"), std::string::npos) << boxes[0].text;
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

  // Started in the program's own folder, which holds no data files.
  boxes.clear();
  std::filesystem::current_path(dir);
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.find(dir.string()), boxes[0].text.rfind(dir.string())) << boxes[0].text;
}

TEST_F(SetupWindowTest, TheRunningProgramIsWhatGetsInstalledByDefault) {
  app.CreateForm(SetupForm);
  EXPECT_THROW(SetupForm->InstallButton->do_callback(), ProgramEndSignal);
  EXPECT_EQ(ReadBytes(Installed()), ReadBytes("/proc/self/exe"));
  EXPECT_EQ(::access(Installed().c_str(), X_OK), 0);
}

// A full disk (a tiny file system of its own in a private mount namespace)
// fails the copy; the user's settings and nothing else are left on it.
TEST_F(SetupWindowTest, AFullDiskKeepsTheUsersSettings) {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tmpfs", windir.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "a tmpfs of its own needs root for a mount namespace: " << std::strerror(errno);
  }
  Open();
  WriteBytes(SettingsFile(), kUsersSettings);
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(std::strerror(ENOSPC)), std::string::npos) << boxes[0].text;
  EXPECT_EQ(ReadBytes(SettingsFile()), kUsersSettings);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(windir), {}), 1);
  ::umount2(windir.c_str(), MNT_DETACH);
}

TEST_F(SetupWindowTest, AnUnusableSystemFolderIsReportedAndNothingClaimsSuccess) {
  Open();
  SetupForm->Show();
  Settle();
  WriteBytes(dir / "plain", "x");
  const std::string badDir = (dir / "plain" / "windows").string();
  ::setenv("ZUK_RER1_WINDIR", badDir.c_str(), 1);

  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  EXPECT_FALSE(Claimed());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(badDir + "/ZUK_RER1.CNF"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find(std::strerror(ENOTDIR)), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find("セットアップは完了していません"), std::string::npos);
  EXPECT_EQ(platform.beeps, 0);
  EXPECT_TRUE(SetupForm->Visible());
  EXPECT_TRUE(SetupForm->InstallButton->active());
}

TEST_F(SetupWindowTest, AFailedCopyIsReportedWithTheFileAndTheReason) {
  Open();
  // The target name is taken by a folder: the copy can't be put in place,
  // and the user's settings stay.
  std::filesystem::create_directories(Installed());
  WriteBytes(SettingsFile(), kUsersSettings);
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  EXPECT_EQ(ReadBytes(SettingsFile()), kUsersSettings);
  EXPECT_FALSE(Claimed());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(Installed().string()), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find(std::strerror(EISDIR)), std::string::npos) << boxes[0].text;
  EXPECT_TRUE(SetupForm->InstallButton->active());
  for (const auto& e : std::filesystem::directory_iterator(windir)) {
    EXPECT_EQ(e.path().filename().string().find("zuk_rer1.scr."), std::string::npos) << e.path();
  }

  // A program file that can't be read is named as such.
  boxes.clear();
  std::filesystem::remove(Installed());
  programFile.emplace((dir / "gone.exe").string());
  EXPECT_NO_THROW(SetupForm->InstallButton->do_callback());
  EXPECT_FALSE(Claimed());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("gone.exe"), std::string::npos);
  EXPECT_NE(boxes[0].text.find(std::strerror(ENOENT)), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Installed()));
}

TEST_F(SetupWindowTest, TheProbeRunsOnEveryActivationAndEndsWithoutADisplay) {
  Open();
  SetupForm->Show();
  EXPECT_EQ(probes, 1);
  SetupForm->NotifyFocus(false);
  SetupForm->NotifyFocus(true);
  EXPECT_EQ(probes, 2);
  SetupForm->NotifyFocus(true);  // still active: no new activation
  EXPECT_EQ(probes, 2);
  EXPECT_TRUE(boxes.empty());

  SetupForm->Hide();
  displayOk = false;
  EXPECT_THROW(SetupForm->Show(), ProgramEndSignal);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "★ZUK_RER1ｽｸﾘｰﾝｾｰﾊﾞｰで、DirectＸが使用できません。");
  EXPECT_EQ(boxes[0].caption, "Zuk_rer1");
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  EXPECT_FALSE(std::filesystem::exists(Installed()));
}

TEST_F(SetupWindowTest, TheRealProbeAcceptsThisDisplay) {
  app.CreateForm(SetupForm);
  EXPECT_NO_THROW(SetupForm->Show());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SetupWindowTest, ReadmeFromTheDataFolderAndHiddenWithTheWindow) {
  Open();
  SetupForm->Show();
  Settle();
  SetupForm->ReadmeButton->do_callback();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, 1);
  EXPECT_EQ(boxes[0].text, "ファイル " + (install / "readme.txt").string() + " は開けません.");
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_TRUE(SetupForm->Visible());

  // Started from a folder without the data files: the program's folder
  // holds them, and its readme is shown.
  std::filesystem::current_path(windir);
  WriteBytes(dir / "bmp1.bmp", "data");
  WriteBytes(dir / "readme.txt", "\x90\xE0\x96\xBE\r\n");
  SetupForm->ReadmeButton->do_callback();
  EXPECT_TRUE(ReadmeForm->Visible());
  EXPECT_EQ(ReadmeForm->DisplayedText(), "説明");
  SetupForm->Window()->do_callback();  // the close box
  EXPECT_FALSE(SetupForm->Visible());
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(SetupWindowTest, CentredWithShapeBehindTheButtonAndTabOrder) {
  Open();
  Fl_Window* w = SetupForm->Window();
  EXPECT_LT(w->find(SetupForm->ButtonFrame), w->find(SetupForm->InstallButton));
  SetupForm->Show();
  Settle();
  // Centred, and the size can't change.
  EXPECT_EQ(w->x(), (Fl::w() - 572) / 2);
  EXPECT_EQ(w->y(), (Fl::h() - 185) / 2);
  SetupForm->ReadmeButton->take_focus();
  PressKey(w, FL_Tab);
  EXPECT_EQ(Fl::focus(), SetupForm->InstallButton);
}

}  // namespace
