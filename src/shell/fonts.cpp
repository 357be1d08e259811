#include "shell/fonts.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "base/text_wrap.h"

void InitFonts() {
  // The leading character is FLTK's style code: ' ' regular, 'B' bold.
  Fl::set_font(kGothic, " IPAPGothic");
  Fl::set_font(kGothicBold, "BIPAPGothic");
}

std::string BrokenAt(std::string_view text, int width) {
  return WrapText(text, width, [](std::string_view ch) { return fl_width(ch.data(), static_cast<int>(ch.size())); });
}
