// The daemon's window on X11: an X window of another program, drawn into by
// the video layer's foreign-window presenter.
#include <X11/Xlib.h>

#include "app/daemon_system.h"
#include "app/startup.h"
#include "base/diagnostic.h"
#include "shell/application.h"
#include "video/presenter.h"
#include "video/x11_errors.h"

namespace {

bool g_windowMissing = false;
int NoteMissingWindow(Display*, XErrorEvent*) {
  g_windowMissing = true;
  return 0;
}

// The id of the window to draw into: the root window's, or the given one
// when it exists. A window that isn't there ends the run with exit code 1:
// the daemon was told something wrong, and no window of our own may stand
// in for it.
unsigned long WindowToDrawInto(const DaemonWindow& window) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) EndWithoutXServer();
  unsigned long id = window.root ? DefaultRootWindow(dpy) : window.id;
  g_windowMissing = false;
  XErrorHandler previous = XSetErrorHandler(NoteMissingWindow);
  XWindowAttributes attrs{};
  const bool exists = XGetWindowAttributes(dpy, id, &attrs) != 0 && !g_windowMissing;
  XSetErrorHandler(previous);
  const std::string missing = X11MissingWindowText(dpy, id);
  XCloseDisplay(dpy);
  if (!exists) {
    ReportProblem(missing);
    ProgramEnd(1);
  }
  return id;
}

}  // namespace

void DrawIntoDaemonWindow(const DaemonWindow& window) {
  const unsigned long id = WindowToDrawInto(window);
  SetPresenterFactory([id] { return MakeForeignWindowPresenter(id); });
}

bool DaemonWindowLost() { return ForeignWindowLost(); }

// FLTK's loops are not used, and Xlib reads the window's events itself.
void PumpDaemonWindowMessages() {}
