// The real program, started as a separate process under the test X server.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <chrono>
#include <string>

#include "base/catalogue.h"
#include "platform/instance_lock.h"
#include "support/bitmap_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct ProgramFixture : ::testing::Test {
  fs::path dir;
  fs::path win;
  fs::path run;
  std::map<std::string, std::string> env;

  void SetUp() override {
    dir = FreshDir("program");
    win = dir / "win";
    run = dir / "run";
    fs::create_directories(win);
    fs::create_directories(run);
    env = {{"ZUK_RER1_WINDIR", win.string()}, {"XDG_RUNTIME_DIR", run.string()}, {"SDL_AUDIODRIVER", "dummy"}};
  }
  void TearDown() override { fs::remove_all(dir); }

  // Unpacks the program and its data into `dist`, runs setup from there and
  // checks the settings file it writes and the copy it installs.
  void InstallFrom(const fs::path& dist) {
    ASSERT_EQ(CopyGeneratedData(dist, true), std::vector<std::string>{});
    fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), dist / "ZUK_RER1.EXE");
    fs::permissions(dist / "ZUK_RER1.EXE", fs::perms::owner_all);
    const std::string setupCaption = "ＺＵＫスクリーンセーバー Ver1.91　セットアップ";
    Child setup = Start((dist / "ZUK_RER1.EXE").string(), {}, env, dist.string());
    ASSERT_TRUE(WaitForWindow(setupCaption, 15000)) << "no setup window";
    // The install button "セットアップ開始" lies at 400, 140, 157 x 29 in the client area.
    Shell("xdotool mousemove --window " + WindowsNamed(setupCaption).front() + " 478 154 click 1");
    const std::string doneCaption = "ＺＵＫスクリーンセーバーＮｏ．１";
    ASSERT_TRUE(WaitForWindow(doneCaption, 15000)) << "no completion message";
    Shell("xdotool key --window " + WindowsNamed(doneCaption).front() + " Return");
    int code = -1;
    ASSERT_TRUE(setup.Wait(10000, code));
    EXPECT_EQ(code, 0);
    // The exact settings file, and an executable copy.
    EXPECT_EQ(ReadAll(win / "ZUK_RER1.CNF"), "PATH=" + dist.string() + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");
    const fs::path installed = win / "zuk_rer1.scr";
    ASSERT_TRUE(fs::exists(installed));
    EXPECT_NE(fs::status(installed).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(fs::file_size(installed), fs::file_size(dist / "ZUK_RER1.EXE"));
  }

  // The installed copy is the screen saver: its picture window comes up and
  // a key ends it, writing the scores into the install folder.
  void RunInstalledSaver(const fs::path& dist) {
    Child saver = Start((win / "zuk_rer1.scr").string(), {"/s"}, env);
    ASSERT_FALSE(WaitForProcessWindow(saver.pid, 20000).empty()) << "the screen saver showed no window";
    // The game runs once it has made the high-score file.
    for (int i = 0; i < 300 && !fs::exists(dist / "score.dat"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(fs::exists(dist / "score.dat"));
    // Escape until it ends, as a user would: a key before the first frame
    // (a slow start, under a sanitizer) is not the game's.
    int code = -1;
    bool ended = false;
    for (int i = 0; i < 40 && !ended; ++i) {
      for (const auto& w : WindowsOfProcess(saver.pid)) Shell("xdotool key --window " + w + " Escape 2>/dev/null");
      ended = saver.Wait(500, code);
    }
    if (!ended) saver.Kill();
    ASSERT_TRUE(ended) << "a key did not end the screen saver";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(fs::file_size(dist / "score.dat"), 102u);
  }

  // "/c" of the installed copy finds the file, and "設定完了" saves it with
  // the folder's line carried over byte for byte.
  void SaveInstalledSettings(const fs::path& dist) {
    const std::string caption = "ＺＵＫスクリーンセーバー Ver 1.90";
    Child settings = Start((win / "zuk_rer1.scr").string(), {"/c"}, env);
    ASSERT_TRUE(WaitForWindow(caption, 15000)) << "no settings window";
    // "設定完了" lies at 476, 148, 115 x 41 in the client area.
    Shell("xdotool mousemove --window " + WindowsNamed(caption).front() + " 533 168 click 1");
    int code = -1;
    const bool ended = settings.Wait(10000, code);
    if (!ended) settings.Kill();
    ASSERT_TRUE(ended) << "the save did not end the settings window";
    const std::string text = ReadAll(win / "ZUK_RER1.CNF");
    EXPECT_EQ(text.substr(0, text.find('\r')), "PATH=" + dist.string());
    EXPECT_NE(text.find("GAME_TIME="), std::string::npos) << text;
  }

  // A copy of the built program under another name.
  std::string CopyAs(const std::string& name) {
    const fs::path target = dir / name;
    fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all);
    return target.string();
  }
};

TEST_F(ProgramFixture, PreviewSwitchEndsAtOnceWithoutWindow) {
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/p", "1234"}, env);
  int code = -1;
  ASSERT_TRUE(c.Wait(10000, code));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(WindowsNamed("zuk_rer1").empty());
}

TEST_F(ProgramFixture, AFileWithAnotherNameEndsAtOnce) {
  Child c = Start(CopyAs("screensaver.bin"), {}, env);
  int code = -1;
  ASSERT_TRUE(c.Wait(10000, code));
  EXPECT_EQ(code, 0);
}

// FLTK's preference files are neither written nor made (its options are
// read for it).
TEST_F(ProgramFixture, PasswordSwitchShowsTheMessageCaptionedWithTheTitle) {
  env["HOME"] = (dir / "home").string();
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/a"}, env);
  ASSERT_TRUE(WaitForWindow("zuk_rer1", 10000));
  // Still running while the box is up.
  int code = -1;
  EXPECT_FALSE(c.Wait(200, code));
  const auto ids = WindowsNamed("zuk_rer1");
  ASSERT_FALSE(ids.empty());
  Shell("xdotool key --window " + ids.front() + " Return");
  if (!c.Wait(5000, code)) {
    // Fall back to closing it through the window system.
    Shell("xdotool windowclose " + ids.front() + " 2>/dev/null");
    ASSERT_TRUE(c.Wait(5000, code));
  }
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(fs::exists(dir / "home" / ".fltk"));
  EXPECT_FALSE(fs::exists(dir / "home" / ".config" / "fltk.org"));
}

TEST_F(ProgramFixture, ASecondStartWhileOneRunsEndsSilently) {
  setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
  InstanceLock running;
  ASSERT_TRUE(running.Acquire());
  ASSERT_TRUE(running.Held());
  // "/a" would show a box; a second instance must end before that.
  Child c = Start(CopyAs("ZUK_RER1.EXE"), {"/a"}, env);
  int code = -1;
  ASSERT_TRUE(c.Wait(10000, code)) << "the second instance did not end";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(WindowsNamed("Zuk_rer1").empty());
  running.Release();
  unsetenv("XDG_RUNTIME_DIR");
}

// Silent ends stay silent, on stderr too, even on a machine without a sound
// card (ALSA without a configuration stands for one): "/p", another name, a
// second instance. A run that would play says only that sound is off.
TEST_F(ProgramFixture, SilentEndsSayNothingAndTheAudioLibraryNothingEver) {
  const fs::path log = dir / "stderr.txt";
  std::ofstream(dir / "alsa.conf").flush();
  auto noCard = env;
  noCard["SDL_AUDIODRIVER"] = "alsa";
  noCard["ALSA_CONFIG_PATH"] = (dir / "alsa.conf").string();
  const auto stderrOf = [&](const std::string& command) {
    Child c = Start("/bin/sh", {"-c", "exec " + command + " 2>'" + log.string() + "'"}, noCard);
    int code = -1;
    if (!c.Wait(3000, code)) c.Kill();
    std::ifstream in(log);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string saver = CopyAs("zuk_rer1.scr");
  EXPECT_EQ(stderrOf(saver + " /p"), "");
  EXPECT_EQ(stderrOf(CopyAs("screensaver.bin")), "");
  const std::string played = stderrOf(saver + " -root -sound");
  EXPECT_EQ(played.find("ALSA"), played.rfind("ALSA")) << played;  // in our one line only
  EXPECT_NE(played.find("sound off"), std::string::npos) << played;
  setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
  InstanceLock running;
  ASSERT_TRUE(running.Acquire());
  EXPECT_EQ(stderrOf(saver + " /s"), "");
  unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace

namespace {

const char* const kErrorCaption = "ＺＵＫ ｽｸﾘｰﾝｾｰﾊﾞｰのエラーメッセージ";

TEST_F(ProgramFixture, ScreenSaverWithoutSettingsShowsErrorWindowThenMessageBox) {
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/s"}, env);
  ASSERT_TRUE(WaitForWindow(kErrorCaption, 15000)) << "no error window";
  int code = -1;
  EXPECT_FALSE(c.Wait(100, code));
  // The close box ends the modal showing; the message box follows.
  const auto ids = WindowsNamed(kErrorCaption);
  ASSERT_FALSE(ids.empty());
  ASSERT_TRUE(CloseLikeCloseBox(ids.front()));
  ASSERT_TRUE(WaitForWindow("zuk_rer1", 10000)) << "no message box after the error window";
  EXPECT_TRUE(WindowsNamed(kErrorCaption).empty());
  Shell("xdotool key --window " + WindowsNamed("zuk_rer1").front() + " Return");
  ASSERT_TRUE(c.Wait(10000, code));
  EXPECT_EQ(code, 0);
}

TEST_F(ProgramFixture, ScreenSaverWithDeletedDataFilesSaysSoAndEnds) {
  const fs::path install = dir / "install";
  fs::create_directories(install);
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary)
      << "PATH=" << install.string() << "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n";
  Child c = Start(CopyAs("zuk_rer1.scr"), {}, env);
  ASSERT_TRUE(WaitForWindow("zuk_rer1", 15000)) << "no message box";
  EXPECT_TRUE(WindowsNamed(kErrorCaption).empty());
  Shell("xdotool key --window " + WindowsNamed("zuk_rer1").front() + " Return");
  int code = -1;
  ASSERT_TRUE(c.Wait(10000, code));
  EXPECT_EQ(code, 0);
  // The game never started: no score file.
  EXPECT_FALSE(fs::exists(install / "score.dat"));
}

}  // namespace

namespace {

// A 640 x 480 desktop shows the picture unscaled through the window's own
// X11 image (no renderer): the installed screen saver on its own X server of
// that size draws a full, colourful picture and still ends on a key.
TEST_F(ProgramFixture, ScreenSaverOnA640x480DesktopShowsThePicture) {
  const fs::path install = dir / "install";
  ASSERT_EQ(CopyGeneratedData(install), std::vector<std::string>{});
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary)
      << "PATH=" << install.string() << "\r\nMAX=20\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=OFF\r\n";
  const std::string program = CopyAs("zuk_rer1.scr");
  const fs::path script = dir / "run.sh";
  const fs::path shot = dir / "shot.xwd";
  std::ofstream(script) << "export ZUK_RER1_WINDIR='" << win.string() << "' XDG_RUNTIME_DIR='" << run.string()
                        << "' SDL_AUDIODRIVER=dummy\n"
                        << "'" << program << "' /s 2>/dev/null &\nP=$!\nsleep 4\n"
                        << "xwd -root -silent > '" << shot.string() << "'\n"
                        << "W=$(xdotool search --onlyvisible --pid $P 2>/dev/null | head -n 1)\n"
                        << "xdotool key --window \"$W\" Escape\n"
                        << "wait $P\nexit $?\n";
  int code = -1;
  Shell("timeout 60 xvfb-run -n 190 -s '-screen 0 640x480x24 -nolisten tcp -noreset' sh '" + script.string() +
            "' > /dev/null 2>&1",
        &code);
  EXPECT_EQ(code, 0) << "the screen saver did not end cleanly on the key";
  ASSERT_TRUE(fs::exists(shot));
  const std::string size = Shell("convert 'xwd:" + shot.string() + "' -format '%wx%h' info: 2>/dev/null");
  EXPECT_EQ(size, "640x480");
  // Space art, meteors and the ship: many colours, not a black screen.
  const int colours = std::atoi(Shell("convert 'xwd:" + shot.string() + "' -format '%k' info: 2>/dev/null").c_str());
  EXPECT_GT(colours, 60);
  EXPECT_TRUE(fs::exists(install / "score.dat"));
}

}  // namespace

namespace {

// The folders users really have: the unpacked folder named in Japanese
// with a space, with an accent (in UTF-8, and in Latin-1 bytes that are no
// UTF-8: Linux paths are bytes), and the system folder under a Japanese
// user name.
struct NamedFolders {
  const char* what;
  const char* dist;    // the unpacked folder, under the test's folder
  const char* system;  // ZUK_RER1_WINDIR, likewise
};
const NamedFolders kNamedFolders[] = {
    {"plain", "ZUK_RER1", "win"},
    {"Japanese with a space", "ダウンロード/my savers", "win"},
    {"accented", "Spiele für", "win"},
    {"Latin-1 bytes", "Spiele f\xfcr", "win"},
    {"Japanese user name", "ZUK_RER1", "home/田中/.local/share/zuk_rer1"},
};

// The way a user installs, from each such folder: ZUK_RER1.EXE started from
// the unpacked folder, "セットアップ開始", then the installed copy runs as the
// screen saver and its settings window saves.
TEST_F(ProgramFixture, SetupInstallsAndTheInstalledCopyRunsTheScreenSaver) {
  // A loaded machine delays xdotool's key release past the server's
  // autorepeat delay: the repeated Escape would end the next row's saver.
  Shell("xset r off");
  for (const NamedFolders& names : kNamedFolders) {
    SCOPED_TRACE(names.what);
    const fs::path dist = dir / names.dist;
    win = dir / names.system;
    env["ZUK_RER1_WINDIR"] = win.string();
    InstallFrom(dist);
    RunInstalledSaver(dist);
    SaveInstalledSettings(dist);
    fs::remove_all(dist);
  }
}

}  // namespace

namespace {

// SIGTERM, SIGINT and SIGHUP end every mode as closing its main window does:
// exit code 0, no window left, nothing saved or installed, the instance
// marker free again; the screen saver writes its scores on the way out.
TEST_F(ProgramFixture, AnEndingSignalEndsEveryModeAsClosingItsWindowDoes) {
  const fs::path install = dir / "install";
  ASSERT_EQ(CopyGeneratedData(install, true), std::vector<std::string>{});
  const std::string settings =
      "PATH=" + install.string() + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=OFF\r\n";
  const std::string scr = CopyAs("zuk_rer1.scr");
  const std::string exe = CopyAs("ZUK_RER1.EXE");
  struct Mode {
    const char* name;
    std::string program;
    std::vector<std::string> args;
    bool withSettings;
    std::string window;  // the caption to wait for; empty: any window of the process
    int signal;
  };
  const std::vector<Mode> modes = {
      {"settings", scr, {"/c"}, true, "ＺＵＫスクリーンセーバー Ver 1.90", SIGTERM},
      {"setup", exe, {}, false, "ＺＵＫスクリーンセーバー Ver1.91　セットアップ", SIGINT},
      {"password box", scr, {"/a"}, false, "zuk_rer1", SIGHUP},
      {"error window", scr, {"/s"}, false, kErrorCaption, SIGTERM},
      {"screen saver", scr, {"/s"}, true, "", SIGTERM},
  };
  for (const Mode& m : modes) {
    SCOPED_TRACE(m.name);
    fs::remove(win / "ZUK_RER1.CNF");
    fs::remove(install / "score.dat");
    if (m.withSettings) std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary) << settings;
    Child c = Start(m.program, m.args, env, install.string());
    if (m.window.empty()) {
      // The game runs once it has made the high-score file.
      for (int i = 0; i < 300 && !fs::exists(install / "score.dat"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      ASSERT_TRUE(fs::exists(install / "score.dat")) << "the game did not start";
      fs::last_write_time(install / "score.dat", fs::file_time_type::clock::now() - std::chrono::hours(24));
    } else {
      ASSERT_TRUE(WaitForWindow(m.window, 15000)) << "no window";
    }
    const auto before = m.window.empty() ? fs::last_write_time(install / "score.dat") : fs::file_time_type{};
    kill(c.pid, m.signal);
    int code = -1;
    ASSERT_TRUE(c.Wait(5000, code)) << "the signal did not end it";
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(WindowsOfProcess(c.pid).empty());
    if (!m.window.empty()) {
      EXPECT_TRUE(WindowsNamed(m.window).empty());
    }
    // Nothing saved or installed; the scores written.
    if (m.withSettings) {
      EXPECT_EQ(ReadAll(win / "ZUK_RER1.CNF"), settings);
    } else {
      EXPECT_FALSE(fs::exists(win / "ZUK_RER1.CNF"));
    }
    EXPECT_FALSE(fs::exists(win / "zuk_rer1.scr"));
    if (m.window.empty()) {
      EXPECT_GT(fs::last_write_time(install / "score.dat"), before);
    }
    setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    InstanceLock lock;
    EXPECT_TRUE(lock.Acquire() && lock.Held()) << "the instance marker is still taken";
    unsetenv("XDG_RUNTIME_DIR");
  }
}

// The name the program was started by decides: a symlink named
// zuk_rer1.scr to ZUK_RER1.EXE is the screen saver (here: its error window,
// as there are no settings), started by path or found on PATH.
TEST_F(ProgramFixture, ASymlinkNamedLikeTheScreenSaverIsTheScreenSaver) {
  const std::string exe = CopyAs("ZUK_RER1.EXE");
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  fs::create_symlink(exe, bin / "zuk_rer1.scr");
  auto byPath = env;
  byPath["PATH"] = bin.string() + ":/usr/bin:/bin";
  for (const bool onPath : {false, true}) {
    SCOPED_TRACE(onPath ? "found on PATH" : "started by its path");
    Child c = onPath ? Start("/bin/sh", {"-c", "exec zuk_rer1.scr /s"}, byPath)
                     : Start((bin / "zuk_rer1.scr").string(), {"/s"}, env);
    ASSERT_TRUE(WaitForWindow(kErrorCaption, 15000)) << "not the screen saver";
    kill(c.pid, SIGTERM);
    int code = -1;
    ASSERT_TRUE(c.Wait(5000, code));
    EXPECT_EQ(code, 0);
  }
}

}  // namespace

namespace {

// Waits for the box captioned `caption`, closes it with Escape or with its
// close box, and returns the program's exit code (-1: it did not end).
int CloseBoxOf(Child& c, const std::string& caption, bool closeBox) {
  if (!WaitForWindow(caption, 15000)) {
    ADD_FAILURE() << "no window " << caption;
    c.Kill();
    return -1;
  }
  const std::string id = WindowsNamed(caption).front();
  if (closeBox) {
    EXPECT_TRUE(CloseLikeCloseBox(id));
  } else {
    Shell("xdotool key --window " + id + " Escape");
  }
  int code = -1;
  if (!c.Wait(10000, code)) {
    c.Kill();
    return -1;
  }
  return code;
}

// Every message box closes on Escape and on its close box as on OK.
TEST_F(ProgramFixture, PasswordBoxClosesOnEscape) {
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/a"}, env);
  EXPECT_EQ(CloseBoxOf(c, "zuk_rer1", false), 0);
}

TEST_F(ProgramFixture, PasswordBoxClosesOnItsCloseBox) {
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/a"}, env);
  EXPECT_EQ(CloseBoxOf(c, "zuk_rer1", true), 0);
}

TEST_F(ProgramFixture, MissingSettingsBoxClosesOnEscape) {
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/c"}, env);
  EXPECT_EQ(CloseBoxOf(c, "zuk_rer1", false), 0);
}

// A FIFO as the settings file reads as a missing one, without waiting.
TEST_F(ProgramFixture, AFifoAsSettingsFileIsAMissingOneAndItsBoxClosesOnTheCloseBox) {
  ASSERT_EQ(mkfifo((win / "ZUK_RER1.CNF").c_str(), 0600), 0);
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/c"}, env);
  EXPECT_EQ(CloseBoxOf(c, "zuk_rer1", true), 0);
}

// Peak resident memory of a running process, in kB (-1 when unknown).
long PeakKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// A 1,178-byte bmp1.bmp that claims 65535 x 65535 pixels is refused with
// its message before anything is allocated for its pixels.
TEST_F(ProgramFixture, AnOversizedBitmapHeaderIsRefusedWithoutAllocatingIt) {
  const fs::path install = dir / "install";
  ASSERT_EQ(CopyGeneratedData(install), std::vector<std::string>{});
  std::ofstream(install / "bmp1.bmp", std::ios::binary | std::ios::trunc) << ClaimingBitmap(65535, 65535, 8, 1178);
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary)
      << "PATH=" << install.string() << "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=OFF\r\n";
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/s"}, env);
  ASSERT_TRUE(WaitForWindow(kErrorCaption, 20000)) << "no error window";
  const long peak = PeakKb(c.pid);
  EXPECT_GT(peak, 0);
  EXPECT_LT(peak, 300L * 1024) << "peak resident memory in kB";
  ASSERT_TRUE(CloseLikeCloseBox(WindowsNamed(kErrorCaption).front()));
  EXPECT_EQ(CloseBoxOf(c, "zuk_rer1", false), 0);
}

}  // namespace

namespace {

// A start clears the temporary files that saves killed before their rename
// left in the system folder and the install folder, whatever process id
// they are named with; one that its writer holds locked is a save in
// progress and stays.
TEST_F(ProgramFixture, AStartRemovesTheTempFilesOfSavesWhoseProcessIsGone) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), live = std::to_string(getpid());
  const fs::path install = dir / "install";
  fs::create_directories(install);
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary) << "PATH=" << install.string() << "\r\n";
  std::vector<fs::path> stale = {win / ("ZUK_RER1.CNF." + dead + ".0.tmp"),
                                       win / ("zuk_rer1.scr." + dead + ".3.tmp"),
                                       install / ("score.dat." + dead + ".1.tmp")};
  const std::vector<fs::path> kept = {win / ("score.dat." + live + ".2.tmp"), install / ("score.dat." + dead + ".tmp")};
  for (const fs::path& p : stale) std::ofstream(p) << "x";
  for (const fs::path& p : kept) std::ofstream(p) << "x";
  const int held = ::open(kept[0].c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  stale.push_back(win / ("score.dat." + live + ".4.tmp"));  // this running process's id, not held
  std::ofstream(stale.back()) << "x";
  Child c = Start(CopyAs("zuk_rer1.scr"), {"/p"}, env);
  int code = -1;
  ASSERT_TRUE(c.Wait(10000, code));
  for (const fs::path& p : stale) EXPECT_FALSE(fs::exists(p)) << p;
  for (const fs::path& p : kept) EXPECT_TRUE(fs::exists(p)) << p;
  ::close(held);
}

}  // namespace

