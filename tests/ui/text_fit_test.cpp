// Every text of the windows shows whole, in Japanese and English, at the
// factors 1, 1.25, 1.5 and 2 (fonts grow by the factor, not always in step
// with the boxes, which FLTK scales): measured in the font and size it is
// drawn in (broken into lines where its control breaks it), within what its
// control's box leaves it. The Japanese windows keep one layout at every
// factor.
#include <gtest/gtest.h>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "base/catalogue.h"
#include "config/settings.h"
#include "game/world_state.h"
#include "shell/ui_scale.h"
#include "support/languages.h"
#include "ui/error_window.h"
#include "ui/game_window.h"
#include "ui/readme_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"
#include "ui/text_fit.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/window_tour.h"

using namespace uitest;

namespace {

// The design's labels wider than their boxes (Japanese and untranslated
// texts keep the design), drawn unclipped with nothing beside them: under the
// picture, the track bar's ends and count, the start-up line, setup's Windows lines.
const std::set<std::string> kDesignedWider = {
    "ZUK-SOFT", "1個", "50個", "10", "ZUK スクリーンセーバー起動",
    "下の「セットアップ開始」ボタンを押した後、「画面のプロパティ」で", "スクリーンセーバー「zuk_rer1」を選んで下さい。"};

// The text measured as drawn (a label's caption without FLTK's symbols)
// within what the box leaves it (less a check box's indicator, a button's
// frame); its last line needs its font size, not the line gap under it.
void ExpectFits(const Fl_Widget& c, const std::string& where) {
  const auto* label = dynamic_cast<const Label*>(&c);
  const std::string text = label != nullptr ? label->Caption() : c.label() != nullptr ? c.label() : "";
  if (text.empty() || kDesignedWider.count(text) != 0 || dynamic_cast<const Fl_Text_Display*>(&c) != nullptr) return;
  const bool wrapped = label != nullptr ? label->WordWrap() : (c.align() & FL_ALIGN_WRAP) != 0;
  const int roomW = TextRoom(c), roomH = c.h() - Fl::box_dh(c.box());
  fl_font(c.labelfont(), c.labelsize());
  int w = wrapped ? roomW : 0, h = 0;
  fl_measure(text.c_str(), w, h, label == nullptr);
  h -= fl_height() - c.labelsize();
  EXPECT_TRUE(w <= roomW && h <= roomH)
      << where << ": \"" << text << "\" needs " << w << " x " << h << ", has " << roomW << " x " << roomH;
}

// The window's and every control's place and size, in FLTK's units.
void AddPlaces(const Fl_Widget& w, std::vector<std::array<int, 4>>& places) {
  places.push_back({w.x(), w.y(), w.w(), w.h()});
  if (const Fl_Group* g = const_cast<Fl_Widget&>(w).as_group()) {
    for (int i = 0; i < g->children(); ++i) AddPlaces(*g->child(i), places);
  }
}

void ExpectAllFit(Fl_Widget& w, const std::string& where) {
  ExpectFits(w, where);
  if (Fl_Group* g = w.as_group()) {
    for (int i = 0; i < g->children(); ++i) ExpectAllFit(*g->child(i), where);
  }
}

TEST_F(TextFitTest, EveryWindowShowsItsTextsWholeInEachLanguageAndScale) {
  // The Japanese layout is the design's at every factor: FLTK scales it.
  // The message box and a long error grow with their text's lines, whose
  // height in FLTK's units the fonts round differently at each factor.
  const std::set<std::string> sizedByText = {"error, long", "message box"};
  std::map<std::string, std::vector<std::array<int, 4>>> japaneseAtOne;
  ForEachWindow(
      [&](Fl_Window& window, const TourStop& at) {
        ExpectAllFit(window, at.where);
        if (at.language != "ja" || sizedByText.count(at.window) != 0) return;
        std::vector<std::array<int, 4>> places;
        AddPlaces(window, places);
        if (at.scale == 1) japaneseAtOne[at.window] = places;
        EXPECT_EQ(places, japaneseAtOne[at.window]) << at.where << ": laid out otherwise than at factor 1";
      },
      {1.0f, 1.25f, 1.5f, 2.0f});
}

}  // namespace
