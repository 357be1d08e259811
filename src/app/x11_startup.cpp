// Start-up's X11 part: the X display opened for FLTK, and the ending
// signals' pipe watched by FLTK's loops.
#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "app/startup_system.h"
#include "base/diagnostic.h"
#include "shell/application.h"
#include "platform/signals.h"

constexpr const char* kNeedsXServer = "this program needs an X server (on Wayland, Xwayland)";

[[noreturn]] void EndWithoutXServer() {
  const char* display = std::getenv("DISPLAY");
  ReportProblem(display != nullptr && *display != '\0'
                    ? std::string("cannot open the X display \"") + display + "\": " + kNeedsXServer
                    : std::string("DISPLAY is not set: ") + kNeedsXServer);
  ProgramEnd(1);
}

namespace {

// An ending signal seen by a message loop (the main loop, a modal window, a
// message box): the program ends as closing its main window would, unless
// the game's frame loop is running and ends the game itself.
void OnEndSignalPipe(FL_SOCKET, void*) {
  DrainEndSignalFd();
  if (!EndSignalDeferred() && !ProgramEnding()) ProgramEnd();
}

}  // namespace

void WatchEndSignals() {
  if (EndSignalFd() >= 0) Fl::add_fd(EndSignalFd(), FL_READ, OnEndSignalPipe);
}

void OpenDisplay() {
  if (fl_display != nullptr) return;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) EndWithoutXServer();
  fl_open_display(display);
}
