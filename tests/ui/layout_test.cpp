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
#include "ui/setup_text.h"
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

void ExpectLabel(const Label* l, const std::string& text, Place p, Fl_Color colour,
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

void ExpectWindow(Form* f, const std::string& caption, int w, int h) {
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
  app.CreateForm(SetupForm);
  ExpectWindow(SetupForm, "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB"  // ＺＵＫ
                      "スクリーンセーバー Ver1.91\xE3\x80\x80セットアップ",
               572, 185);
  ExpectPlace(SetupForm->Picture, {14, 12, 198, 132}, "Picture");
  ExpectLabel(SetupForm->MakerLabel, "ZUK-SOFT", {88, 149, 59, 12}, kNavy, "MakerLabel");
  // The system's own lines (where its screen savers are picked).
  ExpectLabel(SetupForm->PickLabel, kPickScreenSaverText, {228, 13, 322, 12}, kMaroon, "PickLabel");
  ExpectLabel(SetupForm->PickLabel2, kPickScreenSaverText2, {230, 33, 238, 12}, kMaroon, "PickLabel2");
  ExpectPlace(SetupForm->NoWarrantyLabel, {230, 88, 306, 12}, "NoWarrantyLabel");
  EXPECT_EQ(SetupForm->NoWarrantyLabel->labelcolor(), kGreen);
  ExpectLabel(SetupForm->NoWarrantyLabel2,
              "\xEF\xBC\x88まあ、保証しているソフトって、あんまり見たことないですね\xEF\xBC\x89",
              {238, 106, 306, 12}, kGreen, "NoWarrantyLabel2");
  ExpectCaption(SetupForm->ReadmeButton, "説\xE3\x80\x80明", {288, 140, 89, 29}, "ReadmeButton");
  ExpectPlace(SetupForm->ButtonFrame, {393, 132, 172, 45}, "ButtonFrame");
  EXPECT_TRUE(SetupForm->ButtonFrame->Filled());
  EXPECT_EQ(SetupForm->ButtonFrame->Brush(), kGray);
  ExpectCaption(SetupForm->InstallButton, "セットアップ開始", {400, 140, 157, 29}, "InstallButton");
  EXPECT_EQ(SetupForm->InstallButton->labelcolor(), kBlack);
}

TEST_F(LayoutTest, SettingsWindow) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  app.CreateForm(SettingsForm);
  ExpectWindow(SettingsForm, "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB" "スクリーンセーバー Ver 1.90", 610, 207);
  ExpectPlace(SettingsForm->Picture, {16, 16, 198, 132}, "Picture");
  ExpectLabel(SettingsForm->MakerLabel, "ZUK-SOFT", {79, 156, 82, 15}, kNavy, "MakerLabel");
  EXPECT_EQ(SettingsForm->MakerLabel->labelsize(), 15);
  EXPECT_EQ(SettingsForm->MakerLabel->labelfont(), DialogBoldFont());
  ExpectLabel(SettingsForm->MeteorCountCaption, "隕石の数の最高数", {228, 24, 96, 12}, kBlack, "MeteorCountCaption");
  ExpectLabel(SettingsForm->MeteorCountLabel, "10", {338, 24, 12, 12}, kMaroon, "MeteorCountLabel");
  ExpectPlace(SettingsForm->MeteorCountFrame, {332, 18, 25, 23}, "MeteorCountFrame");
  EXPECT_FALSE(SettingsForm->MeteorCountFrame->Filled());
  EXPECT_EQ(SettingsForm->MeteorCountFrame->Pen(), kGray);
  ExpectLabel(SettingsForm->MeteorCountMin, "1個", {362, 6, 18, 12}, kBlack, "MeteorCountMin");
  ExpectLabel(SettingsForm->MeteorCountMax, "50個", {554, 6, 24, 12}, kBlack, "MeteorCountMax");
  ExpectLabel(SettingsForm->SlowMachineLabel, "低速マシン", {342, 50, 56, 12}, kGray, "SlowMachineLabel");
  ExpectLabel(SettingsForm->FastMachineLabel, "高速マシン", {530, 50, 56, 12}, kGray, "FastMachineLabel");
  ExpectLabel(SettingsForm->VolumeCaption, "効果音の音量設定", {228, 88, 96, 12}, kBlack, "VolumeCaption");
  ExpectLabel(SettingsForm->VolumeMin, "小", {362, 70, 12, 12}, kBlack, "VolumeMin");
  ExpectLabel(SettingsForm->VolumeMax, "大", {556, 72, 12, 12}, kBlack, "VolumeMax");

  struct Bar {
    TrackBar* bar;
    Place place;
    int position;
    const char* name;
  };
  for (const Bar& b : {Bar{SettingsForm->MeteorCountBar, {360, 18, 211, 29}, 10, "MeteorCountBar"},
                       Bar{SettingsForm->VolumeBar, {362, 84, 211, 29}, 50, "VolumeBar"}}) {
    ExpectPlace(b.bar, b.place, b.name);
    EXPECT_EQ(b.bar->Min(), 1) << b.name;
    EXPECT_EQ(b.bar->Max(), 50) << b.name;
    EXPECT_EQ(b.bar->Position(), b.position) << b.name;
    EXPECT_EQ(b.bar->LineSize, 5) << b.name;
    EXPECT_EQ(b.bar->PageSize, 5) << b.name;
    EXPECT_EQ(b.bar->Frequency, 5) << b.name;
  }

  ExpectCaption(SettingsForm->SoundBox, "効果音を出す。", {224, 109, 239, 27}, "SoundBox");
  ExpectCaption(SettingsForm->AutopilotBox, "起動時は自動操縦にする", {224, 129, 167, 27}, "AutopilotBox");
  ExpectCaption(SettingsForm->JoystickBox, "ジョイステイックを使用する", {224, 148, 167, 27}, "JoystickBox");
  ExpectCaption(SettingsForm->LongGameBox, "ゲーム時間の延長", {224, 171, 139, 17}, "LongGameBox");
  ExpectCaption(SettingsForm->ReadmeButton, "説\xE3\x80\x80明", {398, 170, 63, 23}, "ReadmeButton");
  ExpectPlace(SettingsForm->ButtonFrame, {468, 142, 131, 53}, "ButtonFrame");
  EXPECT_TRUE(SettingsForm->ButtonFrame->Filled());
  EXPECT_EQ(SettingsForm->ButtonFrame->Brush(), kGray);
  ExpectCaption(SettingsForm->SaveButton, "設定完了", {476, 148, 115, 41}, "SaveButton");
}

