// Every text of the windows shows whole, in Japanese and English, at factor
// 1 and 2: measured in the font and size it is drawn in (broken into lines
// where its control breaks it), within what its control's box leaves it.
#include <gtest/gtest.h>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "base/catalogue.h"
#include "config/settings.h"
#include "game/world_state.h"
#include "shell/ui_scale.h"
#include "support/file_bytes.h"
#include "support/languages.h"
#include "ui/error_window.h"
#include "ui/memo_wrap.h"
#include "ui/readme_text.h"
#include "ui/game_window.h"
#include "ui/readme_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"
#include "ui/text_fit.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"

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

// Each window in each language and factor, made and then destroyed, handed
// to `check` with where it is ("readme, English, factor 2").
class TextFitTest : public UiTest {
 protected:
  void ForEachWindow(const std::function<void(Fl_Window&, const std::string&)>& check) {
    ASSERT_TRUE(LoadDialogFont());
    ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
    std::unique_ptr<GameWindow> startup;
    std::unique_ptr<Fl_Window> box;  // sizes itself, within the screen
    const auto longError = [] {
      return Fill(Tr("データファイルのフォルダ名に改行などの制御文字が含まれているため、設定ファイルに記録できません: %s"),
                  {"/home/someone/zuk_rer1"});
    };
    const auto errorWith = [&](const std::string& text) {
      World().ErrorText = text;
      app.CreateForm(ErrorForm)->FormActivate();
      return ErrorForm->Window();
    };
    const std::pair<const char*, std::function<Fl_Window*()>> windows[] = {
        {"settings", [&] { return app.CreateForm(SettingsForm)->Window(); }},
        {"setup", [&] { return app.CreateForm(SetupForm)->Window(); }},
        {"readme", [&] { return app.CreateForm(ReadmeForm)->Window(); }},
        {"error, typical", [&] { return errorWith(Tr("PAL256.PALがありません。")); }},
        {"error, long", [&] { return errorWith(longError()); }},
        {"start-up", [&] { return (startup = std::make_unique<GameWindow>(World(), false))->Window(); }},
        {"message box", [&] {
           return (box = MakeMessageBox("", longError() + "\n" + Tr("セットアップは完了していません。"), 1)).get();
         }},
    };
    for (const std::string& language : testsupport::BuildLanguages()) {
      UseLanguage({language});
      for (const char* scale : {"1", "2"}) {
        testsupport::SetEnvironment("GDK_SCALE", scale);
        ForgetUiScale();
        for (const auto& [name, make] : windows) {
          Fl_Window* window = make();
          check(*window, std::string(name) + ", " + language + ", factor " + scale);
          EXPECT_TRUE(window != box.get() || window->w() <= Fl::w()) << name << ": wider than the screen";
          app.DestroyForms();
          startup.reset();
          box.reset();
        }
      }
    }
    UseLanguage({"C"});
    testsupport::SetEnvironment("GDK_SCALE", nullptr);
    ForgetUiScale();
  }
};

TEST_F(TextFitTest, EveryWindowShowsItsTextsWholeInEachLanguageAndScale) {
  ForEachWindow([](Fl_Window& window, const std::string& where) { ExpectAllFit(window, where); });
}

// A w x h picture (RGB) drawn by `draw` over white.
std::vector<uint8_t> Drawn(int w, int h, const std::function<void(Fl_Image_Surface&)>& draw) {
  Fl_Image_Surface surface(w, h);
  surface.set_current();
  fl_color(FL_WHITE);
  fl_rectf(0, 0, w, h);
  draw(surface);
  std::unique_ptr<Fl_RGB_Image> image(surface.image());
  Fl_Display_Device::display_device()->set_current();
  const auto* bytes = reinterpret_cast<const uint8_t*>(image->data()[0]);
  return std::vector<uint8_t>(bytes, bytes + static_cast<size_t>(w) * h * 3);
}

// The rows in which two pictures of width w differ.
std::set<int> RowsThatDiffer(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int w) {
  std::set<int> rows;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) rows.insert(static_cast<int>(i / (static_cast<size_t>(w) * 3)));
  return rows;
}

bool HasText(const Fl_Widget& c) {
  const auto* label = dynamic_cast<const Label*>(&c);
  if (dynamic_cast<const Fl_Text_Display*>(&c) != nullptr) return true;
  return label != nullptr ? !label->Caption().empty() : c.label() != nullptr && *c.label() != '\0';
}

void SetTextColour(Fl_Widget& c, Fl_Color colour) {
  if (auto* memo = dynamic_cast<Memo*>(&c)) {
    memo->textcolor(colour);
    memo->SetText(memo->Text());  // the styles take the colour anew
  } else {
    c.labelcolor(colour);
  }
}

