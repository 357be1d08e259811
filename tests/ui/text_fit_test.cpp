// Every text of the windows shows whole, in Japanese and English, at factor
// 1 and 2: measured in the font and size it is drawn in (broken into lines
// where its control breaks it), within what its control's box leaves it.
#include <gtest/gtest.h>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <functional>
#include <memory>
#include <set>

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

// The design's labels wider than their boxes, drawn unclipped with nothing
// beside them: the whole text shows. Japanese and untranslated texts keep
// the design; the translations are fitted.
const std::set<std::string> kDesignedWider = {
    "ZUK-SOFT",                 // under the picture, a pixel at some factors
    "1個", "50個", "10",         // settings: the track bar's ends, the count in its frame
    "ZUK スクリーンセーバー起動",  // the start-up window, 19 points
    "下の「セットアップ開始」ボタンを押した後、「画面のプロパティ」で",  // setup, Windows:
    "スクリーンセーバー「zuk_rer1」を選んで下さい。",                   // both lines
};

struct Room { int w, h; };

// What the box leaves for the text, as FLTK 1.3 draws: a label all; a check
// box less its frame and indicator (a label-size square, 2 pixels either
// side); others less their frame, and 3 pixels each side of a side-aligned text.
Room RoomOf(const Fl_Widget& c) {
  if (dynamic_cast<const Label*>(&c) != nullptr) return {c.w(), c.h()};
  const int h = c.h() - Fl::box_dh(c.box());
  if (dynamic_cast<const Fl_Light_Button*>(&c) != nullptr) return {c.w() - Fl::box_dw(c.box()) - c.labelsize() - 4, h};
  const int w = c.w() - Fl::box_dw(c.box());
  return {w > 11 && (c.align() & (FL_ALIGN_LEFT | FL_ALIGN_RIGHT)) ? w - 6 : w, h};
}

// The text measured as drawn: a label's caption without FLTK's symbols.
// Its last line needs its font size, not the line gap under it.
void ExpectFits(const Fl_Widget& c, const std::string& where) {
  const auto* label = dynamic_cast<const Label*>(&c);
  const std::string text = label != nullptr ? label->Caption() : c.label() != nullptr ? c.label() : "";
  if (text.empty() || kDesignedWider.count(text) != 0 || dynamic_cast<const Fl_Text_Display*>(&c) != nullptr) return;
  const bool wrapped = label != nullptr ? label->WordWrap() : (c.align() & FL_ALIGN_WRAP) != 0;
  const Room room = RoomOf(c);
  fl_font(c.labelfont(), c.labelsize());
  int w = wrapped ? room.w : 0, h = 0;
  fl_measure(text.c_str(), w, h, label == nullptr);
  h -= fl_height() - c.labelsize();
  EXPECT_TRUE(w <= room.w && h <= room.h)
      << where << ": \"" << text << "\" needs " << w << " x " << h << ", has " << room.w << " x " << room.h;
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
};

TEST_F(TextFitTest, EveryWindowShowsItsTextsWholeInEachLanguageAndScale) {
  ASSERT_TRUE(LoadDialogFont());
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  std::unique_ptr<GameWindow> startup;
  std::unique_ptr<Fl_Window> box;  // the message boxes size themselves, within the screen
  const auto longError = [] {
    return Fill(Tr("データファイルのフォルダ名に改行などの制御文字が含まれているため、設定ファイルに記録できません: %s"),
                {"/home/someone/zuk_rer1"});
  };
  const auto errorWith = [&](const std::string& text) {
    World().ErrorText = text;
    app.CreateForm(ErrorForm)->FormActivate();
    return ErrorForm->Window();
  };
  const auto boxWith = [&](const std::string& text, int kind) {
    return (box = MakeMessageBox(Tr("ＺＵＫスクリーンセーバーＮｏ．１"), text, kind)).get();
  };
  const std::pair<const char*, std::function<Fl_Window*()>> windows[] = {
      {"settings", [&] { return app.CreateForm(SettingsForm)->Window(); }},
      {"setup", [&] { return app.CreateForm(SetupForm)->Window(); }},
      {"readme", [&] { return app.CreateForm(ReadmeForm)->Window(); }},
      {"error, typical", [&] { return errorWith(Tr("PAL256.PALがありません。")); }},
      {"error, long", [&] { return errorWith(longError()); }},
      {"start-up", [&] { return (startup = std::make_unique<GameWindow>(World(), false))->Window(); }},
      {"message box, setup", [&] { return boxWith(longError() + "\n" + Tr("セットアップは完了していません。"), 0); }},
      {"message box, error", [&] { return boxWith(Fill(Tr("ファイル %s に書き込めません（%s）"), {"/tmp/x", "?"}), 1); }},
  };
  for (const char* language : {"C", "en"}) {
    UseLanguage({language});
    for (const char* scale : {"1", "2"}) {
      testsupport::SetEnvironment("GDK_SCALE", scale);
      ForgetUiScale();
      for (const auto& [name, make] : windows) {
        const std::string where = std::string(name) + ", " + (*language == 'C' ? "Japanese" : "English") + ", factor " + scale;
        Fl_Window* window = make();
        ExpectAllFit(*window, where);
        EXPECT_TRUE(window != box.get() || window->w() <= Fl::w()) << where << ": wider than the screen";
        app.DestroyForms();
        startup.reset();
        box.reset();
      }
    }
  }
}

}  // namespace