TEST_F(LayoutTest, ErrorAndReadmeWindows) {
  app.CreateForm(ErrorForm);
  // "ＺＵＫ", an ordinary blank, then half-width katakana.
  ExpectWindow(ErrorForm,
               "\xEF\xBC\xBA\xEF\xBC\xB5\xEF\xBC\xAB \xEF\xBD\xBD\xEF\xBD\xB8\xEF\xBE\x98\xEF\xBD\xB0"
               "\xEF\xBE\x9D\xEF\xBD\xBE\xEF\xBD\xB0\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBD\xB0"
               "のエラーメッセージ",
               345, 115);
  EXPECT_EQ(ErrorForm->Window()->color(), fl_rgb_color(255, 255, 128));
  const auto* label = static_cast<const Label*>(ErrorForm->MessageWidget());
  ExpectLabel(label, "", {12, 34, 321, 35}, kRed, "MessageWidget");
  EXPECT_EQ(label->labelsize(), 15);
  ExpectCaption(ErrorForm->CloseButtonWidget(), "閉じる", {264, 82, 67, 25}, "CloseButton");
  EXPECT_FALSE(ErrorForm->TimerEnabled());

  app.CreateForm(ReadmeForm);
  ExpectWindow(ReadmeForm, "説明", 316, 414);
  ExpectPlace(ReadmeForm->TextArea, {12, 14, 291, 357}, "TextArea");
  EXPECT_EQ(ReadmeForm->DisplayedText(), "");
  ExpectCaption(ReadmeForm->CloseButton, "閉じる", {202, 382, 73, 25}, "CloseButton");
}

}  // namespace