namespace {

// Without an X server (a Wayland session without Xwayland) every role that
// needs one says so in one line on stderr and ends with a non-zero code.
TEST_F(ProgramFixture, WithoutAnXServerEveryRoleSaysItNeedsOne) {
  const std::string saver = CopyAs("zuk_rer1.scr");
  const std::string setup = CopyAs("ZUK_RER1.EXE");
  const fs::path log = dir / "stderr.txt";
  for (const std::string& command : {saver + " /s", saver + " /c", saver + " /a", saver + " -root", setup}) {
    Child c = Start("/bin/sh", {"-c", "exec env -u DISPLAY " + command + " 2>'" + log.string() + "'"}, env);
    int code = -1;
    ASSERT_TRUE(c.Wait(10000, code)) << command;
    EXPECT_NE(code, 0) << command;
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("needs an X server (on Wayland, Xwayland)"), std::string::npos) << command << text;
  }
}

}  // namespace

namespace {

// On a high-density screen the windows grow by the desktop's factor: from
// GDK_SCALE, or from the X resource Xft.dpi and no other program's dpi (FLTK
// reads it). Their class is the program's and their title is readable in
// the old title property too.
TEST_F(ProgramFixture, WindowsScaleByTheDesktopsFactorAndNameTheirClass) {
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary) << "PATH=" << dir.string() << "\r\nMAX=10\r\n";
  const std::string saver = CopyAs("zuk_rer1.scr");
  const struct {
    const char* gdkScale;
    const char* resources;
    const char* size;
  } cases[] = {
      {"1", "", "Width:610Height:207"},
      {"2", "", "Width:1220Height:414"},
      {"", "Emacs.Xft.dpi: 288\nXft.dpi: 144\n", "Width:915Height:310"},
  };
  for (const auto& row : cases) {
    Shell(std::string("printf '") + row.resources + "' | xrdb -load -");
    auto scaled = env;
    scaled["GDK_SCALE"] = row.gdkScale;
    Child c = Start(saver, {"/c"}, scaled);
    const std::string id = WaitForProcessWindow(c.pid, 10000);
    ASSERT_NE(id, "") << "no settings window";
    const std::string size = Shell("xwininfo -id " + id + " | grep -E 'Width|Height' | tr -d ' \\n'");
    EXPECT_EQ(size, row.size) << row.gdkScale << " " << row.resources;
    const std::string props = Shell("xprop -id " + id + " WM_CLASS WM_NAME");
    EXPECT_NE(props.find("WM_CLASS(STRING) = \"zuk_rer1\", \"Zuk_rer1\""), std::string::npos) << props;
    EXPECT_NE(props.find("WM_NAME(COMPOUND_TEXT)"), std::string::npos) << props;
    c.Kill();
  }
  Shell("xrdb -remove");
}

}  // namespace

