// The installed program: `make install` into a temporary prefix and what it
// lays out, the menu entries, the XScreenSaver description and the manual
// page checked by their own tools, setup started as the desktop starts its
// menu entry, the screen saver started by its command on PATH and by MATE's
// screen saver, and `make package` with its control fields, file list and
// lintian's verdict.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "support/process.h"
#include "support/setup_window.h"
#include "support/x_server.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// `make ARGUMENTS` of the project's Makefile on this build folder, free of
// the variables of a make that may have started the tests.
int Make(const std::string& arguments) {
  int code = -1;
  Shell("env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u DESTDIR -u PREFIX make -s -C " + Quote(ZUK_SOURCE_DIR) +
            " BUILD=" + Quote(ZUK_BINARY_DIR) + " " + arguments + " >/dev/null 2>&1",
        &code);
  return code;
}

// Every file and symbolic link under root, by its path relative to root, as
// "file", "exec" (executable file) or "-> TARGET".
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string rel = entry.path().lexically_relative(root).string();
    if (entry.is_symlink()) {
      tree[rel] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      const bool exec = (entry.status().permissions() & fs::perms::others_exec) != fs::perms::none;
      tree[rel] = exec ? "exec" : "file";
    }
  }
  return tree;
}

const std::map<std::string, std::string>& ExpectedTree() {
  static const std::map<std::string, std::string> tree = {
      {"libexec/zuk_rer1/ZUK_RER1.EXE", "exec"},
      {"libexec/zuk_rer1/zuk_rer1.scr", "-> ZUK_RER1.EXE"},
      {"libexec/xscreensaver/zuk_rer1.scr", "-> ../zuk_rer1/ZUK_RER1.EXE"},
      {"games/zuk_rer1.scr", "-> ../libexec/zuk_rer1/ZUK_RER1.EXE"},
      {"share/zuk_rer1/pal256.pal", "file"},
      {"share/zuk_rer1/bmp1.bmp", "file"},
      {"share/zuk_rer1/bmp2.bmp", "file"},
      {"share/zuk_rer1/bmp3.bmp", "file"},
      {"share/zuk_rer1/bmp4.bmp", "file"},
      {"share/zuk_rer1/fire.wav", "file"},
      {"share/zuk_rer1/dokan.wav", "file"},
      {"share/zuk_rer1/readme.txt", "file"},
      {"share/zuk_rer1/readme_en.txt", "file"},
      {"share/applications/zuk_rer1-setup.desktop", "file"},
      {"share/applications/zuk_rer1-settings.desktop", "file"},
      {"share/applications/screensavers/zuk_rer1.desktop", "file"},
      {"share/icons/hicolor/48x48/apps/zuk_rer1.png", "file"},
      {"share/icons/hicolor/64x64/apps/zuk_rer1.png", "file"},
      {"share/icons/hicolor/128x128/apps/zuk_rer1.png", "file"},
      {"share/icons/hicolor/256x256/apps/zuk_rer1.png", "file"},
      {"share/xscreensaver/config/zuk_rer1.scr.xml", "file"},
      {"share/man/man6/zuk_rer1.6.gz", "file"},
      {"share/man/man6/zuk_rer1.scr.6.gz", "-> zuk_rer1.6.gz"},
      {"share/man/ja/man6/zuk_rer1.6.gz", "file"},
      {"share/man/ja/man6/zuk_rer1.scr.6.gz", "-> zuk_rer1.6.gz"},
      {"share/doc/zuk-rer1/copyright", "file"},
      {"share/doc/zuk-rer1/changelog.gz", "file"},
  };
  return tree;
}

// Polls `done` until it holds or `seconds` pass; its last answer.
bool Eventually(int seconds, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return true;
}

// The value of a key of a desktop entry ("" when missing).
std::string DesktopValue(const std::string& entry, const std::string& key) {
  std::istringstream lines(entry);
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return "";
}

