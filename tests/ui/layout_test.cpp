// The dialog windows as designed: caption and client size of each window,
// and every control's text, place, size and colour, checked byte for byte
// against the design tables (full-width and half-width characters, blanks).
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>

#include <string>

#include "config/settings.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/setup_window.h"
#include "ui/settings_window.h"
#include "ui/readme_window.h"
#include "ui/error_window.h"

using namespace uitest;

namespace {

struct Place {
  int x, y, w, h;
};

void ExpectPlace(const Fl_Widget* c, Place p, const char* name) {
  EXPECT_EQ(c->x(), p.x) << name;
  EXPECT_EQ(c->y(), p.y) << name;
  EXPECT_EQ(c->w(), p.w) << name;
  EXPECT_EQ(c->h(), p.h) << name;
}

void ExpectLabel(const TLabel* l, const std::string& text, Place p, Fl_Color colour,
                 const char* name) {
  ASSERT_NE(l, nullptr) << name;
  EXPECT_EQ(l->Caption(), text) << name;
  ExpectPlace(l, p, name);
  EXPECT_EQ(l->labelcolor(), colour) << name;
}

void ExpectCaption(const Fl_Widget* c, const std::string& text, Place p, const char* name) {
  ASSERT_NE(c, nullptr) << name;
  ASSERT_NE(c->label(), nullptr) << name;
  EXPECT_EQ(std::string(c->label()), text) << name;
  ExpectPlace(c, p, name);
}

void ExpectWindow(TForm* f, const std::string& caption, int w, int h) {
  Fl_Window* win = f->Window();
  ASSERT_NE(win, nullptr);
  ASSERT_NE(win->label(), nullptr);
  EXPECT_EQ(std::string(win->label()), caption);
  EXPECT_EQ(win->w(), w);
  EXPECT_EQ(win->h(), h);
}

// Windows' named colours as RGB, FLTK's 0xRRGGBB00.
constexpr Fl_Color kNavy = 0x00008000;
constexpr Fl_Color kMaroon = 0x80000000;
constexpr Fl_Color kGreen = 0x00800000;
constexpr Fl_Color kGray = 0x80808000;
constexpr Fl_Color kRed = 0xFF000000;
constexpr Fl_Color kBlack = 0x00000000;

using LayoutTest = UiTest;

TEST_F(LayoutTest, SetupWindow) {
  app.CreateForm(Form2);
  ExpectWindow(Form2, "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB"  // ＺＵＫ
                      "スクリーンセーバー Ver1.91\xE3\x80\x80セットアップ",
               572, 185);
  ExpectPlace(Form2->Image1, {14, 12, 198, 132}, "Image1");
  ExpectLabel(Form2->Label3, "ZUK-SOFT", {88, 149, 59, 12}, kNavy, "Label3");
  ExpectLabel(Form2->Label4, "下の「セットアップ開始」ボタンを押した後、「画面のプロパティ」で",
              {228, 13, 322, 12}, kMaroon, "Label4");
  ExpectLabel(Form2->Label5, "スクリーンセーバー「zuk_rer1」を選んで下さい。", {230, 33, 238, 12},
              kMaroon, "Label5");
  ExpectPlace(Form2->Label13, {230, 88, 306, 12}, "Label13");
  EXPECT_EQ(Form2->Label13->labelcolor(), kGreen);
  ExpectLabel(Form2->Label6,
              "\xEF\xBC\x88まあ、保証しているソフトって、あんまり見たことないですね\xEF\xBC\x89",
              {238, 106, 306, 12}, kGreen, "Label6");
  ExpectCaption(Form2->BitBtn1, "説\xE3\x80\x80明", {288, 140, 89, 29}, "BitBtn1");
  ExpectPlace(Form2->Shape2, {393, 132, 172, 45}, "Shape2");
  EXPECT_TRUE(Form2->Shape2->Filled());
  EXPECT_EQ(Form2->Shape2->Brush(), kGray);
  ExpectCaption(Form2->Button1, "セットアップ開始", {400, 140, 157, 29}, "Button1");
  EXPECT_EQ(Form2->Button1->labelcolor(), kBlack);
}

TEST_F(LayoutTest, SettingsWindow) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  app.CreateForm(Form3);
  ExpectWindow(Form3, "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB" "スクリーンセーバー Ver 1.90", 610, 207);
  ExpectPlace(Form3->Image1, {16, 16, 198, 132}, "Image1");
  ExpectLabel(Form3->Label9, "ZUK-SOFT", {79, 156, 82, 15}, kNavy, "Label9");
  EXPECT_EQ(Form3->Label9->labelsize(), 15);
  EXPECT_EQ(Form3->Label9->labelfont(), DialogBoldFont());
  ExpectLabel(Form3->Label1, "隕石の数の最高数", {228, 24, 96, 12}, kBlack, "Label1");
  ExpectLabel(Form3->Label7, "10", {338, 24, 12, 12}, kMaroon, "Label7");
  ExpectPlace(Form3->Shape1, {332, 18, 25, 23}, "Shape1");
  EXPECT_FALSE(Form3->Shape1->Filled());
  EXPECT_EQ(Form3->Shape1->Pen(), kGray);
  ExpectLabel(Form3->Label3, "1個", {362, 6, 18, 12}, kBlack, "Label3");
  ExpectLabel(Form3->Label2, "50個", {554, 6, 24, 12}, kBlack, "Label2");
  ExpectLabel(Form3->Label11, "低速マシン", {342, 50, 56, 12}, kGray, "Label11");
  ExpectLabel(Form3->Label10, "高速マシン", {530, 50, 56, 12}, kGray, "Label10");
  ExpectLabel(Form3->Label4, "効果音の音量設定", {228, 88, 96, 12}, kBlack, "Label4");
  ExpectLabel(Form3->Label6, "小", {362, 70, 12, 12}, kBlack, "Label6");
  ExpectLabel(Form3->Label5, "大", {556, 72, 12, 12}, kBlack, "Label5");

