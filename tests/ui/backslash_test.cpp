// Windows paths in a translation's texts: the Japanese face draws U+005C as
// a yen sign, which a Japanese reader keeps; a reader of a translation sees
// backslashes, drawn in the Latin face and measured as drawn.
#include <gtest/gtest.h>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <vector>

#include "base/catalogue.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"

using namespace uitest;

namespace {

// A small window showing one backslash in black on white, drawn by `draw`
// in `font` at `size`.
struct Canvas : Fl_Window {
  Canvas() : Fl_Window(0, 0, 48, 48) { end(); }
  std::vector<unsigned char> Shown(Fl_Font f, int s, void (*d)(const char*, int, int, int)) {
    font = f, size = s, draw_ = d;
    show();
    redraw();
    Settle(100);
    make_current();
    std::vector<unsigned char> rgb(48 * 48 * 3);
    fl_read_image(rgb.data(), 0, 0, 48, 48);
    return rgb;
  }
  void draw() override {
    fl_rectf(0, 0, 48, 48, FL_WHITE);
    fl_color(FL_BLACK);
    fl_font(font, size);
    draw_("\\", 1, 4, 36);
  }
  Fl_Font font = kGothic;
  int size = 12;
  void (*draw_)(const char*, int, int, int) = fl_draw;
};

using BackslashTest = UiTest;

// At the sizes of the scales 1, 1.25, 1.5 and 2.
TEST_F(BackslashTest, ATranslationDrawsBackslashesInTheLatinFaceAndJapaneseInItsOwn) {
  ASSERT_TRUE(LoadDialogFont());
  Canvas canvas;
  for (const int size : {12, 15, 18, 24}) {
    const auto yen = canvas.Shown(kGothic, size, fl_draw), latin = canvas.Shown(kLatin, size, fl_draw);
    ASSERT_NE(yen, latin) << size << ": the two faces draw it alike";
    fl_font(kLatin, size);
    const double latinWidth = fl_width("\\", 1);
    for (const char* language : {"C", "en"}) {
      UseLanguage({language});
      const bool apart = *language == 'e';
      EXPECT_EQ(canvas.Shown(kGothic, size, DrawTextRun), apart ? latin : yen) << size << language;
      fl_font(kGothic, size);
      const double gothic = fl_width("C:", 2) + fl_width("x", 1);
      EXPECT_DOUBLE_EQ(TextWidth("C:\\x", 4), apart ? gothic + latinWidth : fl_width("C:\\x", 4));
      int w = 0, h = 0;
      MeasureText("C:\\x\nab", w, h);
      EXPECT_EQ(w, static_cast<int>(TextWidth("C:\\x", 4)));
      EXPECT_EQ(h, 2 * fl_height());
    }
  }
  UseLanguage({"C"});
}

// The readme's memo keeps each backslash of a translation in the Latin face
// through edits; Japanese has no styles.
TEST_F(BackslashTest, TheMemoStylesEachBackslashOfATranslationAsItIsEdited) {
  Memo japanese(0, 0, 200, 100);
  japanese.SetText("C:\\a");
  EXPECT_EQ(japanese.Styles(), "");
  UseLanguage({"en"});
  Memo memo(0, 0, 200, 100);
  memo.SetText("C:\\a");
  memo.buffer()->insert(1, "\\\\b");
  memo.buffer()->remove(0, 1);
  EXPECT_EQ(memo.Styles(), "BBAABA");  // "\\b:\a"
  UseLanguage({"C"});
}

}  // namespace
