// The readme window: how file bytes become the memo's lines, and showing,
// reloading, hiding and the missing file.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Button.H>

#include <stdexcept>
#include <sstream>

#include "support/languages.h"
#include "ui/memo_wrap.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/readme_window.h"

using namespace uitest;

namespace {

TEST(ReadmeText, LineEndsNulAndEncodings) {
  // LF, CR LF and CR all end lines; the same lines whatever the file used.
  EXPECT_EQ(ReadmeTextFromBytes("one\ntwo\nthree\n"), "one\ntwo\nthree");
  EXPECT_EQ(ReadmeTextFromBytes("one\r\ntwo\r\nthree\r\n"), "one\ntwo\nthree");
  EXPECT_EQ(ReadmeTextFromBytes("one\rtwo\rthree"), "one\ntwo\nthree");
  EXPECT_EQ(ReadmeTextFromBytes("a\r\n\r\nb\n\n"), "a\n\nb\n");
  EXPECT_EQ(ReadmeTextFromBytes("a\n\rb"), "a\n\nb");
  EXPECT_EQ(ReadmeTextFromBytes(""), "");
  EXPECT_EQ(ReadmeTextFromBytes("\r\n"), "");
  // A NUL byte ends the text.
  EXPECT_EQ(ReadmeTextFromBytes(std::string("before\r\nmid\0after\r\nmore", 23)), "before\nmid");
  // UTF-8 stays as it is, without its byte-order mark.
  EXPECT_EQ(ReadmeTextFromBytes("\xEF\xBB\xBFＺＵＫ説明\r\n２行目"), "ＺＵＫ説明\n２行目");
  // Shift-JIS: "説明" and half-width "ｽｸﾘｰﾝ", and NEC/IBM extensions of CP932.
  EXPECT_EQ(ReadmeTextFromBytes("\x90\xE0\x96\xBE\r\n\xBD\xB8\xD8\xB0\xDD"), "説明\nｽｸﾘｰﾝ");
  EXPECT_EQ(ReadmeTextFromBytes("\x87\x40\x81\x60"), "①～");
  // A broken byte doesn't lose the rest.
  EXPECT_EQ(ReadmeTextFromBytes("\x90\xE0\xFF\x96\xBE"), "説\xEF\xBF\xBD明");
  EXPECT_EQ(ReadmeTextFromBytes("ab\x90"), "ab\xEF\xBF\xBD");
}

TEST(ReadmeText, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("説明 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\x90\xE0"));          // Shift-JIS
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE8\xAA"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
}

// Only the first MiB is read; a UTF-8 character cut there is dropped, so
// the text stays UTF-8 instead of turning into Shift-JIS garbage.
TEST(ReadmeText, AFileIsReadUpToOneMibWithoutACutCharacter) {
  const auto path = std::filesystem::temp_directory_path() / ("zuk_long_readme_" + std::to_string(getpid()));
  std::string three;  // 1 MiB = 3 x 349525 + 1 bytes
  for (int i = 0; i < 349600; ++i) three += "説";
  WriteBytes(path, three);
  const std::string text = LoadReadmeText(path.string());
  std::filesystem::remove(path);
  EXPECT_EQ(text.size(), 3u * 349525u);
  EXPECT_EQ(text, three.substr(0, 3 * 349525));
}

class ReadmeWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    app.CreateForm(ReadmeForm);
  }
};

