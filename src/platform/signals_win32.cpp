#include <atomic>

#include "platform/signals.h"
#include "platform/windows_text_win32.h"

namespace {

std::atomic<bool> g_endReceived{false};
bool g_installed = false;

// Runs on a thread of its own. Ctrl+C and Ctrl+Break only set the flag; for
// a closed console, a logoff or a shutdown the system ends the process when
// the handler returns, so it waits (within the five seconds Windows gives)
// for the program to end by itself with its records written.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  g_endReceived = true;
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(4500);
  return TRUE;
}

}  // namespace

// A program without a console gets no console events: its windows learn of
// a logoff, a shutdown and a close from their messages (WM_QUERYENDSESSION,
// WM_ENDSESSION, WM_CLOSE), which the program's message loop turns into the
// same end.
void InstallEndSignalHandlers() {
  if (g_installed) return;
  g_installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
}

void RaiseEndSignal() { g_endReceived = true; }

bool EndSignalReceived() { return g_endReceived; }

// Windows has no descriptor to hand to the message loop: it looks at the flag.
int EndSignalFd() { return -1; }

void DrainEndSignalFd() {}
