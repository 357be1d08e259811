// The screen saver among the programs that start it on Linux: the X
// server's idle timer, a daemon's window (XScreenSaver, or any window handed
// over by its id), an installation's data files, and the ends it meets there:
// a signal or the X server going away.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/process.h"
#include "support/x_server.h"

// After the test headers: Xlib's macros (None, Bool, ...) would break them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The top-level windows of a display (the root's children; there is no
// window manager) with their names.
std::vector<std::pair<Window, std::string>> TopLevelWindows(const std::string& display = "") {
  std::vector<std::pair<Window, std::string>> out;
  ::Display* d = XOpenDisplay(display.empty() ? nullptr : display.c_str());
  if (d == nullptr) return out;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) != 0) {
    for (unsigned int i = 0; i < n; ++i) {
      char* name = nullptr;
      XFetchName(d, children[i], &name);
      out.emplace_back(children[i], name != nullptr ? name : "");
      if (name != nullptr) XFree(name);
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(d);
  return out;
}

// A plain window that stands for a daemon's: mapped, w x h, owned by the
// test.
class PlainWindow {
 public:
  PlainWindow(int w, int h) {
    d_ = XOpenDisplay(nullptr);
    if (d_ == nullptr) return;
    win_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, static_cast<unsigned>(w),
                               static_cast<unsigned>(h), 0, 0, 0xFFFFFF);
    XStoreName(d_, win_, "daemon");
    XMapWindow(d_, win_);
    XSync(d_, False);
  }
  ~PlainWindow() {
    if (d_ != nullptr) XCloseDisplay(d_);
  }
  std::string Id() const { return std::to_string(win_); }
  std::string HexId() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%lx", win_);
    return buf;
  }
  void Destroy() {
    XDestroyWindow(d_, win_);
    XSync(d_, False);
  }
  bool StillMapped() const {
    XWindowAttributes a{};
    return XGetWindowAttributes(d_, win_, &a) != 0 && a.map_state == IsViewable;
  }

 private:
  ::Display* d_ = nullptr;
  Window win_ = 0;
};

struct DaemonFixture : ::testing::Test {
  fs::path dir;
  fs::path win;
  fs::path install;
  std::map<std::string, std::string> env;

  void SetUp() override {
    dir = FreshDir("daemon");
    win = dir / "win";
    install = dir / "install";
    fs::create_directories(win);
    fs::create_directories(dir / "run");
    env = {{"ZUK_RER1_WINDIR", win.string()},
           {"XDG_RUNTIME_DIR", (dir / "run").string()},
           {"SDL_AUDIODRIVER", "dummy"}};
  }
  void TearDown() override { fs::remove_all(dir); }

  void WriteSettings() {
    ASSERT_EQ(CopyGeneratedData(install), std::vector<std::string>{});
    std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary)
        << "PATH=" << install.string() << "\r\nMAX=20\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n";
  }
  // The program as `make install` lays it out: PREFIX/libexec/xscreensaver
  // for the screen saver, PREFIX/share/zuk_rer1 for the data files.
  std::string InstallUnder(const fs::path& prefix, bool withData) {
    const fs::path program = prefix / "libexec" / "xscreensaver" / "zuk_rer1.scr";
    fs::create_directories(program.parent_path());
    fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), program);
    fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    if (withData) {
      EXPECT_EQ(CopyGeneratedData(prefix / "share" / "zuk_rer1"), std::vector<std::string>{});
    }
    return program.string();
  }
  std::string Copy() {
    const fs::path target = dir / "zuk_rer1.scr";
    fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), target);
    fs::permissions(target, fs::perms::owner_all);
    return target.string();
  }
};

// Whether a live process runs `program` (its argv[0]).
bool Runs(const std::string& program) {
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string cmdline = ReadAll(it->path() / "cmdline");
    if (!cmdline.empty() && cmdline.substr(0, cmdline.find('\0')) == program) return true;
  }
  return false;
}