TEST_F(ReadmeWindowTest, ShowsTheFileReloadedAtEveryShowing) {
  const auto lf = dir / "lf.txt";
  const auto crlf = dir / "crlf.txt";
  const auto sjis = dir / "sjis.txt";
  WriteBytes(lf, "ＺＵＫ スクリーンセーバー\n\n使い方\n");
  WriteBytes(crlf, "ＺＵＫ スクリーンセーバー\r\n\r\n使い方\r\n");
  // The same text as written by a Japanese Windows system.
  WriteBytes(sjis, "\x82\x79\x82\x74\x82\x6A\x20\x83\x58\x83\x4E\x83\x8A\x81\x5B\x83\x93\x83\x5A"
                  "\x81\x5B\x83\x6F\x81\x5B\r\n\r\n\x8E\x67\x82\xA2\x95\xFB\r\n");

  ReadmeForm->ShowReadme(lf.string());
  Settle();
  EXPECT_TRUE(ReadmeForm->Visible());
  EXPECT_TRUE(ReadmeForm->Window()->shown());
  const std::string expected = "ＺＵＫ スクリーンセーバー\n\n使い方";
  EXPECT_EQ(ReadmeForm->DisplayedText(), expected);
  ReadmeForm->ShowReadme(crlf.string());
  EXPECT_EQ(ReadmeForm->DisplayedText(), expected);
  ReadmeForm->ShowReadme(sjis.string());
  EXPECT_EQ(ReadmeForm->DisplayedText(), expected);

  // Edits are never kept: the next showing has the file's current text.
  ReadmeForm->TextArea->buffer()->append("edited");
  WriteBytes(lf, "changed\n");
  ReadmeForm->CloseButton->do_callback();
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_FALSE(ReadmeForm->Window()->shown());
  ReadmeForm->ShowReadme(lf.string());
  EXPECT_EQ(ReadmeForm->DisplayedText(), "changed");
  EXPECT_TRUE(ReadmeForm->Visible());
}

TEST_F(ReadmeWindowTest, MemoTakesTypingButNotTab) {
  Fl_Window* w = ReadmeForm->Window();
  ReadmeForm->Show();
  Settle();
  ReadmeForm->TextArea->take_focus();
  Fl::e_keysym = 'x';
  Fl::e_state = 0;
  Fl::e_text = const_cast<char*>("x");
  Fl::e_length = 1;
  Fl::handle(FL_KEYBOARD, w);
  EXPECT_EQ(ReadmeForm->DisplayedText(), "x");
  // Tab goes to the button instead of into the text.
  PressKey(w, FL_Tab);
  EXPECT_EQ(Fl::focus(), ReadmeForm->CloseButton);
  EXPECT_EQ(ReadmeForm->DisplayedText(), "x");
}

// Line breaking, measured with a stand-in font: ASCII 1 unit, anything else 2.
TEST(MemoWrap, BreaksAfterBlanksAndBetweenJapaneseNeverInsideLatinRuns) {
  const CharWidth width = [](std::string_view ch) { return ch.size() == 1 ? 1.0 : 2.0; };
  auto wrap = [&](std::string_view text, double max) { return WrapText(text, max, width); };
  EXPECT_EQ(wrap("ab\n\n　cd", 4), "ab\n\n　cd");                // lines that fit stay
  EXPECT_EQ(wrap("ab cd ef", 5), "ab cd\nef");                      // after an ASCII blank
  EXPECT_EQ(wrap("あいうえお", 6), "あいう\nえお");                 // between Japanese
  EXPECT_EQ(wrap("あいVer1.91", 8), "あい\nVer1.91");               // a Latin run stays whole
  EXPECT_EQ(wrap("　ZUK_RER1　Ver1.91", 12), "　ZUK_RER1\nVer1.91");  // after U+3000
  EXPECT_EQ(wrap("あいう。", 6), "あい\nう。");                     // "。" never starts a line
  EXPECT_EQ(wrap("あ（いう", 4), "あ\n（い\nう");                    // "（" never ends one
  EXPECT_EQ(wrap("abcdefgh", 3), "abc\ndef\ngh");                   // no chance: cut where it overflows
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The shipped readmes, Japanese and English, fit the text area line by
// line, in the window's own font, so no line of them wraps.
TEST_F(ReadmeWindowTest, ShippedReadmesFitTheTextArea) {
  EXPECT_EQ(TextAreaWidth(*ReadmeForm->TextArea), 265);
  for (const std::string& language : testsupport::BuildLanguages()) {
    const std::string name = testsupport::ReadmeName(language);
    const std::string text = LoadReadmeText(std::string(ZUK_BINARY_DIR) + "/data/" + name);
    EXPECT_EQ(Lines(WrapForDisplay(*ReadmeForm->TextArea, text)), Lines(text)) << name;
  }
}

}  // namespace
