// The readme window where the X desktop's font and files stand: a device
// behind a link, and line breaks measured in IPA P Gothic as fontconfig
// finds it (under Wine the tests have neither).
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Button.H>

#include <sstream>

#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/readme_window.h"

using namespace uitest;

namespace {

class ReadmeWindowOnX11Test : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    app.CreateForm(ReadmeForm);
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(ReadmeWindowOnX11Test, AFileThatCantBeOpenedChangesNothing) {
  const auto good = dir / "readme.txt";
  WriteBytes(good, "kept\n");
  ReadmeForm->ShowReadme(good.string());
  ReadmeForm->Hide();
  const std::string missing = (dir / "missing" / "readme.txt").string();
  try {
    ReadmeForm->ShowReadme(missing);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル " + missing + " は開けません");
    EXPECT_EQ(Application::ErrorMessageText(e.what()), "ファイル " + missing + " は開けません.");
  }
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_EQ(ReadmeForm->DisplayedText(), "kept");
  // A folder can't be read as a readme either, nor a device: a link to
  // /dev/zero is refused at once instead of growing without end.
  EXPECT_THROW(ReadmeForm->ShowReadme(dir.string()), std::runtime_error);
  std::filesystem::create_symlink("/dev/zero", dir / "zero.txt");
  EXPECT_THROW(ReadmeForm->ShowReadme((dir / "zero.txt").string()), std::runtime_error);
  EXPECT_EQ(ReadmeForm->DisplayedText(), "kept");
  // The name is shown as given: '%' and '@' are just characters.
  try {
    ReadmeForm->ShowReadme("%s%n@-> readme.txt");
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル %s%n@-> readme.txt は開けません");
  }
}

TEST_F(ReadmeWindowOnX11Test, ALongLineBreaksBetweenWordsAndNothingMore) {
  const auto file = dir / "readme.txt";
  const std::string line = "　ＺＵＫスクリーンセーバー　ZUK_RER1　Ver1.91　ZUK-SOFT";
  WriteBytes(file, line + "\r\n次の行\r\n");
  ReadmeForm->ShowReadme(file.string());
  Settle();
  const std::vector<std::string> lines = Lines(ReadmeForm->DisplayedText());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "　ＺＵＫスクリーンセーバー　ZUK_RER1");
  EXPECT_EQ(lines[1], "Ver1.91　ZUK-SOFT");
  EXPECT_EQ(lines[2], "次の行");
  // The text area itself wraps none of them again: three display lines.
  EXPECT_EQ(ReadmeForm->TextArea->count_lines(0, ReadmeForm->TextArea->buffer()->length(), true), 3);
}

}  // namespace
