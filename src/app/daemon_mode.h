// The screen saver inside a screen-saver daemon's window (XScreenSaver,
// xsecurelock, a settings preview): the picture goes into the given window,
// the cursor and input stay with the daemon, and no message or window of our
// own appears over a possibly locked screen.
#pragma once

#include "app/startup.h"
#include "ui/game_window.h"

// Sets the run up for `window`: the picture's presenter for that window, a
// platform that leaves the cursor alone, messages to stderr instead of
// boxes; returns what the game window needs to know (the installed data
// files, and the black picture shown when there are none).
DaemonRun PrepareDaemonRun(const DaemonWindow& window);
