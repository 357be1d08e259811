// The setup window's two lines that tell where to pick the screen saver:
// Windows' Screen Saver Settings (setup_text_win32.cpp), or the readme's
// part on the X desktop's daemons (setup_text_x11.cpp).
#pragma once

extern const char* const kPickScreenSaverText;
extern const char* const kPickScreenSaverText2;
