#include "shell/display_loss.h"

#include <X11/Xlib.h>

#include <cstdlib>

#include <string>

#include "base/diagnostic.h"

namespace {

DisplayLossWatch* g_innermost = nullptr;
std::function<void()>* g_action = nullptr;

int OnIoError(Display* dpy) {
  // Every X call from here on would fail again: the action does file work
  // only, and the end skips the exit handlers, which would talk to X.
  static bool running = false;
  if (running) std::_Exit(0);
  running = true;
  ReportProblem(std::string("the connection to the X server \"") + DisplayString(dpy) + "\" was lost");
  if (g_action != nullptr && *g_action) {
    try {
      (*g_action)();
    } catch (...) {
      // Ending regardless.
    }
  }
  std::_Exit(0);
}

}  // namespace

DisplayLossWatch::DisplayLossWatch(std::function<void()> onLoss)
    : onLoss_(std::move(onLoss)), outer_(g_innermost), previousHandler_(XSetIOErrorHandler(OnIoError)) {
  g_innermost = this;
  g_action = &onLoss_;
}

DisplayLossWatch::~DisplayLossWatch() {
  XSetIOErrorHandler(previousHandler_);
  g_innermost = outer_;
  g_action = outer_ != nullptr ? &outer_->onLoss_ : nullptr;
}
