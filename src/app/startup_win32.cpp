// Start-up's Windows part: an ending asked by the system (a console's
// Ctrl+C or close, seen by the platform) reaches the message loops through
// a look every tenth of a second; the display needs no opening.
#include <FL/Fl.H>

#include "app/startup_system.h"
#include "shell/application.h"
#include "platform/signals.h"

namespace {

void LookForEndSignal(void*) {
  if (EndSignalReceived() && !EndSignalDeferred() && !ProgramEnding()) ProgramEnd();
  Fl::repeat_timeout(0.1, LookForEndSignal);
}

}  // namespace

void WatchEndSignals() { Fl::add_timeout(0.1, LookForEndSignal); }

// FLTK registers its window classes when it makes its first window.
void OpenDisplay(bool) {}
