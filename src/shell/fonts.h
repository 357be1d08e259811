// The program's fonts: IPA P Gothic, regular and bold, registered with FLTK
// by InitFonts() (called at start-up once the display is open, before any
// window is made),
// and a Latin face for the backslashes of a translation's texts.
#pragma once

#include <FL/Enumerations.H>

#include <string>
#include <string_view>

constexpr Fl_Font kGothic = FL_FREE_FONT;
constexpr Fl_Font kGothicBold = static_cast<Fl_Font>(FL_FREE_FONT + 1);
// The system's Latin face (fonts_win32.cpp, x11_fonts.cpp).
constexpr Fl_Font kLatin = static_cast<Fl_Font>(FL_FREE_FONT + 2);

void InitFonts();

// The text with each line broken where it is wider than `width` in FLTK's
// current font (fl_font), by the rule of base/text_wrap.h.
std::string BrokenAt(std::string_view text, int width);

// IPA P Gothic draws U+005C as a yen sign, as Japanese system fonts do, and
// a Japanese reader of a Windows path expects it. A reader of a translation
// expects the backslash: while a translation is in use, backslashes are
// drawn and measured in the Latin face, the rest in the current font.
bool BackslashesApart();
// fl_width of the text by that rule.
double TextWidth(const char* text, int n);
// fl_draw of one line at the baseline x, y by that rule; the per-line
// drawing of fl_draw's aligned form takes it.
void DrawTextRun(const char* text, int n, int x, int y);
// fl_measure's width and height of lines broken by '\n', by that rule.
void MeasureText(const std::string& text, int& w, int& h);

// The names FLTK gives the faces: on Windows the first character is the
// style (' ' regular, 'B' bold), on Linux Pango's description names it
// after the family.
enum class Face { Gothic, GothicBold, Latin };
const char* FaceName(Face face);
