// What the program starts with, as each system hands it over
// (x11_program_start.cpp: argv and the environment; program_start_win32.cpp:
// GetCommandLineW and Screen Saver Settings' window handles).
#pragma once

#include <string>

#include "app/command_line.h"

struct ProgramStart {
  std::string programPath;  // the name rule and the title look at it
  std::string commandTail;  // split the Windows way
  DaemonWindow daemonWindow;
};

// Before any library starts: what the process asks of the system and of
// SDL beyond the common hints.
void PrepareProcess();
ProgramStart ReadProgramStart(int argc, char** argv);
// After the fonts are registered with FLTK and before any window: fonts the
// system cannot find by itself are loaded for this process only, every
// window takes the program's icon, and the windows of "/c:HWND" are made
// modal to that window.
void PrepareWindows(const ProgramStart& start);
