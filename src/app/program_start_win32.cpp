// The start on Windows: the command line as Windows keeps it (UTF-16, one
// string), the program file's own path, and Screen Saver Settings' windows
// ("/p HWND": the small monitor to draw into; "/c:HWND": the dialog that
// owns the settings window).
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <string>
#include <vector>

#include "app/program_start.h"
#include "config/settings.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/windows_text_win32.h"

namespace {

// Per-monitor DPI awareness (Windows 10 1703 on): the picture and the
// windows at the monitor's real pixels, never stretched by Windows. The
// manifest says the same; older systems get the system-wide awareness.
void BecomeDpiAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set = user32 != nullptr
                 ? reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                 : nullptr;
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (set == nullptr || !set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) SetProcessDPIAware();
}

HWND g_owner = nullptr;

// Once the settings window is shown: owned by Screen Saver Settings'
// dialog, it stays above it and goes with it.
void OwnTheSettingsWindow(void*) {
  Fl_Window* shown = Fl::first_window();
  if (shown == nullptr) return;
  SetWindowLongPtrW(fl_xid(shown), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(g_owner));
  Fl::remove_check(OwnTheSettingsWindow);
}

// IPA P Gothic for this process only, from beside the program (the unzipped
// folder) or from the install folder that the settings file names (the
// copy in the Windows directory).
void LoadShippedFont() {
  const std::string program = ProgramFilePath();
  std::vector<std::string> folders{program.substr(0, program.find_last_of("\\/") + 1)};
  WindowSettings settings;
  if (ReadSettingsForWindow(settings)) folders.push_back(settings.DataPath);
  for (const std::string& folder : folders) {
    const std::string font = JoinPath(folder, "ipagp.ttf");
    if (IsRegularFile(font) && AddFontResourceExW(Wide(font).c_str(), FR_PRIVATE, nullptr) > 0) return;
  }
}

}  // namespace

void PrepareProcess() { BecomeDpiAware(); }

ProgramStart ReadProgramStart(int, char**) {
  ProgramStart start;
  start.programPath = ProgramFilePath();
  start.commandTail = CommandTailOf(Utf8(std::wstring(GetCommandLineW())));
  const std::string sw = SwitchText(start.commandTail);
  if (sw == "/p" || sw == "-p") start.daemonWindow = PreviewWindowFrom(start.commandTail);
  if (sw == "/c" || sw == "-c") g_owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(OwnerWindowFrom(start.commandTail)));
  return start;
}

void PrepareWindows(const ProgramStart&) {
  LoadShippedFont();
  if (g_owner != nullptr && IsWindow(g_owner)) Fl::add_check(OwnTheSettingsWindow);
}
