#include <cstdlib>
#include <vector>

#include "app/program_start.h"
#include "app/startup.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

void PrepareProcess() {
  // The picture window's class is the program's, as the dialogs' is.
  setenv("SDL_VIDEO_X11_WMCLASS", "Zuk_rer1", 0);
  // FLTK picks its backend the first time it draws or measures, and would
  // take Wayland wherever a compositor answers. The dialogs are native
  // Wayland windows where there is no X server; with one, X11 (Xwayland on
  // a Wayland desktop), which the full-screen picture still needs. A
  // FLTK_BACKEND of the user's stands.
  setenv("FLTK_BACKEND", Set("WAYLAND_DISPLAY") && !Set("DISPLAY") ? "wayland" : "x11", 0);
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