// One `make install PREFIX=<temporary folder>` for the whole program.
class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    base_ = new fs::path(FreshDir("packaging"));
    prefix_ = new fs::path(*base_ / "prefix");
    installCode_ = Make("install PREFIX=" + Quote(prefix_->string()));
  }
  static void TearDownTestSuite() {
    fs::remove_all(*base_);
    delete prefix_;
    delete base_;
  }
  void SetUp() override { ASSERT_EQ(installCode_, 0) << "make install failed"; }

  static const fs::path& Prefix() { return *prefix_; }
  static const fs::path& Base() { return *base_; }

 private:
  static fs::path* base_;
  static fs::path* prefix_;
  static int installCode_;
};
fs::path* Installed::base_ = nullptr;
fs::path* Installed::prefix_ = nullptr;
int Installed::installCode_ = -1;

TEST_F(Installed, EveryFileIsInItsPlace) {
  EXPECT_EQ(Tree(Prefix()), ExpectedTree());
  // The data files are the build's, the icons are square PNG pictures of
  // their folder's size.
  for (const char* name : {"pal256.pal", "bmp1.bmp", "fire.wav", "readme.txt", "readme_en.txt"})
    EXPECT_EQ(ReadText(Prefix() / "share/zuk_rer1" / name), ReadText(fs::path(ZUK_BINARY_DIR) / "data" / name))
        << name;
  for (int size : {48, 64, 128, 256}) {
    const std::string s = std::to_string(size);
    const std::string png = ReadText(Prefix() / ("share/icons/hicolor/" + s + "x" + s + "/apps/zuk_rer1.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
      return (static_cast<uint32_t>(static_cast<uint8_t>(png[at])) << 24) |
             (static_cast<uint8_t>(png[at + 1]) << 16) | (static_cast<uint8_t>(png[at + 2]) << 8) |
             static_cast<uint8_t>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), static_cast<uint32_t>(size));
    EXPECT_EQ(be32(20), static_cast<uint32_t>(size));
  }
}