  struct Bar {
    TTrackBar* bar;
    Place place;
    int position;
    const char* name;
  };
  for (const Bar& b : {Bar{Form3->TrackBar1, {360, 18, 211, 29}, 10, "TrackBar1"},
                       Bar{Form3->TrackBar2, {362, 84, 211, 29}, 50, "TrackBar2"}}) {
    ExpectPlace(b.bar, b.place, b.name);
    EXPECT_EQ(b.bar->Min(), 1) << b.name;
    EXPECT_EQ(b.bar->Max(), 50) << b.name;
    EXPECT_EQ(b.bar->Position(), b.position) << b.name;
    EXPECT_EQ(b.bar->LineSize, 5) << b.name;
    EXPECT_EQ(b.bar->PageSize, 5) << b.name;
    EXPECT_EQ(b.bar->Frequency, 5) << b.name;
  }

  ExpectCaption(Form3->CheckBox3, "効果音を出す。", {224, 109, 239, 27}, "CheckBox3");
  ExpectCaption(Form3->CheckBox2, "起動時は自動操縦にする", {224, 129, 167, 27}, "CheckBox2");
  ExpectCaption(Form3->CheckBox1, "ジョイステイックを使用する", {224, 148, 167, 27}, "CheckBox1");
  ExpectCaption(Form3->CheckBox4, "ゲーム時間の延長", {224, 171, 139, 17}, "CheckBox4");
  ExpectCaption(Form3->BitBtn1, "説\xE3\x80\x80明", {398, 170, 63, 23}, "BitBtn1");
  ExpectPlace(Form3->Shape2, {468, 142, 131, 53}, "Shape2");
  EXPECT_TRUE(Form3->Shape2->Filled());
  EXPECT_EQ(Form3->Shape2->Brush(), kGray);
  ExpectCaption(Form3->Button1, "設定完了", {476, 148, 115, 41}, "Button1");
}

TEST_F(LayoutTest, ErrorAndReadmeWindows) {
  app.CreateForm(Form5);
  // "ＺＵＫ", an ordinary blank, then half-width katakana.
  ExpectWindow(Form5,
               "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB \xEF\xBD\xBD\xEF\xBD\xB8\xEF\xBE\x98\xEF\xBD\xB0"
               "\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBD\xB0\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBD\xB0"
               "のエラーメッセージ",
               345, 115);
  EXPECT_EQ(Form5->Window()->color(), fl_rgb_color(255, 255, 128));
  const auto* label = static_cast<const TLabel*>(Form5->Label1Widget());
  ExpectLabel(label, "", {12, 34, 321, 35}, kRed, "Label1");
  EXPECT_EQ(label->labelsize(), 15);
  ExpectCaption(Form5->Button1Widget(), "閉じる", {264, 82, 67, 25}, "Button1");
  EXPECT_FALSE(Form5->TimerEnabled());

  app.CreateForm(Form4);
  ExpectWindow(Form4, "説明", 316, 414);
  ExpectPlace(Form4->Memo1, {12, 14, 291, 357}, "Memo1");
  EXPECT_EQ(Form4->MemoText(), "");
  ExpectCaption(Form4->Button1, "閉じる", {202, 382, 73, 25}, "Button1");
}

}  // namespace
