// Windows paths in a translation's texts: the Japanese face draws U+005C as
// a yen sign, which a Japanese reader keeps; a reader of a translation sees
// backslashes, drawn in the Latin face and measured as drawn.
#include <gtest/gtest.h>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <functional>
#include <vector>

#include "base/catalogue.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"

using namespace uitest;

namespace {

// A small window that shows what `paint` draws in black on white.
class Canvas : public Fl_Window {
 public:
  Canvas() : Fl_Window(0, 0, 48, 48) { end(); }
  std::vector<unsigned char> Drawn(std::function<void()> paint) {
    paint_ = std::move(paint);
    show();
    redraw();
    Settle(100);
    make_current();
    std::vector<unsigned char> rgb(static_cast<size_t>(w() * h() * 3));
    fl_read_image(rgb.data(), 0, 0, w(), h());
    return rgb;
  }
  void draw() override {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
    fl_color(FL_BLACK);
    if (paint_) paint_();
  }

 private:
  std::function<void()> paint_;
};

using BackslashTest = UiTest;

// At the sizes of the scales 1, 1.25, 1.5 and 2.
TEST_F(BackslashTest, ATranslationDrawsBackslashesInTheLatinFaceAndJapaneseInItsOwn) {
  ASSERT_TRUE(LoadDialogFont());
  Canvas canvas;
  for (const int size : {12, 15, 18, 24}) {
    SCOPED_TRACE(size);
    const auto in = [&](Fl_Font font, const std::function<void()>& paint) {
      return canvas.Drawn([&] {
        fl_font(font, size);
        paint();
      });
    };
    const auto backslash = [] { fl_draw("\\", 1, 4, 36); };
    const auto path = [] { DrawTextRun("\\", 1, 4, 36); };
    const auto yen = in(kGothic, backslash), latin = in(kLatin, backslash);
    ASSERT_NE(yen, latin) << "the two faces draw it alike";
    UseLanguage({"C"});
    EXPECT_EQ(in(kGothic, path), yen);
    fl_font(kGothic, size);
    EXPECT_DOUBLE_EQ(TextWidth("C:\\x", 4), fl_width("C:\\x", 4));
    UseLanguage({"en"});
    EXPECT_EQ(in(kGothic, path), latin);
    fl_font(kLatin, size);
    const double latinWidth = fl_width("\\", 1);
    fl_font(kGothic, size);
    EXPECT_DOUBLE_EQ(TextWidth("C:\\x", 4), fl_width("C:", 2) + latinWidth + fl_width("x", 1));
    int w = 0, h = 0;
    MeasureText("C:\\x\nab", w, h);
    EXPECT_EQ(w, static_cast<int>(TextWidth("C:\\x", 4)));
    EXPECT_EQ(h, 2 * fl_height());
  }
  UseLanguage({"C"});
}

// The readme's memo keeps each backslash in the Latin face through edits.
TEST_F(BackslashTest, TheMemoStylesEachBackslashOfATranslationAsItIsEdited) {
  UseLanguage({"en"});
  Memo memo(0, 0, 200, 100);
  memo.SetText("C:\\a");
  memo.buffer()->insert(1, "\\\\b");
  memo.buffer()->remove(0, 1);
  EXPECT_EQ(memo.Styles(), "BBAABA");  // "\\b:\a"
  UseLanguage({"C"});
  Memo japanese(0, 0, 200, 100);
  japanese.SetText("C:\\a");
  EXPECT_EQ(japanese.Styles(), "");
}

}  // namespace
