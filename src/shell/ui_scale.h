// The windows on a high-density screen: drawn larger by a whole factor, so
// that they come out as large as other programs' windows there.
#pragma once

class Fl_Window;

// GDK_SCALE when it holds a whole number from 1 to 4; else what the X
// resources' Xft.dpi asks for. Read once, the first time it is asked for
// with the display open.
int UiScale();
// The factor of the X resources' text: 2 when Xft.dpi is 144 or more, 3 from
// 240, 4 from 336; 1 without it, and for a value that is no number or asks
// for more than GDK_SCALE may (432 or more: a window larger than any screen).
int FactorFromXftDpi(const char* resources);
// Forgets the factor read (tests change the environment).
void ForgetUiScale();
// Scales a window laid out at factor 1 by UiScale(): its size and every
// control's place, size, label and text size; pictures become copies with
// each pixel repeated (sharp). Call once, before the window is shown.
void ScaleWindow(Fl_Window* window);

// What window managers read of a window: the class (WM_CLASS "zuk_rer1",
// "Zuk_rer1", as the menu entries' StartupWMClass) and the title also in the
// old property, as compound text (FLTK writes its UTF-8 bytes there as if
// they were Latin-1). Call when the window has been made, before it is mapped
// (its FL_SHOW).
void NameForWindowManagers(Fl_Window* window);
