// The installed screen saver end to end on the X server of the test run:
// it shows its picture, a key press ends it, no window is left and the
// high-score file is written.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/process.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZUK_E2E_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUK_E2E_ASAN 1
#endif
#endif

namespace {

namespace fs = std::filesystem;

#if defined(ZUK_E2E_ASAN)
// The sanitized program: the font and bus libraries' lifetime caches would
// be reported as leaks at its end and change its exit code.
const char* const kLeakCheck = "detect_leaks=0";
#else
const char* const kLeakCheck = "";
#endif

// Id of the mapped window titled exactly `title` that belongs to process
// `pid`, or "". Read from the window tree: the picture window's name is a
// UTF-8 property, which `xdotool search --name` does not match.
std::string WindowTitled(const std::string& title, pid_t pid) {
  std::istringstream tree(testsupport::Shell("xwininfo -root -tree 2>/dev/null"));
  std::string line;
  while (std::getline(tree, line)) {
    if (line.find("\"" + title + "\":") == std::string::npos) continue;
    std::istringstream words(line);
    std::string id;
    words >> id;
    const std::string state = testsupport::Shell("xwininfo -id " + id + " 2>/dev/null");
    if (state.find("IsViewable") == std::string::npos) continue;
    const std::string owner = testsupport::Shell("xprop -id " + id + " _NET_WM_PID 2>/dev/null");
    if (owner.find("= " + std::to_string(pid) + "\n") != std::string::npos) return id;
  }
  return "";
}

TEST(ScreenSaverEndToEnd, StartsShowsEndsOnAKeyAndWritesTheHighScores) {
  const fs::path root = testsupport::FreshDir("e2e_game");
  struct RemoveAtEnd {
    fs::path dir;
    ~RemoveAtEnd() {
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  } cleanup{root};
  const fs::path win = root / "windows";
  const fs::path data = root / "data";
  fs::create_directories(win);
  ASSERT_EQ(testsupport::CopyGeneratedData(data), std::vector<std::string>{}) << "generated data missing";
  {
    std::ofstream cnf(win / "ZUK_RER1.CNF", std::ios::binary);
    cnf << "PATH=" << data.string() << "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\n"
        << "SOUND=ON\r\n";
  }
  fs::copy_file(testsupport::BuiltProgram("ZUK_RER1.EXE"), win / "zuk_rer1.scr");
  ASSERT_FALSE(fs::exists(data / "score.dat"));

  testsupport::Child child = testsupport::Start(
      (win / "zuk_rer1.scr").string(), {"/s"},
      {{"ZUK_RER1_WINDIR", win.string()}, {"XDG_RUNTIME_DIR", root.string()},
       {"SDL_AUDIODRIVER", "dummy"}, {"ASAN_OPTIONS", kLeakCheck}});
  const pid_t pid = child.pid;
  std::string id;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (id.empty() && std::chrono::steady_clock::now() < deadline) {
    id = WindowTitled("zuk_rer1", pid);
    if (id.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (id.empty()) child.Kill();
  ASSERT_FALSE(id.empty()) << "the picture window did not show";
  // The score file is created when the run starts.
  EXPECT_TRUE(fs::exists(data / "score.dat"));
  // Let it run past the warm-up, still running.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  int code = -1;
  ASSERT_FALSE(child.Wait(0, code)) << "ended on its own with " << code;
  // The display may have replaced its first window while opening: look again.
  id = WindowTitled("zuk_rer1", pid);
  ASSERT_FALSE(id.empty());

  // The key is sent to the picture window itself, so that another test's
  // window on the same display can't take it.
  testsupport::Shell("xdotool key --window " + id + " Escape 2>/dev/null");
  const bool ended = child.Wait(30000, code);
  if (!ended) child.Kill();
  ASSERT_TRUE(ended) << "a key press did not end the screen saver";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(WindowTitled("zuk_rer1", pid).empty());
  ASSERT_TRUE(fs::exists(data / "score.dat"));
  EXPECT_EQ(fs::file_size(data / "score.dat"), 102u);
}

}  // namespace
