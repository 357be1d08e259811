#include "shell/fonts.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "base/catalogue.h"
#include "base/text_wrap.h"

namespace {

// Calls `plain(from, count)` for each run without a backslash and
// `backslash()` for each backslash, in order.
template <typename Plain, typename Backslash>
void ForEachRun(const char* text, int n, Plain plain, Backslash backslash) {
  int start = 0;
  for (int i = 0; i <= n; ++i) {
    if (i < n && text[i] != '\\') continue;
    if (i > start) plain(text + start, i - start);
    if (i < n) backslash();
    start = i + 1;
  }
}

bool HasBackslash(const char* text, int n) { return std::find(text, text + n, '\\') != text + n; }

// fl_width of one backslash in the Latin face at the current size, the
// current font kept.
double LatinBackslashWidth() {
  const Fl_Font font = fl_font();
  const Fl_Fontsize size = fl_size();
  fl_font(kLatin, size);
  const double width = fl_width("\\", 1);
  fl_font(font, size);
  return width;
}

}  // namespace

void InitFonts() {
  Fl::set_font(kGothic, FaceName(Face::Gothic));
  Fl::set_font(kGothicBold, FaceName(Face::GothicBold));
  Fl::set_font(kLatin, FaceName(Face::Latin));
}

std::string BrokenAt(std::string_view text, int width) {
  return WrapText(text, width, [](std::string_view ch) { return TextWidth(ch.data(), static_cast<int>(ch.size())); });
}

bool BackslashesApart() { return !LanguageInUse().empty(); }

double TextWidth(const char* text, int n) {
  if (!BackslashesApart() || !HasBackslash(text, n)) return fl_width(text, n);
  double width = 0;
  ForEachRun(text, n, [&](const char* run, int count) { width += fl_width(run, count); },
             [&] { width += LatinBackslashWidth(); });
  return width;
}

void DrawTextRun(const char* text, int n, int x, int y) {
  if (!BackslashesApart() || !HasBackslash(text, n)) {
    fl_draw(text, n, x, y);
    return;
  }
  double at = x;
  const Fl_Font font = fl_font();
  const Fl_Fontsize size = fl_size();
  auto plain = [&](const char* run, int count) {
    fl_draw(run, count, static_cast<int>(at + 0.5), y);
    at += fl_width(run, count);
  };
  auto backslash = [&] {
    fl_font(kLatin, size);
    fl_draw("\\", 1, static_cast<int>(at + 0.5), y);
    at += fl_width("\\", 1);
    fl_font(font, size);
  };
  ForEachRun(text, n, plain, backslash);
}

void MeasureText(const std::string& text, int& w, int& h) {
  if (!BackslashesApart() || !HasBackslash(text.data(), static_cast<int>(text.size()))) {
    fl_measure(text.c_str(), w, h, 0);
    return;
  }
  w = 0;
  int lines = 0;
  for (size_t start = 0; start <= text.size(); ++lines) {
    const size_t end = std::min(text.find('\n', start), text.size());
    w = std::max(w, static_cast<int>(TextWidth(text.data() + start, static_cast<int>(end - start))));
    start = end + 1;
  }
  h = lines * fl_height();
}
