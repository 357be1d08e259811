// The session ending (a logout, a shutdown) while the program runs: Windows
// asks every top-level window (WM_QUERYENDSESSION), then says it ends
// (WM_ENDSESSION) and ends the process once that message has been answered.
// A hidden top-level window of our own hears it whichever loop pumps the
// thread (FLTK's, SDL's, the preview's), and writes the records there.
#include "shell/display_loss.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/diagnostic.h"
#include "platform/signals.h"

namespace {

DisplayLossWatch* g_innermost = nullptr;
std::function<void()>* g_action = nullptr;

void RunActionAndEnd() {
  static bool running = false;
  if (running) std::_Exit(0);
  running = true;
  ReportProblem("the Windows session is ending");
  if (g_action != nullptr && *g_action) {
    try {
      (*g_action)();
    } catch (...) {
      // Ending regardless.
    }
  }
  std::_Exit(0);
}

LRESULT CALLBACK SessionWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      // The game ends at its next frame and writes the records; should the
      // session end first, WM_ENDSESSION writes them.
      RaiseEndSignal();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) RunActionAndEnd();
      return 0;
    case WM_CLOSE:  // taskkill: every mode ends in order, a preview too
      RaiseEndSignal();
      return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// Made once, on the first watch; lives as long as the process. Not a
// message-only window: those never hear the session's end.
void MakeSessionWindow() {
  static bool made = false;
  if (made) return;
  made = true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = SessionWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"zuk_rer1_session";
  RegisterClassW(&wc);
  CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                  wc.hInstance, nullptr);
}

}  // namespace

DisplayLossWatch::DisplayLossWatch(std::function<void()> onLoss)
    : onLoss_(std::move(onLoss)), outer_(g_innermost), previousHandler_(nullptr) {
  g_innermost = this;
  g_action = &onLoss_;
  MakeSessionWindow();
}

DisplayLossWatch::~DisplayLossWatch() {
  g_innermost = outer_;
  g_action = outer_ != nullptr ? &outer_->onLoss_ : nullptr;
}
