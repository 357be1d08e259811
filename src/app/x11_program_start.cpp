#include <cstdlib>
#include <vector>

#include "app/program_start.h"
#include "app/startup.h"

void PrepareProcess() {
  // The picture window's class is the program's, as the dialogs' is.
  setenv("SDL_VIDEO_X11_WMCLASS", "Zuk_rer1", 0);
  // FLTK's backend is chosen when start-up opens the display, which knows
  // whether the full-screen picture follows (x11_startup.cpp).
}

ProgramStart ReadProgramStart(int argc, char** argv) {
  ProgramStart start;
  // The name the program was started by decides its role and its title: a
  // symlink or a copy named zuk_rer1.scr is the screen saver.
  start.programPath = StartedProgramPath(argc > 0 ? argv[0] : nullptr);
  start.daemonWindow = DaemonWindowFrom(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc),
                                        std::getenv("XSCREENSAVER_WINDOW"));
  start.commandTail = CommandTail(argc, argv);
  return start;
}

// fontconfig finds the installed font.
void PrepareWindows(const ProgramStart&) {}
