// Every text of the windows shows whole, in Japanese and English, at factor
// 1 and 2: measured in the font and size it is drawn in (broken into lines
// where its control breaks it), within what its control's box leaves it.
#include <gtest/gtest.h>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <functional>
#include <memory>
#include <set>

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

void ExpectAllFit(Fl_Widget& w, const std::string& where) {
  ExpectFits(w, where);
  if (Fl_Group* g = w.as_group()) {
    for (int i = 0; i < g->children(); ++i) ExpectAllFit(*g->child(i), where);
  }
}

TEST_F(TextFitTest, EveryWindowShowsItsTextsWholeInEachLanguageAndScale) {
  ForEachWindow([](Fl_Window& window, const std::string& where) { ExpectAllFit(window, where); });
}

}  // namespace
