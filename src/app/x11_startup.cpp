// Start-up's Linux part: the display opened for FLTK (X11 or Wayland, by
// FLTK's rule for the dialogs, X11 beside the full-screen picture), and the
// ending signals' pipe watched by FLTK's loops.
#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "app/startup_system.h"
#include "base/diagnostic.h"
#include "shell/application.h"
#include "shell/ui_scale.h"
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

// FLTK puts in an X I/O error handler of its own as it opens its display
// (Fl::fatal, exit code 1), then asks the server for the screens: the
// handler in force before, the display-loss watch's, takes a loss then and
// comes back after.
XIOErrorHandler g_lossHandler = nullptr;
Display* g_opening = nullptr;
void (*g_fltkFatal)(const char*, ...) = nullptr;

[[noreturn]] void FatalWhileOpening(const char* format, ...) {
  if (std::string(format) == "X I/O error") g_lossHandler(g_opening);
  std::va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::exit(1);
}

void OpenFltkKeepingLossHandler(Display* display) {
  g_lossHandler = XSetIOErrorHandler(nullptr);
  XSetIOErrorHandler(g_lossHandler);
  g_opening = display;
  g_fltkFatal = Fl::fatal;
  if (g_lossHandler != nullptr) Fl::fatal = FatalWhileOpening;
  fl_open_display();
  Fl::fatal = g_fltkFatal;
  XSetIOErrorHandler(g_lossHandler);
}

}  // namespace

void WatchEndSignals() {
  if (EndSignalFd() >= 0) Fl::add_fd(EndSignalFd(), FL_READ, OnEndSignalPipe);
}

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// FLTK_BACKEND as the user gave it, else: the dialogs alone take FLTK's rule
// (Wayland where a compositor answers, else X11), while beside the
// full-screen picture, which SDL draws through X11 wherever there is an X
// server, the windows stay on X11 with it.
std::string ChosenBackend(bool withPicture) {
  if (Set("FLTK_BACKEND")) return std::getenv("FLTK_BACKEND");
  if (!Set("WAYLAND_DISPLAY")) return "x11";
  return withPicture && Set("DISPLAY") ? "x11" : "";
}

}  // namespace

void OpenDisplay(bool withPicture) {
  if (fl_x11_display() != nullptr || fl_wl_display() != nullptr) return;
  const std::string backend = ChosenBackend(withPicture);
  if (backend != "x11") {
    fl_open_display();  // ends the program, saying why, without a display
    return;
  }
  setenv("FLTK_BACKEND", "x11", 1);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) EndWithoutXServer();
  fl_x11_use_display(display);
  OpenFltkKeepingLossHandler(display);
  ApplyDesktopScale();
}
