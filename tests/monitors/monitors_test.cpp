// The screen saver on a real X server with two RandR monitors (Xorg with the
// dummy driver, started by scripts/xorg-dummy): the picture on the primary,
// the other monitor black, and input over the black cover counting as input
// over the picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/process.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

struct TwoMonitors : ::testing::Test {
  fs::path dir;

  void SetUp() override {
    dir = FreshDir("monitors");
    fs::create_directories(dir / "win");
    fs::create_directories(dir / "run");
    ASSERT_EQ(CopyGeneratedData(dir / "install"), std::vector<std::string>{});
    std::ofstream(dir / "win" / "ZUK_RER1.CNF", std::ios::binary)
        << "PATH=" << (dir / "install").string()
        << "\r\nMAX=20\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=OFF\r\n";
    fs::copy_file(BuiltProgram("ZUK_RER1.EXE"), dir / "zuk_rer1.scr");
    fs::permissions(dir / "zuk_rer1.scr", fs::perms::owner_all);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs `body` (shell) on a fresh two-monitor X server whose desktop is
  // blue, after starting the screen saver as $P and waiting until its picture
  // window is up; collects the "name=value" lines the body prints.
  std::map<std::string, std::string> Run(const std::string& body, const std::string& monitors = "") {
    const fs::path script = dir / "run.sh";
    std::ofstream(script) << "cd '" << dir.string() << "'\n"
                          << "export ZUK_RER1_WINDIR=\"$PWD/win\" XDG_RUNTIME_DIR=\"$PWD/run\" "
                             "SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=disabled:\n"
                          << "xsetroot -solid '#3060a0'\n"
                          << "./zuk_rer1.scr /s 2>/dev/null &\nP=$!\n"
                          << "for i in $(seq 150); do\n"
                          << "  xwininfo -root -tree | grep -q '\"zuk_rer1\": (\"Zuk_rer1\"' && break\n"
                          << "  sleep 0.1\ndone\n"
                          << "sleep 3\n"
                          << body << "\n"
                          << "T=0; while kill -0 $P 2>/dev/null && [ $T -lt 100 ]; do sleep 0.1; T=$((T+1)); done\n"
                          << "if kill -0 $P 2>/dev/null; then echo ended=no; kill -9 $P; else echo ended=yes; fi\n"
                          << "wait $P; echo exit=$?\n"
                          << "echo left=$(xwininfo -root -tree | grep -c '\"Zuk_rer1\"')\n";
    const std::string out = Shell("timeout 120 '" + std::string(ZUK_SOURCE_DIR) + "/scripts/xorg-dummy' " + monitors +
                                  " sh '" + script.string() + "' 2>/dev/null");
    std::map<std::string, std::string> values;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      const size_t eq = line.find('=');
      if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
  }
};

// The saver ended by itself after the body's input, with exit code 0.
void ExpectEndedCleanly(const std::map<std::string, std::string>& v) {
  EXPECT_EQ(v.at("ended"), "yes");
  EXPECT_EQ(v.at("exit"), "0");
}

// Shell lines that print, as `name`, the number of colours and the
// brightest value of the desktop's area `crop` (WxH+X+Y).
std::string AreaColours(const std::string& name, const std::string& crop) {
  return "echo " + name + "=$(convert xwd:shot.xwd -crop " + crop +
         " +repage -format '%k/%[fx:maxima]' info:)\n";
}

// The desktop's second monitor (1024 x 768 right of the 1280 x 800 primary)
// is black while the saver runs, the primary shows the picture; Escape ends
// it cleanly with no window of the program left.
TEST_F(TwoMonitors, TheSecondMonitorIsBlackAndEscapeLeavesNothing) {
  const auto v = Run("xwd -root -silent > shot.xwd\n" + AreaColours("second", "1024x768+1280+0") +
                     AreaColours("first", "1280x800+0+0") + "xdotool key Escape");
  EXPECT_EQ(v.at("second"), "1/0") << "the second monitor is not all black";
  EXPECT_GT(std::atoi(v.at("first").c_str()), 60) << "no picture on the primary";
  ExpectEndedCleanly(v);
  EXPECT_EQ(v.at("left"), "0");
}

// A key pressed while the cover has the keyboard focus ends the saver as a
// key on the picture window does.
TEST_F(TwoMonitors, AKeyOnTheCoverEnds) {
  const auto v = Run(
      "C=$(xwininfo -root -tree | sed -n 's/^ *\\(0x[0-9a-f]*\\) (has no name): (\"Zuk_rer1\".*/\\1/p' | head -n 1)\n"
      "xdotool windowfocus --sync $C\n"
      "xdotool key a");
  ExpectEndedCleanly(v);
}

// Over the cover the mouse is measured from the picture: with a 4:3 primary
// the parked cursor sits on the cover's edge, a small movement there stays
// within the tolerance, a clear one ends the saver.
TEST_F(TwoMonitors, MouseOverTheCoverKeepsTheToleranceAndEnds) {
  const auto v = Run(
      "sleep 2\n"
      "xdotool mousemove 1026 760\n"
      "sleep 1\n"
      "kill -0 $P && echo small=running\n"
      // Moved on until it ends: a slow start may still be warming up.
      "for i in $(seq 40); do kill -0 $P 2>/dev/null || break; xdotool mousemove $((1600 + i % 2)) 400; sleep 0.25; done",
      "-p 1024x768");
  EXPECT_EQ(v.count("small"), 1u) << "a movement within the tolerance ended the saver";
  ExpectEndedCleanly(v);
}

// A second monitor that mirrors the primary gets no cover, which could
// only stand over the picture: the program's one window is the picture's.
TEST_F(TwoMonitors, AMirroringMonitorGetsNoCover) {
  const auto v = Run("xwd -root -silent > shot.xwd\n" + AreaColours("shared", "1024x768+0+0") +
                         "echo windows=$(xwininfo -root -tree | grep -c '\"Zuk_rer1\"')\n"
                         "xdotool key Escape",
                     "-l same-as");
  EXPECT_EQ(v.at("windows"), "1");
  EXPECT_GT(std::atoi(v.at("shared").c_str()), 60) << "the picture is covered";
  ExpectEndedCleanly(v);
}

}  // namespace