// Waits until the process shows its full-screen picture: the game runs (the
// high scores are loaded); its start-up window comes before.
bool WaitForPicture(pid_t pid, const std::string& display = "") {
  const std::string prefix = display.empty() ? "" : "DISPLAY=" + display + " ";
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (Clock::now() < deadline) {
    const std::string ids =
        Shell(prefix + "xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null");
    std::istringstream list(ids);
    std::string id;
    while (list >> id) {
      if (Shell(prefix + "xdotool getwindowgeometry --shell " + id + " 2>/dev/null").find("WIDTH=1024") !=
          std::string::npos) {
        return true;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// Ends the child with `sig` and gives its exit code (-1 when it did not end
// within the time).
int EndWith(Child& c, int sig, int timeoutMs = 1000) {
  kill(c.pid, sig);
  int code = -1;
  if (!c.Wait(timeoutMs, code)) {
    c.Kill();
    return -1;
  }
  return code;
}

}  // namespace

namespace {

// While the screen saver runs without input, the X server's idle time grows:
// DPMS, `xset s` and idle lockers act as over the desktop.
TEST_F(DaemonFixture, TheDisplayMaySleepWhileTheScreenSaverRuns) {
  WriteSettings();
  Shell("xdotool mousemove 5 5");  // activity now: the idle time starts at 0
  Child c = Start(Copy(), {"/s"}, env);
  ASSERT_TRUE(WaitForPicture(c.pid)) << "the screen saver showed no picture";
  std::this_thread::sleep_for(std::chrono::seconds(12));
  const int idleMs = std::atoi(Shell("xprintidle").c_str());
  EXPECT_GT(idleMs, 9000);
  EXPECT_EQ(EndWith(c, SIGTERM, 5000), 0);
}

// A window handed over through XSCREENSAVER_WINDOW (a preview's size here)
// gets the picture; no window of ours appears, no high-score file is made;
// SIGTERM ends the run at once and the window stays with its owner.
TEST_F(DaemonFixture, AHandedOverWindowGetsThePictureAndStaysWithItsOwner) {
  WriteSettings();
  PlainWindow daemon(200, 150);
  const auto before = TopLevelWindows();
  auto daemonEnv = env;
  daemonEnv["XSCREENSAVER_WINDOW"] = daemon.HexId();
  Child c = Start(Copy(), {}, daemonEnv);
  std::this_thread::sleep_for(std::chrono::seconds(4));
  const std::string picture = PictureOf(daemon.Id());
  EXPECT_GT(ColoursIn(picture), 30) << picture;
  EXPECT_NE(picture.find("200x150"), std::string::npos) << picture;
  EXPECT_EQ(TopLevelWindows(), before) << "a window of our own appeared";
  EXPECT_EQ(EndWith(c, SIGTERM), 0);
  EXPECT_TRUE(daemon.StillMapped());
  EXPECT_FALSE(fs::exists(install / "score.dat"));
}

// Installed (no settings file yet) and started with "-window-id": the data
// files come from PREFIX/share/zuk_rer1.
TEST_F(DaemonFixture, WithoutSettingsTheInstalledDataFilesAreUsed) {
  const std::string program = InstallUnder(dir / "prefix", true);
  PlainWindow daemon(320, 240);
  Child c = Start(program, {"-window-id", daemon.Id()}, env);
  std::this_thread::sleep_for(std::chrono::seconds(4));
  EXPECT_GT(ColoursIn(PictureOf(daemon.Id())), 30);
  EXPECT_EQ(EndWith(c, SIGHUP), 0);
  EXPECT_FALSE(fs::exists(dir / "prefix" / "share" / "zuk_rer1" / "score.dat"));
}

// The window destroyed under the run (its owner died, a preview closed):
// the run ends within a second, with exit code 0, whether it shows the game
// or, without data files, a black window.
TEST_F(DaemonFixture, TheRunEndsWithTheWindowItDrawsInto) {
  for (const bool withData : {true, false}) {
    const std::string program = InstallUnder(dir / (withData ? "with" : "without"), withData);
    PlainWindow daemon(200, 150);
    Child c = Start("/bin/sh", {"-c", "exec '" + program + "' -window-id " + daemon.Id() + " 2>/dev/null"}, env);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    daemon.Destroy();
    int code = -1;
    ASSERT_TRUE(c.Wait(1000, code)) << "the run outlived its window, data files " << withData;
    EXPECT_EQ(code, 0);
  }
}

// A daemon's window is a lock screen or a preview: the daemon's sound
// checkbox decides, silent unless it passes "-sound", whatever the settings
// file says. SDL's disk driver writes what is streamed to a file: a few
// seconds of it once the sounds are loaded, nothing while nothing is.
TEST_F(DaemonFixture, InADaemonsWindowSoundIsOffUnlessAskedFor) {
  const std::string program = InstallUnder(dir / "prefix", true);
  struct Case {
    const char* settingsFile;  // "setup": setup's, with SOUND=ON
    std::vector<std::string> args;
    bool sound;
  };
  const Case cases[] = {{nullptr, {}, false},         {nullptr, {"-sound"}, true},
                        {"setup", {}, false},         {"setup", {"-no-sound"}, false},
                        {"setup", {"-sound"}, true},  {"\x01garbage\r\nSOUND\r\n", {"-sound"}, true}};
  PlainWindow daemon(160, 120);
  for (const Case& k : cases) {
    fs::remove(win / "ZUK_RER1.CNF");
    const std::string file = k.settingsFile != nullptr ? k.settingsFile : "none";
    if (file == "setup") WriteSettings();
    else if (k.settingsFile != nullptr) std::ofstream(win / "ZUK_RER1.CNF") << file;
    const fs::path played = dir / "played.raw";
    fs::remove(played);
    auto soundEnv = env;
    soundEnv["SDL_AUDIODRIVER"] = "disk";
    soundEnv["SDL_DISKAUDIOFILE"] = played.string();
    std::vector<std::string> args{"-window-id", daemon.Id()};
    args.insert(args.end(), k.args.begin(), k.args.end());
    Child c = Start(program, args, soundEnv);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(EndWith(c, SIGTERM), 0);
    const uintmax_t bytes = fs::exists(played) ? fs::file_size(played) : 0;
    EXPECT_EQ(bytes > 100000, k.sound) << bytes << " bytes, settings file " << file << ", "
                                        << (k.args.empty() ? "no switch" : k.args[0]);
  }
}

// A run that plays no sound never opens the device, so says nothing about
// it where there is none: a daemon's window whose settings say SOUND=ON but
// whose daemon does not pass "-sound", and full screen with SOUND=OFF.
TEST_F(DaemonFixture, ARunThatPlaysNoSoundSaysNothingAboutSound) {
  WriteSettings();
  const std::string program = Copy();
  PlainWindow daemon(160, 120);
  const std::string quietSettings = "PATH=" + install.string() + "\r\nSOUND=OFF\r\n";
  for (const std::string& args : {"-window-id " + daemon.Id(), std::string("/s")}) {
    if (args == "/s") std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary) << quietSettings;
    const fs::path log = dir / "stderr.txt";
    auto noDevice = env;
    noDevice["SDL_AUDIODRIVER"] = "none_such";
    Child c = Start("/bin/sh", {"-c", "exec '" + program + "' " + args + " 2>'" + log.string() + "'"}, noDevice);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(EndWith(c, SIGTERM), 0) << args;
    EXPECT_EQ(ReadAll(log).find("sound"), std::string::npos) << args << ": " << ReadAll(log);
  }
}

// With no data files anywhere: no error window or message box (it would
// stand over a locked screen), a black window, and one line on stderr.
TEST_F(DaemonFixture, WithoutDataFilesTheWindowStaysBlackAndStderrSaysWhy) {
  const std::string program = InstallUnder(dir / "prefix", false);
  PlainWindow daemon(320, 240);
  const auto before = TopLevelWindows();
  const fs::path log = dir / "stderr.txt";
  auto daemonEnv = env;
  daemonEnv["XSCREENSAVER_WINDOW"] = daemon.Id();
  Child c = Start("/bin/sh", {"-c", "exec '" + program + "' 2>'" + log.string() + "'"}, daemonEnv);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  // One colour, and its brightest channel is 0 (the window itself is white).
  const std::string picture = PictureOf(daemon.Id());
  EXPECT_EQ(ColoursIn(picture), 1) << picture;
  EXPECT_EQ(Shell("xwd -silent -id " + daemon.Id() + " | convert xwd:- -format '%[fx:maxima]' info:"), "0");
  EXPECT_EQ(TopLevelWindows(), before);
  EXPECT_EQ(EndWith(c, SIGINT), 0);
  const std::string text = ReadAll(log);
  EXPECT_NE(text.find("bmp1.bmp"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

}  // namespace

namespace {

// A window that is not one (not a number, 0, negative, 2^32 or more, or a
// window that doesn't exist) ends the screen saver with exit code 1 and one line on
// stderr; it never opens a full-screen window of its own.
TEST_F(DaemonFixture, AWindowIdThatNamesNoWindowEndsTheRunWithExitCode1) {
  WriteSettings();
  const std::string program = Copy();
  const auto before = TopLevelWindows();
  ::Display* d = XOpenDisplay(nullptr);
  const std::string pastRoot = std::to_string((1UL << 32) + DefaultRootWindow(d));  // cut, the root's id
  XCloseDisplay(d);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"XSCREENSAVER_WINDOW=junk", ""}, {"XSCREENSAVER_WINDOW=0", ""}, {"XSCREENSAVER_WINDOW=-5", ""},
      {"", "-window-id 0x7ffffe0"}, {"", "-window-id"}, {"XSCREENSAVER_WINDOW=" + pastRoot, ""},
      {"", "-window-id 0x100000000"}};
  for (const auto& [variable, args] : cases) {
    const fs::path log = dir / "stderr.txt";
    Child c = Start("/bin/sh", {"-c", "exec env " + variable + " '" + program + "' " + args + " 2>'" + log.string() + "'"}, env);
    int code = -1;
    ASSERT_TRUE(c.Wait(10000, code)) << variable << args;
    EXPECT_EQ(code, 1) << variable << args;
    const std::string text = ReadAll(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(TopLevelWindows(), before) << variable << args;
  }
}

// Losing the X server ends every window as closing it does: exit code 0.
TEST_F(DaemonFixture, TheXServerGoingAwayEndsEveryWindowWithExitCode0) {
  WriteSettings();
  fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), install / "ZUK_RER1.EXE");
  const std::string saver = Copy();
  fs::create_directories(dir / "empty");
  struct Role {
    std::string program;
    std::vector<std::string> args;
    bool settings;  // without them the screen saver shows its error window
  };
  const Role roles[] = {{saver, {"/c"}, true},
                        {saver, {"/a"}, true},
                        {(install / "ZUK_RER1.EXE").string(), {}, true},
                        {saver, {"/s"}, false}};
  for (const auto& [program, args, settings] : roles) {
    OwnXServer x;
    ASSERT_FALSE(x.Display().empty()) << "no X server";
    auto xEnv = env;
    xEnv["DISPLAY"] = x.Display();
    if (!settings) xEnv["ZUK_RER1_WINDIR"] = (dir / "empty").string();
    Child c = Start(program, args, xEnv, install.string());
    ASSERT_NE(WaitForProcessWindow(c.pid, 15000, x.Display()), "") << program;
    x.Kill(SIGKILL);
    int code = -1;
    ASSERT_TRUE(c.Wait(5000, code)) << program << " outlived its X server";
    EXPECT_EQ(code, 0) << program;
  }
}

// A way to the test's X server that breaks each connection at its first
// atom request, the first after those of Xlib's own start: an X server lost
// before the first window.
class BreakingRelay {
 public:
  BreakingRelay() {
    const std::string real = std::getenv("DISPLAY");
    server_ = "/tmp/.X11-unix/X" + real.substr(1, real.find('.') - 1);
    listen_ = socket(AF_UNIX, SOCK_STREAM, 0);
    for (number_ = 700; number_ < 800 && bind(listen_, Address(Path()), sizeof(sockaddr_un)) != 0;) ++number_;
    listen(listen_, 8);
    thread_ = std::thread([this] { Relay(); });
  }
  ~BreakingRelay() {
    stop_ = true;
    thread_.join();
    close(listen_);
    unlink(Path().c_str());
  }
  std::string Display() const { return ":" + std::to_string(number_); }

 private:
  std::string Path() const { return "/tmp/.X11-unix/X" + std::to_string(number_); }
  static const sockaddr* Address(const std::string& path) {
    static sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
    return reinterpret_cast<const sockaddr*>(&a);
  }
  // Pairs of ends after the listening one: the client's, then the server's.
  void Relay() {
    std::vector<pollfd> ends{{listen_, POLLIN, 0}};
    while (!stop_) {
      if (poll(ends.data(), ends.size(), 50) <= 0) continue;
      for (size_t i = 1; i < ends.size(); ++i) {
        if (ends[i].fd >= 0 && (ends[i].revents & (POLLIN | POLLHUP)) != 0) Pass(ends, i);
      }
      if ((ends[0].revents & POLLIN) == 0) continue;
      const int server = socket(AF_UNIX, SOCK_STREAM, 0);
      connect(server, Address(server_), sizeof(sockaddr_un));
      ends.push_back({accept(listen_, nullptr, nullptr), POLLIN, 0});
      ends.push_back({server, POLLIN, 0});
    }
    for (size_t i = 1; i < ends.size(); ++i) close(ends[i].fd);
  }
  static void Pass(std::vector<pollfd>& ends, size_t i) {
    const size_t peer = i % 2 == 1 ? i + 1 : i - 1;
    char bytes[65536];
    const ssize_t n = read(ends[i].fd, bytes, sizeof bytes);
    constexpr char kInternAtom = 16;
    if (n > 0 && !(i % 2 == 1 && bytes[0] == kInternAtom) && write(ends[peer].fd, bytes, size_t(n)) == n) return;
    close(ends[i].fd);
    close(ends[peer].fd);
    ends[i].fd = ends[peer].fd = -1;
  }

  std::string server_;
  int listen_ = -1;
  int number_ = 700;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// An X server lost before the first window ends as a later loss does: exit
// code 0 and one line.
TEST_F(DaemonFixture, AnXServerLostBeforeTheFirstWindowEndsWithExitCode0AndOneLine) {
  WriteSettings();
  const std::string saver = Copy();
  BreakingRelay relay;
  const fs::path log = dir / "stderr.txt";
  // The test server's cookie, if it has one, for the relay's display too.
  const std::string auth = (dir / "xauthority").string();
  Shell("xauth -f '" + auth + "' add " + relay.Display() + " . $(xauth list \"$DISPLAY\" | awk '{print $3; exit}') 2>/dev/null");
  env["XAUTHORITY"] = auth;
  for (const std::string& command : {saver + " /c", saver + " /a", BuiltProgram("ZUK_RER1.EXE")}) {
    Child c = Start("/bin/sh", {"-c", "DISPLAY=" + relay.Display() + " exec " + command + " 2>'" + log.string() + "'"},
                    env, install.string());
    int code = -1;
    ASSERT_TRUE(c.Wait(10000, code)) << command;
    EXPECT_EQ(code, 0) << command;
    const std::string text = ReadAll(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << command << text;
    EXPECT_NE(text.find("was lost"), std::string::npos) << command << text;
  }
}

}  // namespace

namespace {

// The records of a run are written however it ends: on SIGHUP as on SIGTERM,
// and when the X server goes away under it.
struct ScoreKeeping : DaemonFixture {
  std::string stored;  // score.dat as the run finds it
  void PrepareScores() {
    WriteSettings();
    stored.assign(102, '\0');
    stored[20] = 0x25;  // 37 with 10 meteors
    std::ofstream(install / "score.dat", std::ios::binary) << stored;
    fs::last_write_time(install / "score.dat", fs::file_time_type::clock::now() - std::chrono::hours(24));
  }
  bool Rewritten() {
    return fs::last_write_time(install / "score.dat") > fs::file_time_type::clock::now() - std::chrono::hours(1) &&
           ReadAll(install / "score.dat") == stored;
  }
};

TEST_F(ScoreKeeping, SighupWritesTheScores) {
  PrepareScores();
  Child c = Start(Copy(), {"/s"}, env);
  ASSERT_TRUE(WaitForPicture(c.pid));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(EndWith(c, SIGHUP, 5000), 0);
  EXPECT_TRUE(Rewritten());
}

// Where the install folder can't be written (a package's /usr/share/zuk_rer1)
// the records are kept in the user's system folder, not lost: the saver runs
// as a user who may not write there ("nobody" under root, as in CI).
TEST_F(ScoreKeeping, AReadOnlyInstallFolderKeepsTheScoresInTheSystemFolder) {
  OwnXServer x;
  ASSERT_FALSE(x.Display().empty()) << "no X server";
  fs::permissions(dir, fs::perms::all);
  const std::string program = InstallUnder(dir / "prefix", true);
  const fs::path data = dir / "prefix" / "share" / "zuk_rer1";
  std::ofstream(win / "ZUK_RER1.CNF", std::ios::binary)
      << "PATH=" << data.string() << "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=OFF\r\n";
  std::ofstream(win / "score.dat", std::ios::binary) << stored.assign(102, '\0').replace(20, 1, 1, '\x25');
  const bool root = geteuid() == 0;
  if (root) {
    Shell("chown -R nobody '" + win.string() + "' '" + (dir / "run").string() + "'");
  } else {
    fs::permissions(data, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  auto xEnv = env;
  xEnv["DISPLAY"] = x.Display();
  Child c = root ? Start("/usr/bin/setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", program, "/s"}, xEnv)
                 : Start(program, {"/s"}, xEnv);
  ASSERT_TRUE(WaitForPicture(c.pid, x.Display()));
  fs::last_write_time(win / "score.dat", fs::file_time_type::clock::now() - std::chrono::hours(24));
  EXPECT_EQ(EndWith(c, SIGTERM, 5000), 0);
  EXPECT_GT(fs::last_write_time(win / "score.dat"), fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(ReadAll(win / "score.dat"), stored) << "the stored record was not read back";
  EXPECT_FALSE(fs::exists(data / "score.dat"));
}

TEST_F(ScoreKeeping, TheXServerGoingAwayWritesTheScores) {
  PrepareScores();
  OwnXServer x;
  ASSERT_FALSE(x.Display().empty()) << "no X server";
  auto xEnv = env;
  xEnv["DISPLAY"] = x.Display();
  Child c = Start(Copy(), {"/s"}, xEnv);
  ASSERT_TRUE(WaitForPicture(c.pid, x.Display()));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  x.Kill(SIGKILL);
  int code = -1;
  ASSERT_TRUE(c.Wait(5000, code)) << "the run outlived its X server";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(Rewritten());
}

}  // namespace

namespace {

// XScreenSaver 6 runs the installed screen saver as a hack: the picture is in
// XScreenSaver's window, no window of ours exists, and the hack is gone
// soon after the deactivation. XScreenSaver refuses to run as root:
// under root it runs as "nobody", on an X server of the test's own that lets
// any local user in.
TEST_F(DaemonFixture, XScreenSaverRunsItAsAHack) {
  OwnXServer x;
  ASSERT_FALSE(x.Display().empty()) << "no X server";
  fs::permissions(dir, fs::perms::all);
  const std::string hack = InstallUnder(dir / "prefix", true);
  const fs::path home = dir / "home";
  fs::create_directories(home);
  std::ofstream(home / ".xscreensaver") << "mode: one\nselected: 0\nlock: False\nsplash: False\n"
                                        << "fade: False\nunfade: False\n"
                                        << "programs: \"zuk\" " << hack << " -root \\n\n";
  // As root (CI), the user "nobody"; as anyone else, that user.
  const bool root = geteuid() == 0;
  if (root) Shell("chown -R nobody '" + home.string() + "'");
  const std::string as = std::string(root ? "runuser -u nobody -- " : "") + "env HOME='" + home.string() +
                         "' DISPLAY=" + x.Display() + " ZUK_RER1_WINDIR='" + (home / "win").string() +
                         "' SDL_AUDIODRIVER=dummy ";
  Child daemon = Start("/bin/sh", {"-c", "exec " + as + "xscreensaver -no-splash 2>/dev/null"});
  // Ready once it answers.
  int code = -1;
  for (int i = 0; i < 100; ++i) {
    Shell(as + "xscreensaver-command -time >/dev/null 2>&1", &code);
    if (code == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_EQ(code, 0) << "XScreenSaver did not start";
  Shell(as + "xscreensaver-command -activate >/dev/null 2>&1");
  auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < deadline && !Runs(hack)) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(Runs(hack)) << "the hack did not start";
  std::this_thread::sleep_for(std::chrono::seconds(3));

  // Every top-level window belongs to XScreenSaver (its client's ids).
  std::set<unsigned long> clients;
  const auto windows = TopLevelWindows(x.Display());
  for (const auto& [id, name] : windows) {
    if (name.rfind("XScreenSaver", 0) == 0) clients.insert(id & ~0x1FFFFFUL);
  }
  for (const auto& [id, name] : windows) EXPECT_EQ(clients.count(id & ~0x1FFFFFUL), 1u) << name;
  EXPECT_GT(ColoursIn(PictureOf("root", x.Display())), 60) << "no picture on the screen";

  Shell(as + "xscreensaver-command -deactivate >/dev/null 2>&1");
  // XScreenSaver itself needs a moment to act on the command when the
  // machine is busy (the sanitizer build, other tests running beside).
  deadline = Clock::now() + std::chrono::seconds(3);
  while (Clock::now() < deadline && Runs(hack)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(Runs(hack)) << "the hack outlived the deactivation";
  Shell(as + "xscreensaver-command -exit >/dev/null 2>&1");
  if (!daemon.Wait(5000, code)) daemon.Kill();
}

}  // namespace
