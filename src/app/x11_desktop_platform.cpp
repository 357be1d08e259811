// The desktop on X11, through FLTK's connection.
#include <FL/Fl.H>
#include <FL/x.H>

#include "app/desktop_system.h"

bool DesktopDisplayOpen() {
  if (fl_display == nullptr) fl_open_display();
  return fl_display != nullptr;
}

bool ToolkitWaits() { return fl_display != nullptr; }

void DesktopBeep() {
  XBell(fl_display, 0);
  XFlush(fl_display);
}

void WarpPointer(int32_t x, int32_t y) {
  XWarpPointer(fl_display, None, RootWindow(fl_display, fl_screen), 0, 0, 0, 0, x, y);
  XFlush(fl_display);
}

bool QueryPointer(int32_t& x, int32_t& y) {
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(fl_display, RootWindow(fl_display, fl_screen), &root, &child, &rx, &ry, &wx, &wy, &mask)) {
    return false;
  }
  x = rx;
  y = ry;
  return true;
}
