// The data generator runs on the build machine (a cross build takes a
// native build's): the same bytes on every run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/data_test_util.h"

using namespace datatest;

namespace {

std::string Generator() { return std::string(ZUK_BINARY_DIR) + "/bin/zuk_datagen"; }

}  // namespace

TEST(DataGenerator, TwoRunsGiveTheSameBytes) {
  namespace fs = std::filesystem;
  const std::string generator = Generator();
  ASSERT_TRUE(fs::exists(generator));
  const fs::path base = fs::temp_directory_path() / ("zuk_datagen_test_" + std::to_string(::getpid()));
  const fs::path one = base / "one", two = base / "two";
  fs::create_directories(one);
  fs::create_directories(two);
  ASSERT_EQ(std::system((generator + " " + one.string() + " " + (one / "splash.cpp").string()).c_str()), 0);
  ASSERT_EQ(std::system((generator + " " + two.string() + " " + (two / "splash.cpp").string()).c_str()), 0);
  const char* names[] = {"pal256.pal", "bmp1.bmp", "bmp2.bmp", "bmp3.bmp", "bmp4.bmp", "fire.wav",
                         "dokan.wav", "readme.txt", "readme_en.txt", "splash.bmp", "splash.cpp", "icon48.png",
                         "icon256.png", "icon.ico"};
  for (const char* name : names) {
    const std::vector<uint8_t> a = ReadFile((one / name).string()), b = ReadFile((two / name).string());
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_TRUE(a == b) << name;
    // The build's own copy is the same too (splash source under another name).
    const std::string built = std::string(name) == "splash.cpp" ? "splash_data.cpp" : name;
    EXPECT_TRUE(a == ReadFile(DataDir() + "/" + built)) << name;
  }
  // An unwritable output folder is reported, not ignored.
  EXPECT_NE(std::system((generator + " " + (base / "missing" / "dir").string() + " 2>/dev/null").c_str()), 0);
  fs::remove_all(base);
}

// The build's readmes tell the Linux way; with --windows the generator
// writes the Windows distribution's instead, and every other file the same.
TEST(DataGenerator, EachSystemGetsItsOwnReadmes) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zuk_datagen_windows_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  ASSERT_EQ(std::system((Generator() + " --windows " + dir.string()).c_str()), 0);
  for (const char* name : {"pal256.pal", "bmp1.bmp", "dokan.wav", "splash.bmp", "icon.ico"})
    EXPECT_TRUE(ReadFile((dir / name).string()) == ReadFile(DataDir() + "/" + name)) << name;
  const std::vector<const char*> linuxWay = {"sudo apt install", "make install", "XScreenSaver", "xsecurelock",
                                             "xss-lock", "zuk_rer1.scr -root", "~/.local/share/zuk_rer1",
                                             "ZUK_RER1_WINDIR"};
  const std::vector<const char*> windowsWay = {"zuk_rer1-1.91-windows-x64.zip", "%LOCALAPPDATA%\\zuk_rer1",
                                               "ipagp.ttf", "readme_en.txt", "control desk.cpl,,@screensaver"};
  ExpectReadmeTells(DataDir(), "readme.txt", linuxWay, windowsWay);
  ExpectReadmeTells(DataDir(), "readme_en.txt", linuxWay, {"%LOCALAPPDATA%"});
  ExpectReadmeTells(dir.string(), "readme.txt", windowsWay, linuxWay);
  ExpectReadmeTells(dir.string(), "readme_en.txt", windowsWay, linuxWay);
  ExpectReadmeTells(dir.string(), "readme.txt", {"画面のプロパティ", "Windows フォルダ"}, {});
  // Windows' readmes carry the byte-order mark that makes every Notepad
  // read UTF-8 (the readme window drops it); Linux's go without.
  for (const char* name : {"readme.txt", "readme_en.txt"}) {
    const std::vector<uint8_t> windows = ReadFile((dir / name).string()), linux = ReadFile(DataDir() + "/" + name);
    EXPECT_EQ(std::string(windows.begin(), windows.begin() + 3), "\xEF\xBB\xBF") << name;
    EXPECT_NE(linux.at(0), 0xEF) << name;
  }
  ExpectReadmeTells(dir.string(), "readme_en.txt", {"Screen Saver Settings", "Windows folder"}, {});
  fs::remove_all(dir);
}
