// The layers of src/: a folder includes only its own headers and those of
// the folders its library links (the graph CMake writes from the links of
// src/CMakeLists.txt), and no header the game includes, however deep, is an
// SDL, FLTK or Xlib one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Graph = std::map<std::string, std::set<std::string>>;

// What each folder links, as the build linked it: "folder below...".
Graph LinkedGraph(const fs::path& file) {
  Graph links;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string folder, below;
    if (!(words >> folder)) continue;
    auto& set = links[folder];
    while (words >> below) set.insert(below);
  }
  return links;
}

// Everything below each folder: what it links and what those link.
Graph Below(const Graph& links) {
  Graph below;
  for (const auto& [folder, direct] : links) {
    std::vector<std::string> todo(direct.begin(), direct.end());
    while (!todo.empty()) {
      const std::string next = todo.back();
      todo.pop_back();
      if (!below[folder].insert(next).second) continue;
      const auto found = links.find(next);
      if (found != links.end()) todo.insert(todo.end(), found->second.begin(), found->second.end());
    }
  }
  return below;
}

// The file's includes as written: "folder/name.h" or <system/header.h>.
std::vector<std::string> IncludesOf(const fs::path& file) {
  std::vector<std::string> found;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#include ", 0) == 0) found.push_back(line.substr(9, line.find_first_of(">\"", 10) - 8));
  }
  return found;
}

bool IsToolkitHeader(const std::string& include) {
  for (const char* toolkit : {"<SDL", "<FL/", "<X11/"}) {
    if (include.rfind(toolkit, 0) == 0) return true;
  }
  return false;
}

// The first SDL, FLTK or Xlib header that `file` reaches through our headers
// ("folder/name.h" under root), as the chain of includes that leads to it;
// empty when there is none.
std::string ToolkitHeaderReached(const fs::path& file, const fs::path& root, std::set<fs::path>& seen) {
  for (const std::string& include : IncludesOf(file)) {
    if (IsToolkitHeader(include)) return include;
    if (include[0] != '"') continue;
    const fs::path ours = root / include.substr(1, include.size() - 2);
    if (!fs::exists(ours) || !seen.insert(ours).second) continue;
    const std::string below = ToolkitHeaderReached(ours, root, seen);
    if (!below.empty()) return include + " -> " + below;
  }
  return "";
}

std::string ToolkitHeaderReached(const fs::path& file, const fs::path& root) {
  std::set<fs::path> seen;
  return ToolkitHeaderReached(file, root, seen);
}

const fs::path kSrc = fs::path(ZUK_SOURCE_DIR) / "src";

TEST(Layers, EveryFolderIncludesOnlyTheFoldersItsLibraryLinks) {
  const Graph links = LinkedGraph(ZUK_LAYER_GRAPH);
  const Graph below = Below(links);
  ASSERT_GE(links.size(), ZUK_ALL_LAYERS ? 9u : 6u) << ZUK_LAYER_GRAPH;
  int files = 0;
  for (const auto& [folder, direct] : links) {
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      ++files;
      for (const std::string& include : IncludesOf(entry.path())) {
        const size_t slash = include.find('/');
        if (include[0] != '"' || slash == std::string::npos) continue;
        const std::string to = include.substr(1, slash - 1);
        const auto under = below.find(folder);
        EXPECT_TRUE(to == folder || (under != below.end() && under->second.count(to) == 1))
            << entry.path() << " includes " << include;
      }
    }
  }
  EXPECT_GT(files, 100);
  // Every folder of src/ is a layer of the graph (of a build that has the
  // windows; one that stops below them has the layers up to the game).
  for (const auto& entry : fs::directory_iterator(kSrc)) {
    if (entry.is_directory() && ZUK_ALL_LAYERS) {
      EXPECT_EQ(links.count(entry.path().filename().string()), 1u) << entry.path();
    }
  }
}

TEST(Layers, TheGameReachesNoToolkitHeaderEvenThroughAnother) {
  for (const auto& entry : fs::directory_iterator(kSrc / "game")) {
    EXPECT_EQ(ToolkitHeaderReached(entry.path(), kSrc), "") << entry.path();
  }
}

