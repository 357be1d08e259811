#include "shell/fonts.h"

#include <FL/Fl.H>

void InitFonts() {
  // The leading character is FLTK's style code: ' ' regular, 'B' bold.
  Fl::set_font(kGothic, " IPAPGothic");
  Fl::set_font(kGothicBold, "BIPAPGothic");
}
