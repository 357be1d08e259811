// The layers of src/: a folder includes only its own headers and those of
// the folders its library links (src/CMakeLists.txt), and the game's folder
// includes no SDL, FLTK or Xlib header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// What each folder may include besides itself: everything below it.
const std::map<std::string, std::set<std::string>> kBelow = {
    {"base", {}},
    {"platform", {"base"}},
    {"config", {"base", "platform"}},
    {"video", {"base", "platform"}},
    {"sound", {"base"}},
    {"game", {"base", "platform", "config", "video", "sound"}},
    {"shell", {"base", "platform"}},
    {"ui", {"base", "platform", "config", "video", "sound", "game", "shell"}},
    {"app", {"base", "platform", "config", "video", "sound", "game", "shell", "ui"}},
};

TEST(Layers, EveryFolderIncludesOnlyTheFoldersBelowIt) {
  const fs::path src = fs::path(ZUK_SOURCE_DIR) / "src";
  const std::regex ours("#\\s*include\\s*\"([a-z_]+)/");
  const std::regex windowing("#\\s*include\\s*<(SDL|FL/|X11/)");
  int files = 0;
  for (const auto& [folder, below] : kBelow) {
    for (const auto& entry : fs::directory_iterator(src / folder)) {
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      const std::string s = text.str();
      ++files;
      for (std::sregex_iterator m(s.begin(), s.end(), ours), end; m != end; ++m) {
        const std::string to = (*m)[1];
        EXPECT_TRUE(to == folder || below.count(to) == 1) << entry.path() << " includes " << to;
      }
      if (folder == "game") {
        EXPECT_FALSE(std::regex_search(s, windowing)) << entry.path();
      }
    }
  }
  EXPECT_GT(files, 100);
  // Every folder of src/ is a layer of the table.
  for (const auto& entry : fs::directory_iterator(src)) {
    if (entry.is_directory()) {
      EXPECT_EQ(kBelow.count(entry.path().filename().string()), 1u) << entry.path();
    }
  }
}

}  // namespace
