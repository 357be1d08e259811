// The scale on Windows: the program is DPI-aware, so its windows come at the
// monitor's real pixels and are scaled by the main monitor's density
// (96 dpi: 1, 192: 2, ...).
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "shell/ui_scale.h"
#include "shell/ui_scale_system.h"

namespace {

// GetDpiForSystem exists from Windows 10 1607; before, the screen's
// LOGPIXELSY says the same for a DPI-aware process.
UINT SystemDpi() {
  using GetDpi = UINT(WINAPI*)();
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto getDpi = user32 != nullptr ? reinterpret_cast<GetDpi>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem"))) : nullptr;
  if (getDpi != nullptr) return getDpi();
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi);
}

}  // namespace

bool ScaleSourceOpen() { return true; }

int SystemScaleFactor() { return FactorFromDpi(SystemDpi()); }

// Windows names a window by its title alone.
void NameForWindowManagers(Fl_Window*) {}
