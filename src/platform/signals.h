// The signals that end the program (SIGTERM, SIGINT, SIGHUP): a logout, a
// session manager, `kill` or a screen-saver daemon asks the program to end.
// The handler only sets a flag and writes one byte to a pipe; the message
// loops watch the pipe and the game's frame loop looks at the flag, and each
// then ends the program the way closing its main window does.
// On Windows the console's events (Ctrl+C, its close, a logoff, a shutdown)
// set the flag; there is no pipe, and the windows learn of a session's end
// from their own messages, which call RaiseEndSignal().
#pragma once

// Installs the handlers (once; later calls do nothing). Call before any
// library that installs handlers of its own starts.
void InstallEndSignalHandlers();
// True once an ending signal has arrived.
bool EndSignalReceived();
// Raises the flag (and fills the pipe) as an ending signal does.
void RaiseEndSignal();
// The pipe's read end, readable once an ending signal has arrived; -1 before
// the handlers are installed, and always on Windows.
int EndSignalFd();
// Empties the pipe (the flag stays set).
void DrainEndSignalFd();

// While one lives, the message loops leave an ending signal to its owner
// (the game's frame loop, which ends the game the way a quitting key does
// and so writes the scores); otherwise a message loop ends the program.
class EndSignalDeferral {
 public:
  EndSignalDeferral();
  ~EndSignalDeferral();
  EndSignalDeferral(const EndSignalDeferral&) = delete;
  EndSignalDeferral& operator=(const EndSignalDeferral&) = delete;
};
bool EndSignalDeferred();
