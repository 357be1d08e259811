// The desktop on Windows: the pointer in the virtual screen's real pixels
// (the program is DPI-aware), the default system sound.
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "app/desktop_system.h"

bool DesktopDisplayOpen() { return true; }

bool ToolkitWaits() { return true; }

void DesktopBeep() { ::MessageBeep(0); }

void WarpPointer(int32_t x, int32_t y) { ::SetCursorPos(x, y); }

bool QueryPointer(int32_t& x, int32_t& y) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  x = p.x;
  y = p.y;
  return true;
}
