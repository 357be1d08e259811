// No glyph is cut at the top or bottom of its line, in any window, language
// or factor: each text as its window draws it (on the X server, which draws
// a window wider than the screen whole) covers the rows it covers alone.
#include <gtest/gtest.h>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include "shell/fonts.h"
#include "support/file_bytes.h"
#include "ui/memo_wrap.h"
#include "ui/readme_text.h"
#include "ui/ui_controls.h"
#include "ui/window_tour.h"

using namespace uitest;

namespace {

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

// No glyph is cut at the top or bottom of its line: each text drawn in its
// window covers the rows it covers alone (descenders, accents, full-width
// forms), inside its widget's box.
TEST_F(TextFitTest, EveryWindowDrawsEachGlyphWhole) {
  ForEachWindow([](Fl_Window& window, const TourStop& at) {
    window.show();
    Settle();
    ExpectAllInkWhole(window, window, at.where);
  });
}


}  // namespace
