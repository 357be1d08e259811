// The top Makefile's configure step can't wedge a build folder: a folder
// holding only a CMakeCache.txt (what an interrupted or failed configure
// used to leave) is configured afresh, and a configure that fails leaves no
// cache behind for a later run to mistake for a configured build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/process.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

int MakeConfigure(const fs::path& build, const std::string& cmakeFlags) {
  int code = -1;
  Shell("make -s -C '" + std::string(ZUK_SOURCE_DIR) + "' configure BUILD='" + build.string() + "' " + cmakeFlags +
            " > '" + build.string() + ".log' 2>&1",
        &code);
  return code;
}

// Ninja's build file or the Makefile, whichever generator configure chose.
bool HasBuildSystem(const fs::path& build) {
  return fs::exists(build / "build.ninja") || fs::exists(build / "Makefile");
}

TEST(BuildFolder, AFolderWithOnlyAJunkCacheIsConfigured) {
  const fs::path build = FreshDir("build") / "b";
  fs::create_directories(build);
  std::ofstream(build / "CMakeCache.txt") << "junk left by a configure that never finished\n";
  EXPECT_EQ(MakeConfigure(build, ""), 0);
  EXPECT_TRUE(HasBuildSystem(build));
  fs::remove_all(build.parent_path());
}

TEST(BuildFolder, AFailedConfigureLeavesNoCache) {
  const fs::path build = FreshDir("build") / "b";
  EXPECT_NE(MakeConfigure(build, "CMAKE_FLAGS=-DCMAKE_CXX_COMPILER=/nonexistent"), 0);
  EXPECT_FALSE(fs::exists(build / "CMakeCache.txt"));
  EXPECT_FALSE(HasBuildSystem(build));
  fs::remove_all(build.parent_path());
}

}  // namespace
