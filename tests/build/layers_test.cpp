// The layers of src/: a folder includes only its own headers and those of
// the folders its library links (src/CMakeLists.txt), and the game's folder
// includes no SDL, FLTK or Xlib header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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

// The folders of the file's includes ("folder/name.h"), and whether it
// includes an SDL, FLTK or Xlib header.
struct Includes {
  std::set<std::string> folders;
  bool windowing = false;
};

Includes IncludesOf(const fs::path& file) {
  Includes found;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#include ", 0) != 0) continue;
    const std::string what = line.substr(9);
    const size_t slash = what.find('/');
    if (what[0] == '"' && slash != std::string::npos) found.folders.insert(what.substr(1, slash - 1));
    for (const char* system : {"<SDL", "<FL/", "<X11/"}) found.windowing = found.windowing || what.rfind(system, 0) == 0;
  }
  return found;
}

TEST(Layers, EveryFolderIncludesOnlyTheFoldersBelowIt) {
  const fs::path src = fs::path(ZUK_SOURCE_DIR) / "src";
  int files = 0;
  for (const auto& [folder, below] : kBelow) {
    for (const auto& entry : fs::directory_iterator(src / folder)) {
      const Includes includes = IncludesOf(entry.path());
      ++files;
      for (const std::string& to : includes.folders) {
        EXPECT_TRUE(to == folder || below.count(to) == 1) << entry.path() << " includes " << to;
      }
      if (folder == "game") {
        EXPECT_FALSE(includes.windowing) << entry.path();
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

namespace {

// Operating-system calls live in platform/: no other folder includes a POSIX
// or Linux header, but the X11 files of video/, app/ and shell/.
TEST(Layers, OnlyThePlatformIncludesSystemHeaders) {
  const char* const kSystemHeaders[] = {"<unistd.h>", "<fcntl.h>", "<sys/", "<pwd.h>",  "<signal.h>", "<dirent.h>",
                                        "<poll.h>",   "<errno.h>", "<time.h>", "<linux/", "<dlfcn.h>",  "<termios.h>"};
  const fs::path src = fs::path(ZUK_SOURCE_DIR) / "src";
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string folder = entry.path().parent_path().filename().string();
    const bool x11 = entry.path().filename().string().rfind("x11_", 0) == 0 &&
                     (folder == "video" || folder == "app" || folder == "shell");
    if (!entry.is_regular_file() || folder == "platform" || x11) continue;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("#include ", 0) != 0) continue;
      for (const char* header : kSystemHeaders) {
        EXPECT_EQ(line.find(header), std::string::npos) << entry.path() << ": " << line;
      }
    }
  }
}

}  // namespace
