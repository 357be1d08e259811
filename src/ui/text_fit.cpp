#include "ui/text_fit.h"

#include <FL/Fl.H>
#include <FL/Fl_Light_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "base/catalogue.h"
#include "shell/fonts.h"
#include "ui/ui_controls.h"

namespace {

// The text as drawn: a label's caption as it is, other widgets' label with
// FLTK's symbols.
const char* TextOf(const Fl_Widget& w, int& symbols) {
  const auto* label = dynamic_cast<const Label*>(&w);
  symbols = label != nullptr ? 0 : 1;
  if (label != nullptr) return label->Caption().c_str();
  return w.label() != nullptr ? w.label() : "";
}

// The text's size, broken into lines at `wrap` when it is above 0.
void Measure(const Fl_Widget& w, int wrap, int& tw, int& th) {
  int symbols = 0;
  const char* text = TextOf(w, symbols);
  fl_font(w.labelfont(), w.labelsize());
  tw = wrap;
  th = 0;
  fl_measure(text, tw, th, symbols);
}

}  // namespace

bool TextsTranslated() { return !LanguageInUse().empty(); }

int TextWidth(const Fl_Widget& w) {
  int tw = 0, th = 0;
  Measure(w, 0, tw, th);
  return tw;
}

int TextRoom(const Fl_Widget& w) {
  if (dynamic_cast<const Label*>(&w) != nullptr) return w.w();
  const int frame = Fl::box_dx(w.box());
  // Fl_Light_Button::draw: the indicator, a label size square, 2 pixels
  // either side of it.
  if (dynamic_cast<const Fl_Light_Button*>(&w) != nullptr) return w.w() - 2 * frame - w.labelsize() - 4;
  const int room = w.w() - Fl::box_dw(w.box());
  // Fl_Widget::draw_label: 3 pixels each side of a text aligned to a side.
  return room > 11 && (w.align() & (FL_ALIGN_LEFT | FL_ALIGN_RIGHT)) ? room - 6 : room;
}

bool Widen(Fl_Widget& w, GrowToward side, int limit) {
  const int need = TextWidth(w) - TextRoom(w);
  if (need <= 0) return true;
  const int edge = limit;
  if (side == GrowToward::Right) {
    const int width = std::min(w.w() + need, edge - w.x());
    w.resize(w.x(), w.y(), std::max(width, w.w()), w.h());
  } else {
    const int left = std::min(w.x(), std::max(w.x() - need, edge));
    w.resize(left, w.y(), w.w() + w.x() - left, w.h());
  }
  return TextWidth(w) <= TextRoom(w);
}

void FitLabel(Label& l, int limit) {
  if (Widen(l, GrowToward::Right, limit)) return;
  l.SetWordWrap(true);
  BreakIntoLines(l);
}

int BreakIntoLines(Label& l) {
  fl_font(l.labelfont(), l.labelsize());
  l.SetCaption(BrokenAt(l.Caption(), l.w()));
  int tw = 0, th = 0;
  Measure(l, l.w(), tw, th);
  const int grow = std::max(0, th - l.h());
  l.size(l.w(), l.h() + grow);
  return grow;
}
