#include "app/display_loss.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <unistd.h>

#include "app/application.h"

namespace {

std::function<void()>* g_onLoss = nullptr;
XIOErrorHandler g_previous = nullptr;

int OnIoError(Display*) {
  // Every X call from here on would fail again: the action does file work
  // only, and the end skips the exit handlers, which would talk to X.
  static bool running = false;
  if (!running && g_onLoss != nullptr) {
    running = true;
    try {
      (*g_onLoss)();
    } catch (...) {
      // Ending regardless.
    }
  }
  ::_exit(0);
}

}  // namespace

DisplayLossWatch::DisplayLossWatch(std::function<void()> onLoss) {
  // FLTK's handler would replace this one when FLTK opened its display later.
  if (App().Windowed && fl_display == nullptr) fl_open_display();
  delete g_onLoss;
  g_onLoss = new std::function<void()>(std::move(onLoss));
  g_previous = XSetIOErrorHandler(OnIoError);
}

DisplayLossWatch::~DisplayLossWatch() {
  XSetIOErrorHandler(g_previous);
  g_previous = nullptr;
  delete g_onLoss;
  g_onLoss = nullptr;
}
