// The readme window's text area: the text broken into display lines with
// the area's own font and width (see text_wrap.h for the rule).
#pragma once

#include <string>
#include <string_view>

#include "base/text_wrap.h"

class Fl_Text_Display;

// The width of a text display's text area when its vertical scroll bar is
// shown: where its lines must fit.
int TextAreaWidth(const Fl_Text_Display& display);

// WrapText measured with the display's text font and size (fl_width) at
// its text area's width. Needs the display connection open.
std::string WrapForDisplay(const Fl_Text_Display& display, std::string_view text);
