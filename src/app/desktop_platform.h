// The platform of a run on the desktop: the display (on X11 through FLTK's
// connection) for the cursor, the beep and the screen's size, the picture's
// place on the desktop for cursor positions, and FLTK's event wait while no
// picture is shown.
#pragma once

#include "platform/platform.h"

Platform& DesktopPlatform();
