// The readme window: how file bytes become the memo's lines, and showing,
// reloading, hiding and the missing file.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Button.H>

#include <stdexcept>

#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/unit4.h"

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

class ReadmeWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    app.CreateForm(Form4);
  }
};

TEST_F(ReadmeWindowTest, ShowsTheFileReloadedAtEveryShowing) {
  const auto lf = dir / "lf.txt";
  const auto crlf = dir / "crlf.txt";
  const auto sjis = dir / "sjis.txt";
  WriteFile(lf, "ＺＵＫ スクリーンセーバー\n\n使い方\n");
  WriteFile(crlf, "ＺＵＫ スクリーンセーバー\r\n\r\n使い方\r\n");
  // The same text as written by a Japanese Windows system.
  WriteFile(sjis, "\x82\x79\x82\x74\x82\x6A\x20\x83\x58\x83\x4E\x83\x8A\x81\x5B\x83\x93\x83\x5A"
                  "\x81\x5B\x83\x6F\x81\x5B\r\n\r\n\x8E\x67\x82\xA2\x95\xFB\r\n");

  Form4->ShowReadme(lf.string());
  Settle();
  EXPECT_TRUE(Form4->Visible());
  EXPECT_TRUE(Form4->Window()->shown());
  const std::string expected = "ＺＵＫ スクリーンセーバー\n\n使い方";
  EXPECT_EQ(Form4->MemoText(), expected);
  Form4->ShowReadme(crlf.string());
  EXPECT_EQ(Form4->MemoText(), expected);
  Form4->ShowReadme(sjis.string());
  EXPECT_EQ(Form4->MemoText(), expected);

  // Edits are never kept: the next showing has the file's current text.
  Form4->Memo1->buffer()->append("edited");
  WriteFile(lf, "changed\n");
  Form4->Button1->do_callback();
  EXPECT_FALSE(Form4->Visible());
  EXPECT_FALSE(Form4->Window()->shown());
  Form4->ShowReadme(lf.string());
  EXPECT_EQ(Form4->MemoText(), "changed");
  EXPECT_TRUE(Form4->Visible());
}

TEST_F(ReadmeWindowTest, AFileThatCantBeOpenedChangesNothing) {
  const auto good = dir / "readme.txt";
  WriteFile(good, "kept\n");
  Form4->ShowReadme(good.string());
  Form4->Hide();
  const std::string missing = (dir / "missing" / "readme.txt").string();
  try {
    Form4->ShowReadme(missing);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル " + missing + " は開けません");
    EXPECT_EQ(Application::ErrorMessageText(e.what()), "ファイル " + missing + " は開けません.");
  }
  EXPECT_FALSE(Form4->Visible());
  EXPECT_EQ(Form4->MemoText(), "kept");
  // A folder can't be read as a readme either.
  EXPECT_THROW(Form4->ShowReadme(dir.string()), std::runtime_error);
  // The name is shown as given: '%' and '@' are just characters.
  try {
    Form4->ShowReadme("%s%n@-> readme.txt");
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル %s%n@-> readme.txt は開けません");
  }
}

TEST_F(ReadmeWindowTest, MemoTakesTypingButNotTab) {
  Fl_Window* w = Form4->Window();
  Form4->Show();
  Settle();
  Form4->Memo1->take_focus();
  Fl::e_keysym = 'x';
  Fl::e_state = 0;
  Fl::e_text = const_cast<char*>("x");
  Fl::e_length = 1;
  Fl::handle(FL_KEYBOARD, w);
  EXPECT_EQ(Form4->MemoText(), "x");
  // Tab goes to the button instead of into the text.
  PressKey(w, FL_Tab);
  EXPECT_EQ(Fl::focus(), Form4->Button1);
  EXPECT_EQ(Form4->MemoText(), "x");
}

}  // namespace