// The rows the widget's text covers as its window draws it: those that
// change when only the text's colour does.
std::set<int> RowsInWindow(Fl_Window& window, Fl_Widget& c) {
  const auto shot = [&](Fl_Color colour) {
    SetTextColour(c, colour);
    return Drawn(window.w(), window.h(), [&](Fl_Image_Surface& s) { s.draw(&window, 0, 0); });
  };
  const std::vector<uint8_t> red = shot(FL_RED);
  return RowsThatDiffer(red, shot(FL_BLUE), window.w());
}

// The rows the same text covers drawn alone and unclipped, in the widget's
// font, size and line breaks.
std::set<int> RowsAlone(const Fl_Widget& c, const std::string& text) {
  const auto* memo = dynamic_cast<const Fl_Text_Display*>(&c);
  const int size = memo != nullptr ? memo->textsize() : c.labelsize();
  const int w = std::max(c.w(), 8 * size), h = 4 * size + c.h() * 2;
  const std::vector<uint8_t> white = Drawn(w, h, [](Fl_Image_Surface&) {});
  return RowsThatDiffer(white, Drawn(w, h, [&](Fl_Image_Surface&) {
    fl_font(memo != nullptr ? memo->textfont() : c.labelfont(), size);
    fl_color(FL_BLACK);
    const auto* label = dynamic_cast<const Label*>(&c);
    const bool wrap = label != nullptr ? label->WordWrap() : (c.align() & FL_ALIGN_WRAP) != 0;
    const Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_LEFT | FL_ALIGN_INSIDE | (wrap ? FL_ALIGN_WRAP : 0);
    fl_draw(text.c_str(), 0, size, c.w(), h - 2 * size, align, DrawTextRun, nullptr, 0);
  }), w);
}

std::string Caption(const Fl_Widget& c) {
  const auto* label = dynamic_cast<const Label*>(&c);
  return label != nullptr ? label->Caption() : c.label();
}

// A text shows whole when its window draws as many rows of it as it covers
// alone (nothing clips or covers a row); a widget that draws a box (a
// button) holds its text within it, others draw theirs over the window.
void ExpectInkWhole(Fl_Window& window, Fl_Widget& c, const std::string& text, const std::string& where) {
  const std::set<int> drawn = RowsInWindow(window, c);
  EXPECT_EQ(drawn.size(), RowsAlone(c, text).size()) << where << ": \"" << text << "\" is cut";
  if (drawn.empty() || c.box() == FL_NO_BOX || c.as_window() != nullptr) return;
  const int top = c.y() - (c.as_window() != nullptr ? c.y() : 0);
  EXPECT_TRUE(*drawn.begin() >= top && *drawn.rbegin() < top + c.h())
      << where << ": \"" << text << "\" covers rows " << *drawn.begin() << " to " << *drawn.rbegin()
      << ", its box " << top << " to " << top + c.h() - 1;
}

// The memo's text: every character of this language's readme, a few at a
// time (the line height is the same for every line).
void ExpectMemoLinesWhole(Fl_Window& window, Memo& memo, const std::string& where) {
  const std::string text = ReadmeTextFromBytes(ReadBytes(std::filesystem::path(ZUK_BINARY_DIR) / "data" / Tr("readme.txt")));
  std::set<std::string> characters;
  for (size_t i = 0, n = 1; i < text.size(); i += n) {
    n = static_cast<size_t>(std::max(1, fl_utf8len1(text[i])));
    if (static_cast<unsigned char>(text[i]) > ' ') characters.insert(text.substr(i, n));
  }
  std::string line;
  for (auto it = characters.begin(); it != characters.end(); ++it) {
    line += *it;
    if (line.size() < 24 && std::next(it) != characters.end()) continue;
    memo.SetText(line);
    ExpectInkWhole(window, memo, line, where);
    line.clear();
  }
}

void ExpectAllInkWhole(Fl_Window& window, Fl_Widget& c, const std::string& where) {
  if (auto* memo = dynamic_cast<Memo*>(&c)) {
    ExpectMemoLinesWhole(window, *memo, where);
  } else if (HasText(c) && c.as_window() == nullptr) {
    ExpectInkWhole(window, c, Caption(c), where);
  }
  if (Fl_Group* g = c.as_group()) {
    for (int i = 0; i < g->children(); ++i) ExpectAllInkWhole(window, *g->child(i), where);
  }
}

}  // namespace

namespace {

// No glyph is cut at the top or bottom of its line: each text drawn in its
// window covers the rows it covers alone (descenders, accents, full-width
// forms), inside its widget's box.
TEST_F(TextFitTest, EveryWindowDrawsEachGlyphWhole) {
  ForEachWindow([](Fl_Window& window, const std::string& where) {
    window.show();
    Settle();
    ExpectAllInkWhole(window, window, where);
  });
}

}  // namespace
