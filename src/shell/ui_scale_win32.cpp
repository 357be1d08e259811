// The scale on Windows is FLTK's alone: the program is aware of each
// monitor's DPI, and FLTK follows WM_DPICHANGED.
#include "shell/ui_scale.h"

void ApplyDesktopScale() {}

// Windows names a window by its title alone.
void NameForWindowManagers(Fl_Window*) {}
