// The program's fonts: IPA P Gothic, regular and bold, registered with FLTK
// by InitFonts() (called by the application before any window is made).
#pragma once

#include <FL/Enumerations.H>

constexpr Fl_Font kGothic = FL_FREE_FONT;
constexpr Fl_Font kGothicBold = static_cast<Fl_Font>(FL_FREE_FONT + 1);

void InitFonts();
