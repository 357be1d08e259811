// A new language is one more po/<language>.po and nothing else: a copy of
// the sources given a catalogue made from en.po (each translation marked
// "[eo] ") builds and installs with that language in its windows, its Read
// Me (the English readme under the language's name) and its menu entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

// en.po with every translation marked, and the readme named for Esperanto.
std::string EsperantoCatalogue() {
  std::istringstream en(ReadBytes(fs::path(ZUK_SOURCE_DIR) / "po" / "en.po"));
  std::string po;
  for (std::string line; std::getline(en, line);) {
    if (line == "msgstr \"readme_en.txt\"") line = "msgstr \"readme_eo.txt\"";
    else if (line.rfind("msgstr \"", 0) == 0 && line != "msgstr \"\"") line.insert(8, "[eo] ");
    else if (line == "\"Language: en\\n\"") line = "\"Language: eo\\n\"";
    po += line + "\n";
  }
  return po;
}

int MakeIn(const fs::path& src, const std::string& arguments) {
  int code = -1;
  Shell("env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL -u DESTDIR make -s -C " + Quote(src) + " " + arguments +
            " JOBS=2 CMAKE_FLAGS=-DZUK_BENCH=OFF >" + Quote(src.parent_path() / "make.log") + " 2>&1",
        &code);
  return code;
}

TEST(NewLanguage, OneCatalogueBringsItToTheWindowsTheReadmeAndTheMenu) {
  const fs::path work = FreshDir("language"), src = work / "src", prefix = work / "prefix";
  fs::create_directories(src);
  ASSERT_EQ(Shell("cd " + Quote(ZUK_SOURCE_DIR) + " && git ls-files -z | xargs -0 cp --parents -t " + Quote(src) +
                  " && echo copied"),
            "copied\n");
  WriteBytes(src / "po" / "eo.po", EsperantoCatalogue());
  ASSERT_EQ(MakeIn(src, "install BUILD=" + (work / "build").string() + " PREFIX=" + prefix.string()), 0)
      << ReadBytes(work / "make.log");

  const fs::path data = prefix / "share" / "zuk_rer1";
  EXPECT_EQ(ReadBytes(data / "readme_eo.txt"), ReadBytes(data / "readme_en.txt"));
  const std::string entry = ReadBytes(prefix / "share" / "applications" / "zuk_rer1-setup.desktop");
  EXPECT_NE(entry.find("\nName[eo]=[eo] ZUK Screen Saver No.1 Setup\n"), std::string::npos) << entry;

  // Setup in Esperanto; its Read Me button finds the readme by its name
  // (the English one is gone, so nothing else can stand in).
  fs::remove(data / "readme_en.txt");
  fs::create_directories(work / "win");
  fs::create_directories(work / "run");
  Child setup = Start((prefix / "libexec" / "zuk_rer1" / "ZUK_RER1.EXE").string(), {},
                      {{"LC_ALL", "eo_XX.UTF-8"}, {"LANGUAGE", ""}, {"ZUK_RER1_WINDIR", (work / "win").string()},
                       {"XDG_RUNTIME_DIR", (work / "run").string()}},
                      data.string());
  const std::string title = "[eo] ZUK Screen Saver Ver1.91 Setup";
  ASSERT_TRUE(WaitForWindow(title, 10000));
  Shell("xdotool mousemove --window " + WindowsNamed(title).front() + " 370 154 click 1");
  EXPECT_TRUE(WaitForWindow("[eo] Read Me", 5000));
  setup.Kill();
  fs::remove_all(work);
}

}  // namespace
