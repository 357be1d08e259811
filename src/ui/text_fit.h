// Room for texts longer than the Japanese ones the windows were laid out
// for. A control whose text is wider than what its box leaves for it is
// widened toward the side it may grow to, as far as a limit; a label that
// still doesn't fit breaks into lines at that width and grows downward.
// Works on the scaled window, where the text is measured at the size it is
// drawn; the limits are window x coordinates at factor 1, as the layouts.
#pragma once

class Fl_Widget;
class Label;

// True while the texts are a translation's, not the Japanese ones that the
// windows' design tables were made for (those stay as designed).
bool TextsTranslated();

// The width of the widget's text on one line, in the font it is drawn in.
int TextWidth(const Fl_Widget& w);

// The width the widget's box leaves for its text: a check box's less its
// indicator, a button's less its frame, a box's less FLTK's inset.
int TextRoom(const Fl_Widget& w);

enum class GrowToward { Right, Left };

// Widens w until its text fits, keeping the edge opposite `side`, no
// further than `limit`. True when the text fits then.
bool Widen(Fl_Widget& w, GrowToward side, int limit);

// Widens l to the right as far as `limit`; a text that is still too wide
// is broken into lines at the new width, and l grows to hold them.
void FitLabel(Label& l, int limit);

// Breaks l's caption into lines of l's width (Japanese text too, see
// text_wrap.h) and grows l downward to hold them. Returns the growth.
int BreakIntoLines(Label& l);