TEST(Layers, AToolkitHeaderIsFoundBehindOurHeaders) {
  const fs::path root = fs::path(testing::TempDir()) / "layers_tree";
  fs::remove_all(root);
  for (const char* folder : {"game", "sound", "base"}) fs::create_directories(root / folder);
  std::ofstream(root / "game/run.cpp") << "#include <vector>\n#include \"game/run.h\"\n";
  std::ofstream(root / "game/run.h") << "#include \"game/run.h\"\n#include \"base/codes.h\"\n#include \"sound/device.h\"\n";
  std::ofstream(root / "base/codes.h") << "#include <cstdint>\n";
  std::ofstream(root / "sound/device.h") << "#include \"base/codes.h\"\n#include <SDL2/SDL_audio.h>\n";
  EXPECT_EQ(ToolkitHeaderReached(root / "game/run.cpp", root),
            "\"game/run.h\" -> \"sound/device.h\" -> <SDL2/SDL_audio.h>");
  std::ofstream(root / "sound/device.h") << "#include \"base/codes.h\"\n";
  EXPECT_EQ(ToolkitHeaderReached(root / "game/run.cpp", root), "");
  fs::remove_all(root);
}

}  // namespace

namespace {

// Operating-system calls live in platform/: no other folder includes a
// system's header, but the files named for that system: the X11 files of
// video/, app/ and shell/ for the POSIX and Linux ones, *_win32 files for
// Windows'.
bool MayIncludeSystemHeaders(const fs::path& file, bool windowsHeader) {
  const std::string folder = file.parent_path().filename().string();
  const std::string name = file.stem().string();
  if (folder == "platform") return true;
  if (windowsHeader) return name.size() > 6 && name.compare(name.size() - 6, 6, "_win32") == 0;
  return name.rfind("x11_", 0) == 0 && (folder == "video" || folder == "app" || folder == "shell");
}

TEST(Layers, OnlyThePlatformIncludesSystemHeaders) {
  const char* const kPosixHeaders[] = {"<unistd.h>", "<fcntl.h>", "<sys/", "<pwd.h>",  "<signal.h>", "<dirent.h>",
                                       "<poll.h>",   "<errno.h>", "<time.h>", "<linux/", "<dlfcn.h>",  "<termios.h>"};
  const fs::path src = fs::path(ZUK_SOURCE_DIR) / "src";
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("#include ", 0) != 0) continue;
      const bool windows = line.find("<windows.h>") != std::string::npos;
      EXPECT_TRUE(!windows || MayIncludeSystemHeaders(entry.path(), true)) << entry.path() << ": " << line;
      if (MayIncludeSystemHeaders(entry.path(), false)) continue;
      for (const char* header : kPosixHeaders) {
        EXPECT_EQ(line.find(header), std::string::npos) << entry.path() << ": " << line;
      }
    }
  }
}

// On Windows a narrow path handed to std::filesystem, the streams or fopen
// is read in the ANSI code page, so a Japanese or accented folder names
// another file: every file and folder is reached through the platform's
// functions, which hand Windows a wide path. The tools that build for
// Windows keep the rule too.
TEST(Layers, FilesAreReachedOnlyThroughThePlatform) {
  const char* const kNarrowPathCalls[] = {"<filesystem>", "<fstream>", "fopen(", "SDL_RWFromFile("};
  const fs::path root(ZUK_SOURCE_DIR);
  for (const char* tree : {"src", "tools/sim", "tools/zuk-sim"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / tree)) {
      if (!entry.is_regular_file() || entry.path().parent_path().filename() == "platform") continue;
      std::ifstream in(entry.path());
      for (std::string line; std::getline(in, line);) {
        for (const char* call : kNarrowPathCalls) {
          EXPECT_EQ(line.find(call), std::string::npos) << entry.path() << ": " << line;
        }
      }
    }
  }
}

}  // namespace
