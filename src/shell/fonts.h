// The program's fonts: IPA P Gothic, regular and bold, registered with FLTK
// by InitFonts() (called by the application before any window is made).
#pragma once

#include <FL/Enumerations.H>

#include <string>
#include <string_view>

constexpr Fl_Font kGothic = FL_FREE_FONT;
constexpr Fl_Font kGothicBold = static_cast<Fl_Font>(FL_FREE_FONT + 1);

void InitFonts();

// The text with each line broken where it is wider than `width` in FLTK's
// current font (fl_font), by the rule of base/text_wrap.h.
std::string BrokenAt(std::string_view text, int width);