TEST_F(Installed, MenuEntriesAreValidAndPointIntoThePrefix) {
  const fs::path apps = Prefix() / "share/applications";
  int code = -1;
  const std::string complaints = Shell(
      "desktop-file-validate " + Quote((apps / "zuk_rer1-setup.desktop").string()) + " " +
          Quote((apps / "zuk_rer1-settings.desktop").string()) + " 2>&1",
      &code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(complaints, "");
  const std::string setup = ReadText(apps / "zuk_rer1-setup.desktop");
  const std::string settings = ReadText(apps / "zuk_rer1-settings.desktop");
  EXPECT_EQ(DesktopValue(setup, "Exec"), (Prefix() / "libexec/zuk_rer1/ZUK_RER1.EXE").string());
  EXPECT_EQ(DesktopValue(setup, "Path"), (Prefix() / "share/zuk_rer1").string());
  EXPECT_EQ(DesktopValue(settings, "Exec"), (Prefix() / "libexec/zuk_rer1/zuk_rer1.scr").string() + " /c");
  for (const std::string* entry : {&setup, &settings}) {
    EXPECT_EQ(DesktopValue(*entry, "Icon"), "zuk_rer1");
    EXPECT_EQ(DesktopValue(*entry, "Categories"), "Settings;DesktopSettings;");
    EXPECT_NE(DesktopValue(*entry, "Name[ja]").find("ＺＵＫスクリーンセーバー"), std::string::npos);
  }
  // The theme's one hint is left out: its one category, Screensaver, is no
  // main category, which keeps it out of the desktops' menus.
  const std::string theme = (apps / "screensavers/zuk_rer1.desktop").string();
  EXPECT_EQ(Shell("desktop-file-validate --no-hints " + Quote(theme) + " 2>&1"), "");
  EXPECT_EQ(DesktopValue(ReadText(theme), "OnlyShowIn"), "MATE;XFCE;");
}

// xscreensaver-settings reads a hack's description from NAME.xml, NAME
// being the program's file name in the `programs:` line.
TEST_F(Installed, XScreenSaverDescriptionIsValidXmlNamingTheHack) {
  const fs::path xml = Prefix() / "share/xscreensaver/config/zuk_rer1.scr.xml";
  int code = -1;
  EXPECT_EQ(Shell("xmllint --noout " + Quote(xml.string()) + " 2>&1", &code), "");
  EXPECT_EQ(code, 0);
  const std::string text = ReadText(xml);
  EXPECT_NE(text.find("<screensaver name=\"zuk_rer1.scr\""), std::string::npos);
  EXPECT_NE(text.find("<command arg=\"-root\"/>"), std::string::npos);
  EXPECT_NE(text.find("<boolean id=\"sound\" _label=\"Sound effects\" arg-set=\"-sound\"/>"), std::string::npos);
  // The description is English; its Japanese is beside it, in a comment.
  EXPECT_NE(text.find("<!-- 日本語：星空の中を"), std::string::npos);
  EXPECT_EQ(text.find("隕石", text.find("<_description>")), std::string::npos);
}

// The English page and its Japanese translation, where man finds each.
TEST_F(Installed, ManualPagesRenderWithoutWarningsAndCoverTheEnvironment) {
  const fs::path man = Prefix() / "share/man";
  for (const char* dir : {"man6", "ja/man6"}) {
    const std::string page = Quote((man / dir / "zuk_rer1.6.gz").string());
    // (Wide: the temporary prefix makes the example commands long.)
    EXPECT_EQ(Shell("LC_ALL=C.UTF-8 MANWIDTH=160 man --warnings -l " + page + " 2>&1 >/dev/null"), "") << dir;
    const std::string text = Shell("LC_ALL=C.UTF-8 MANWIDTH=200 man -l " + page + " 2>/dev/null | col -b");
    for (const char* needle : {"ZUK_RER1_WINDIR", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XSCREENSAVER_WINDOW",
                               "ZUK_RER1.CNF", "score.dat", "ZUK_RER1.lock", "xsecurelock", "xss-lock",
                               "XScreenSaver", "-root", "/c", "readme_en.txt", "LANGUAGE", "LC_MESSAGES"})
      EXPECT_NE(text.find(needle), std::string::npos) << dir << ": " << needle;
    EXPECT_NE(text.find((Prefix() / "share/zuk_rer1").string()), std::string::npos) << dir;
  }
  // The English page reads whole in the C locale (ASCII: no "?" for a
  // character it cannot show).
  const std::string plain = Shell("LC_ALL=C MANWIDTH=200 man -l " + Quote((man / "man6/zuk_rer1.6.gz").string()) +
                                  " 2>/dev/null | col -b");
  EXPECT_EQ(plain.find('?'), std::string::npos) << plain.substr(plain.find('?') - std::min<size_t>(plain.find('?'), 80), 160);
  // `man zuk_rer1.scr` finds it, as it does for the command on PATH, in
  // Japanese for a Japanese reader.
  EXPECT_EQ(Shell("MANPATH=" + Quote(man.string()) + " man -w zuk_rer1.scr"), (man / "man6/zuk_rer1.6.gz").string() + "\n");
  EXPECT_EQ(Shell("MANPATH=" + Quote(man.string()) + " man -L ja -w zuk_rer1.scr"),
            (man / "ja/man6/zuk_rer1.6.gz").string() + "\n");
}

// Setup run as the desktop runs the menu entry (its Exec in its Path): it
// records the installed data folder, and the installed screen saver then
// runs from it and ends on a key.
TEST_F(Installed, SetupFromTheMenuEntryInstallsAndTheSaverRuns) {
  const fs::path win = Base() / "win", run = Base() / "run";
  fs::create_directories(win);
  fs::create_directories(run);
  const std::map<std::string, std::string> env = {
      {"ZUK_RER1_WINDIR", win.string()}, {"XDG_RUNTIME_DIR", run.string()}, {"SDL_AUDIODRIVER", "dummy"}};
  const std::string entry = ReadText(Prefix() / "share/applications/zuk_rer1-setup.desktop");
  const std::string dataDir = DesktopValue(entry, "Path");

  Child setup = Start(DesktopValue(entry, "Exec"), {}, env, dataDir);
  ASSERT_EQ(PressSetupStart(15000), "");
  int code = -1;
  ASSERT_TRUE(setup.Wait(10000, code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadText(win / "ZUK_RER1.CNF"),
            "PATH=" + (Prefix() / "share/zuk_rer1").string() + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");

  // Setup's copy, the installed link by the screen saver's name and the
  // command on PATH, each run as the screen saver on the installed data and
  // end on a key.
  auto pathEnv = env;
  pathEnv["PATH"] = (Prefix() / "games").string() + ":" + std::getenv("PATH");
  for (const std::string& saver : {Quote((win / "zuk_rer1.scr").string()),
                                   Quote((Prefix() / "libexec/zuk_rer1/zuk_rer1.scr").string()),
                                   std::string("zuk_rer1.scr")}) {
    Child c = Start("/bin/sh", {"-c", "exec " + saver + " /s"}, pathEnv);
    ASSERT_FALSE(WaitForProcessWindow(c.pid, 20000).empty()) << saver << " showed no window";
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    EXPECT_TRUE(WindowsNamed(kSetupCaption).empty()) << saver << " opened setup";
    // The game runs on the installed data, and writes nothing into the
    // package's folder.
    EXPECT_FALSE(fs::exists(Prefix() / "share/zuk_rer1/score.dat")) << saver;
    for (const auto& w : WindowsOfProcess(c.pid)) Shell("xdotool key --window " + w + " Escape 2>/dev/null");
    const bool ended = c.Wait(20000, code);
    if (!ended) c.Kill();
    ASSERT_TRUE(ended) << "a key did not end " << saver;
    EXPECT_EQ(code, 0);
  }
}

// MATE's screen saver runs the package's theme when it is the chosen one,
// and ends it on deactivation. The daemon runs themes only from its known
// folders (/usr/libexec/xscreensaver): the package is laid over /usr in a
// mount namespace, in a process namespace that takes every process of the
// session with it. The daemon runs as "nobody" on an X server of its own.
TEST_F(Installed, MateScreensaverShowsTheThemeAndEndsIt) {
  if (Shell("command -v mate-screensaver").empty()) GTEST_SKIP() << "mate-screensaver is not installed";
  if (geteuid() != 0) GTEST_SKIP() << "needs root for the mount namespace that holds the package";
  const fs::path stage = Base() / "mate", home = Base() / "mate-home";
  ASSERT_EQ(Make("install PREFIX=/usr DESTDIR=" + Quote(stage.string())), 0);
  OwnXServer x;
  ASSERT_FALSE(x.Display().empty()) << "no X server";
  fs::create_directories(home);
  Shell("chown nobody " + Quote(home.string()));
  std::ofstream(home / "session.sh") << "echo \"$DBUS_SESSION_BUS_ADDRESS\" >~/bus.new && mv ~/bus.new ~/bus\n"
                                     << "gsettings set org.mate.screensaver themes \"['screensavers-zuk_rer1']\"\n"
                                     << "gsettings set org.mate.screensaver mode single\n"
                                     << "gsettings set org.mate.screensaver lock-enabled false\n"
                                     << "exec mate-screensaver --no-daemon\n";
  const std::string as =
      "runuser -u nobody -- env HOME=" + Quote(home.string()) + " DISPLAY=" + x.Display() + " NO_AT_BRIDGE=1 ";
  Child session = Start("/usr/bin/unshare",
                        {"--mount", "--propagation", "private", "--pid", "--fork", "--kill-child", "--", "/bin/sh", "-c",
                         "mount -t overlay overlay -o lowerdir=" + Quote((stage / "usr").string() + ":/usr") +
                             " /usr && exec " + as + "dbus-run-session -- sh " + Quote((home / "session.sh").string()) +
                             " 2>/dev/null"});
  struct Ending {
    Child& c;
    ~Ending() { c.Kill(); }  // the session's namespace ends with it
  } ending{session};
  ASSERT_TRUE(Eventually(30, [&] { return fs::exists(home / "bus"); })) << "no session bus";
  const std::string bus = ReadText(home / "bus");
  const std::string command = as + "DBUS_SESSION_BUS_ADDRESS=" + Quote(bus.substr(0, bus.find('\n'))) + " ";
  int code = -1;
  Shell(command + "gdbus wait --session --timeout 30 org.mate.ScreenSaver", &code);
  ASSERT_EQ(code, 0) << "mate-screensaver did not start";
  auto saverRuns = [&] {  // in the session's process namespace
    return !Shell("pgrep --ns \"$(pgrep -P " + std::to_string(session.pid) +
                  ")\" --nslist pid -f '^/usr/libexec/xscreensaver/zuk_rer1.scr -root'")
                .empty();
  };

  Shell(command + "mate-screensaver-command --activate >/dev/null");
  EXPECT_TRUE(Eventually(30, [&] { return ColoursIn(PictureOf("root", x.Display())) > 60; })) << "no picture";
  EXPECT_TRUE(saverRuns());
  Shell(command + "mate-screensaver-command --deactivate >/dev/null");
  EXPECT_TRUE(Eventually(5, [&] { return !saverRuns(); })) << "the screen saver outlived the deactivation";
  Shell(command + "mate-screensaver-command --exit >/dev/null");
  EXPECT_TRUE(session.Wait(10000, code)) << "the session did not end";
}

// `make package`: the Debian package holds exactly what `make install
// PREFIX=/usr` installs (here into a DESTDIR), under the control fields the
// archive needs.
TEST_F(Installed, MakePackageBuildsTheDebianPackage) {
  const fs::path stage = Base() / "stage";
  ASSERT_EQ(Make("install PREFIX=/usr DESTDIR=" + Quote(stage.string())), 0);
  std::map<std::string, std::string> staged;
  for (const auto& [path, kind] : Tree(stage)) staged["./" + path] = kind;
  std::map<std::string, std::string> expected;
  for (const auto& [path, kind] : ExpectedTree()) expected["./usr/" + path] = kind;
  EXPECT_EQ(staged, expected);

  ASSERT_EQ(Make("package"), 0);
  std::string arch = Shell("dpkg --print-architecture");
  while (!arch.empty() && arch.back() == '\n') arch.pop_back();
  const std::string deb = Quote(std::string(ZUK_BINARY_DIR) + "/zuk-rer1_1.91_" + arch + ".deb");
  auto field = [&](const std::string& name) {
    std::string v = Shell("dpkg-deb -f " + deb + " " + name);
    while (!v.empty() && v.back() == '\n') v.pop_back();
    return v;
  };
  EXPECT_EQ(field("Package"), "zuk-rer1");
  EXPECT_EQ(field("Version"), "1.91");
  EXPECT_EQ(field("Section"), "games");
  EXPECT_EQ(field("Architecture"), arch);
  EXPECT_NE(field("Description").find('\n'), std::string::npos) << "no long description";
  const std::string depends = field("Depends");
  for (const char* dep : {"fonts-ipafont-gothic", "libsdl2-2.0-0", "libc6", "libstdc++6", "libx11-6", "libpango-1.0-0",
                          "libwayland-client0"})
    EXPECT_NE(depends.find(dep), std::string::npos) << dep << " missing from: " << depends;
  // FLTK is linked in: Debian 12 has no FLTK 1.4 to depend on.
  EXPECT_EQ(depends.find("libfltk"), std::string::npos) << depends;

  // The package's files and links, as "./usr/..." paths.
  std::map<std::string, std::string> packed;
  std::istringstream list(Shell("dpkg-deb -c " + deb));
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string mode, owner, size, date, time, path;
    fields >> mode >> owner >> size >> date >> time >> path;
    if (mode[0] == 'd') continue;
    EXPECT_EQ(owner, "root/root") << path;
    std::string rest;
    std::getline(fields, rest);
    if (mode[0] == 'l') {
      packed[path] = rest.substr(rest.find("-> "));
    } else {
      packed[path] = mode[9] == 'x' ? "exec" : "file";
    }
  }
  EXPECT_EQ(packed, expected);

  // Nothing for lintian to warn about (root's notice on stderr aside).
  int code = -1;
  EXPECT_EQ(Shell("lintian --fail-on error,warning " + deb + " 2>/dev/null", &code), "");
  EXPECT_EQ(code, 0);
}

}  // namespace
