// Start-up's system part (x11_startup.cpp, startup_win32.cpp).
#pragma once

// Lets the message loops (the main loop, a modal window, a message box) see
// an ending signal: the program then ends as closing its main window would,
// unless the game's frame loop runs and ends the game itself.
void WatchEndSignals();
// Opens the display the windows use (withPicture: the full-screen picture
// follows them); without one, says so and ends.
void OpenDisplay(bool withPicture);
