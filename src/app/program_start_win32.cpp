// The start on Windows: the command line as Windows keeps it (UTF-16, one
// string), the program file's own path, and Screen Saver Settings' windows
// ("/p HWND": the small monitor to draw into; "/c:HWND": the dialog that
// the settings window is modal to).
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdlib>
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
WNDPROC g_fltkProc = nullptr;

// Screen Saver Settings' dialog comes back before our last window over it
// goes, so that Windows hands the activation back to it, as EndDialog does.
void EnableTheOwner() {
  if (IsWindow(g_owner)) EnableWindow(g_owner, TRUE);
}

bool AnotherWindowOverTheOwner(HWND going) {
  for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) {
    HWND window = fl_xid(w);
    if (window != going && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == g_owner) return true;
  }
  return false;
}

// Every way out passes here: a window hidden (save, the close box,
// WM_CLOSE) or destroyed, and the session's end, which ends the process
// without destroying them.
LRESULT CALLBACK OwnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool hiding =
      message == WM_WINDOWPOSCHANGING && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0;
  if (((hiding || message == WM_DESTROY) && !AnotherWindowOverTheOwner(window)) || message == WM_QUERYENDSESSION) {
    EnableTheOwner();
  }
  return CallWindowProcW(g_fltkProc, window, message, wParam, lParam);
}

// "/c:HWND" is modal to Screen Saver Settings' dialog, as Windows' own
// savers' settings are. Each of our windows without an owner (the settings
// window, a box before it, the Read Me window) is given the dialog as its
// owner when it is shown, so that it stays above it and goes with it, and
// the dialog stays disabled until the last of them goes (FLTK's boxes over
// them are owned by them already).
void OwnNewWindows(void*) {
  for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) {
    HWND window = fl_xid(w);
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (GetWindow(window, GW_OWNER) != nullptr || proc == OwnedWindowProc) continue;
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(g_owner));
    g_fltkProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnedWindowProc)));
    EnableWindow(g_owner, FALSE);
  }
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

// The program's icon (resource 1) on every FLTK window, as SDL's picture
// window takes it by itself: big for Alt+Tab, small for the caption. FLTK
// keeps copies.
void UseTheProgramIcon() {
  auto load = [](int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height), 0));
  };
  const HICON large = load(SM_CXICON, SM_CYICON), caption = load(SM_CXSMICON, SM_CYSMICON);
  Fl_Window::default_icons(large, caption);
  DestroyIcon(large);
  DestroyIcon(caption);
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
  UseTheProgramIcon();
  if (g_owner == nullptr || !IsWindow(g_owner)) return;
  // Disabled from now, as a dialog box disables its owner before it shows;
  // an end through exit() gives it back too.
  std::atexit(EnableTheOwner);
  EnableWindow(g_owner, FALSE);
  Fl::add_check(OwnNewWindows);
}
