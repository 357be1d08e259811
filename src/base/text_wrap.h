// Line breaking for the readme window's text area, the error window and
// the message boxes, as the Windows multi-line edit breaks Japanese text:
// a line that is too wide breaks after a blank
// (ASCII or the full-width U+3000) or between Japanese characters, never
// inside a run of Latin letters, digits and signs ("Ver1.91", "ZUK-SOFT",
// "zuk_rer1.scr"). FLTK 1.3's own wrapping breaks only at ASCII blanks and
// otherwise anywhere, so the text is broken into display lines before it
// goes into the text area.
#pragma once

#include <functional>
#include <string>
#include <string_view>


// The width in pixels of one character, given as its UTF-8 bytes.
using CharWidth = std::function<double(std::string_view)>;

// Breaks every line of text (lines joined by '\n') into lines no wider than
// maxWidth where it can: after a blank, or between two characters unless
// both are ASCII non-blanks, the second is a closing mark ("、", "。", "）",
// "」", small kana, ...) or the first an opening one ("（", "「", ...). A
// blank never starts a continued line: blanks at a break stay on the line
// before, where they are dropped. A run without any break chance that is
// wider than maxWidth is cut where it overflows. Lines that fit are kept as
// they are.
std::string WrapText(std::string_view text, double maxWidth, const CharWidth& width);
