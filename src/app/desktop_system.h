// The desktop's system part (x11_desktop_platform.cpp,
// desktop_platform_win32.cpp): its display, the beep and the pointer.
#pragma once

#include <cstdint>

// Whether the desktop's display is open, opening it when it isn't yet.
bool DesktopDisplayOpen();
// Whether FLTK's event wait can stand for a wait (its display is open).
bool ToolkitWaits();
void DesktopBeep();
// The pointer, in desktop pixels.
void WarpPointer(int32_t x, int32_t y);
bool QueryPointer(int32_t& x, int32_t& y);
