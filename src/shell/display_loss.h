// The X server going away (a logout, a crash) while the game runs: the
// connection breaks inside some X call, and Xlib's I/O error handler is the
// last code that runs. The game's records are written there, then the
// process ends with exit code 0, as it does on SIGHUP: the session has ended,
// and the program has ended in order with it. On Windows the same action
// runs when the session ends (WM_ENDSESSION), the process's last moment.
#pragma once

#include <functional>

// While it lives, a lost X connection runs `onLoss`, says so in one line on
// stderr and ends the process (exit code 0). Made before the first
// connection (Xlib's own handler ends with exit code 1, as FLTK's does when
// FLTK opens its display itself; SDL puts in none). Watches nest: on
// destruction the action and the handler in force before come back.
class DisplayLossWatch {
 public:
  explicit DisplayLossWatch(std::function<void()> onLoss);
  ~DisplayLossWatch();
  DisplayLossWatch(const DisplayLossWatch&) = delete;
  DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;

 private:
  std::function<void()> onLoss_;
  DisplayLossWatch* outer_;
  int (*previousHandler_)(struct _XDisplay*);
};
