// The windows' scale. FLTK scales each window by the factor of the screen
// it is on, whole or fractional (from Xft.dpi or the compositor's output
// scale on Linux, from the monitor's DPI on Windows, and Ctrl +/- for the
// user), and follows a move to a screen of another factor: the windows are
// laid out at factor 1. What it leaves to the program is here: GDK_SCALE,
// which FLTK's X11 backend does not read, and how pictures are enlarged.
#pragma once

class Fl_Window;

// GDK_SCALE's factor when it holds a whole number from 1 to 4; else 0.
int FactorFromGdkScale(const char* text);
// Sets every screen's factor (GDK_SCALE, the tests' scales).
void ScaleEveryScreen(float factor);
// GDK_SCALE, when it holds a factor, for every screen, over what FLTK read
// from the desktop. Call once the display is open (nothing on Windows).
void ApplyDesktopScale();
// Pictures are enlarged pixel-sharp (each pixel repeated) at whole factors,
// smoothly at fractional ones, where repeated pixels would come out uneven:
// chooses so for the factor of the window's screen. Call in the window's
// draw(), before its pictures are drawn.
void ChoosePictureScaling(Fl_Window& window);

// What window managers read of a window: the class (WM_CLASS "zuk_rer1",
// "Zuk_rer1", as the menu entries' StartupWMClass) and the title also in the
// old property, as compound text (FLTK writes its UTF-8 bytes there as if
// they were Latin-1). Call when the window has been made, before it is mapped
// (its FL_SHOW).
void NameForWindowManagers(Fl_Window* window);