namespace {

// The windows' texts follow the locale: each window once in Japanese and
// once in English, the titled ones by their titles, the password box and
// the start-up window (behind the data-missing box), captioned alike in
// both, by their pictures. English shows readme_en.txt, the only readme
// planted for it.
TEST_F(ProgramFixture, EveryWindowInTheUsersLanguage) {
  const fs::path install = dir / "install", empty = dir / "empty";
  ASSERT_EQ(CopyGeneratedData(install), std::vector<std::string>{});
  fs::create_directories(empty);
  const std::string exe = CopyAs("ZUK_RER1.EXE"), scr = CopyAs("zuk_rer1.scr");
  const char* const settingsTitle = "ＺＵＫスクリーンセーバー Ver 1.90";
  struct Case {
    const char* window;
    std::string program, argument;
    fs::path data;          // the settings' PATH; empty: no settings file
    const char* title;      // in Japanese; "": the untitled window of the process
    const char* opener;     // the window whose "説　明" button opens it, if any
  };
  const std::vector<Case> cases = {
      {"setup", exe, "", {}, "ＺＵＫスクリーンセーバー Ver1.91　セットアップ", nullptr},
      {"settings", scr, "/c", install, settingsTitle, nullptr},
      {"readme", scr, "/c", install, "説明", settingsTitle},
      {"error", scr, "/s", {}, kErrorCaption, nullptr},
      {"password box", scr, "/a", {}, "zuk_rer1", nullptr},
      {"start-up", scr, "/s", empty, "", nullptr},
  };
  std::map<std::string, std::string> japanesePictures;
  for (const char* locale : {"ja_JP.UTF-8", "en_US.UTF-8"}) {
    UseLanguage({locale});
    env["LC_ALL"] = locale;
    fs::remove(install / "readme.txt");
    fs::remove(install / "readme_en.txt");
    std::ofstream(install / Tr("readme.txt")) << "readme\r\n";
    for (const Case& k : cases) {
      SCOPED_TRACE(std::string(k.window) + " in " + locale);
      fs::remove(win / "ZUK_RER1.CNF");
      if (!k.data.empty()) std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary) << "PATH=" << k.data.string() << "\r\n";
      Child c = Start(k.program, k.argument.empty() ? std::vector<std::string>{} : std::vector{k.argument}, env,
                      install.string());
      if (k.opener != nullptr) {
        ASSERT_TRUE(WaitForWindow(Tr(k.opener), 15000));
        Shell("xdotool mousemove --window " + WindowsNamed(Tr(k.opener)).front() + " 429 181 click 1");
      }
      EXPECT_TRUE(WaitForWindow(*k.title ? Tr(k.title) : "zuk_rer1", 15000)) << "no window " << Tr(k.title);
      std::string picture;
      for (const std::string& id : WindowsOfProcess(c.pid)) {
        if (Shell("xdotool getwindowname " + id) == std::string(k.title) + "\n") {
          picture = Shell("sleep 0.5; xwd -silent -id " + id + " | md5sum");
        }
      }
      if (k.title == std::string() || k.title == std::string("zuk_rer1")) {
        ASSERT_NE(picture, "") << "no picture of the window";
        if (japanesePictures.count(k.window)) {
          EXPECT_NE(picture, japanesePictures[k.window]) << "the same as in Japanese";
        }
        japanesePictures[k.window] = picture;
      }
      c.Kill();
    }
  }
  UseLanguage({"C"});
}

}  // namespace
