// The system's part of the dialog frame (ui_x11.cpp, ui_win32.cpp).
#pragma once

class Fl_Window;

// Tells the system that the window, just shown, is a fixed dialog: it may
// be moved and closed, not resized, minimised or maximised.
void MarkAsDialog(Fl_Window* w);
