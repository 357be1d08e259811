#include "ui/memo_wrap.h"

#include <FL/Fl.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include "shell/fonts.h"

int TextAreaWidth(const Fl_Text_Display& display) {
  // Fl_Text_Display keeps 3 pixels free on either side of its text area.
  constexpr int kMargins = 3 + 3;
  const int scrollbar = display.scrollbar_width() > 0 ? display.scrollbar_width() : Fl::scrollbar_size();
  return display.w() - Fl::box_dw(display.box()) - kMargins - scrollbar;
}

std::string WrapForDisplay(const Fl_Text_Display& display, std::string_view text) {
  fl_font(display.textfont(), display.textsize());
  return BrokenAt(text, TextAreaWidth(display));
}
