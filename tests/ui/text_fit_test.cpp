// Every text of the windows shows whole, in Japanese and in English, at
// factor 1 and 2: each control's text, measured in the font and size it is
// drawn in (broken into lines where the control breaks it), within what
// the control's box leaves for it.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "base/catalogue.h"
#include "config/settings.h"
#include "game/world_state.h"
#include "shell/ui_scale.h"
#include "ui/error_window.h"
#include "ui/game_window.h"
#include "ui/readme_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"

using namespace uitest;

namespace {

// Texts of the design tables wider than their boxes: labels, drawn
// unclipped, with nothing beside them, so the whole text shows. The
// translations are fitted; the Japanese windows and the texts that are not
// translated stay as designed.
const std::set<std::string> kDesignedWider = {
    "ZUK-SOFT",                 // under the picture, a pixel at some factors
    "1個", "50個", "10",         // settings: the track bar's ends, the count in its frame
    "ZUK スクリーンセーバー起動",  // the start-up window, 19 points
    "下の「セットアップ開始」ボタンを押した後、「画面のプロパティ」で",  // setup, Windows
};

struct Room {
  int w, h;
};

// What the box leaves for the text, as FLTK 1.3 draws each kind: a label
// all of it; a check box less its indicator (a label-size square with 2
// pixels either side) and frame; other widgets less their frame, and 3
// pixels each side of a text aligned to a side.
Room RoomOf(const Fl_Widget& c) {
  if (dynamic_cast<const Label*>(&c) != nullptr) return {c.w(), c.h()};
  const int h = c.h() - Fl::box_dh(c.box());
  if (dynamic_cast<const Fl_Light_Button*>(&c) != nullptr) return {c.w() - Fl::box_dw(c.box()) - c.labelsize() - 4, h};
  const int w = c.w() - Fl::box_dw(c.box());
  return {w > 11 && (c.align() & (FL_ALIGN_LEFT | FL_ALIGN_RIGHT)) ? w - 6 : w, h};
}

// The text's size as drawn; the last line needs its font size, not the
// line gap under it.
Room Measured(const Fl_Widget& c, const std::string& text, bool wrapped, bool symbols) {
  fl_font(c.labelfont(), c.labelsize());
  int w = wrapped ? RoomOf(c).w : 0, h = 0;
  fl_measure(text.c_str(), w, h, symbols);
  return {w, h - (fl_height() - c.labelsize())};
}

void ExpectFits(const Fl_Widget& c, const std::string& where) {
  const auto* label = dynamic_cast<const Label*>(&c);
  const std::string text = label != nullptr ? label->Caption() : c.label() != nullptr ? c.label() : "";
  if (text.empty() || dynamic_cast<const Fl_Text_Display*>(&c) != nullptr) return;
  const bool wrapped = label != nullptr ? label->WordWrap() : (c.align() & FL_ALIGN_WRAP) != 0;
  const Room need = Measured(c, text, wrapped, label == nullptr);
  const Room room = RoomOf(c);
  if (kDesignedWider.count(text) != 0) return;
  EXPECT_TRUE(need.w <= room.w && need.h <= room.h)
      << where << ": \"" << text << "\" needs " << need.w << " x " << need.h << ", has " << room.w << " x " << room.h;
}

void ExpectAllFit(Fl_Widget& w, const std::string& where) {
  ExpectFits(w, where);
  if (Fl_Group* g = w.as_group()) {
    for (int i = 0; i < g->children(); ++i) ExpectAllFit(*g->child(i), where);
  }
}

class TextFitTest : public UiTest {
 protected:
  void TearDown() override {
    UseLanguage({"C"});
    testsupport::SetEnvironment("GDK_SCALE", nullptr);
    ForgetUiScale();
    UiTest::TearDown();
  }
  Fl_Window* ErrorWindowWith(const std::string& text) {
    app.CreateForm(ErrorForm);
    World().ErrorText = text;
    ErrorForm->FormActivate();
    return ErrorForm->Window();
  }
  Fl_Window* StartupWindow() {
    startup_ = std::make_unique<GameWindow>(World(), false);
    return startup_->Window();
  }
  Fl_Window* MessageBoxWith(const std::string& text, int kind) {
    box_ = MakeMessageBox(Tr("ＺＵＫスクリーンセーバーＮｏ．１"), text, kind);
    return box_.get();
  }

  std::unique_ptr<GameWindow> startup_;
  std::unique_ptr<Fl_Window> box_;
};

TEST_F(TextFitTest, EveryWindowShowsItsTextsWholeInEachLanguageAndScale) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  const std::string folder = "/home/someone/zuk_rer1";
  const std::function<std::string()> longError = [&] {
    return Fill(Tr("データファイルのフォルダ名に改行などの制御文字が含まれているため、設定ファイルに記録できません: %s"),
                {folder});
  };
  const std::pair<const char*, std::function<Fl_Window*()>> windows[] = {
      {"settings", [&] { return app.CreateForm(SettingsForm)->Window(); }},
      {"setup", [&] { return app.CreateForm(SetupForm)->Window(); }},
      {"readme", [&] { return app.CreateForm(ReadmeForm)->Window(); }},
      {"error, typical", [&] { return ErrorWindowWith(Tr("PAL256.PALがありません。")); }},
      {"error, long", [&] { return ErrorWindowWith(longError()); }},
      {"start-up", [&] { return StartupWindow(); }},
      {"message box, setup", [&] { return MessageBoxWith(longError() + "\n" + Tr("セットアップは完了していません。"), 0); }},
      {"message box, error",
       [&] { return MessageBoxWith(Fill(Tr("ファイル %s に書き込めません（%s）"), {folder, "Permission denied"}), 1); }},
  };
  for (const char* language : {"C", "en"}) {
    UseLanguage({language});
    for (const char* scale : {"1", "2"}) {
      testsupport::SetEnvironment("GDK_SCALE", scale);
      ForgetUiScale();
      for (const auto& [name, make] : windows) {
        const std::string where =
            std::string(name) + ", " + (LanguageInUse().empty() ? "Japanese" : "English") + ", factor " + scale;
        Fl_Window* window = make();
        ExpectAllFit(*window, where);
        // The message boxes size themselves, within the screen (the fixed
        // windows at factor 2 are wider than this test's screen).
        if (where.rfind("message box", 0) == 0) {
          EXPECT_LE(window->w(), Fl::w()) << where << ": wider than the screen";
        }
        app.DestroyForms();
        startup_.reset();
        box_.reset();
      }
    }
  }
}

}  // namespace
