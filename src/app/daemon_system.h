// The daemon's window, the system's part (x11_daemon_mode.cpp: an X window
// of a screen-saver daemon; preview_win32.cpp: the small monitor of Screen
// Saver Settings).
#pragma once

#include "app/command_line.h"

// Puts in the presenter that draws into the window; a window that isn't
// there is reported and ends the run with exit code 1.
void DrawIntoDaemonWindow(const DaemonWindow& window);
// True once the window is gone: the run has nothing left to show and ends.
bool DaemonWindowLost();
// Handles the messages that wait for this thread (no toolkit loop runs).
void PumpDaemonWindowMessages();
