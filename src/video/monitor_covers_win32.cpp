// The covers on Windows: each cover's SDL surface is filled black. No window
// manager to wait for here, so a full-screen window goes at once.
#include <SDL.h>

#include "video/monitor_covers.h"
#include "video/monitor_covers_parts.h"

void PaintCoverBlack(SDL_Window* window) { FillWindowBlack(window); }

void DestroyFullScreenWindow(SDL_Window* window) { SDL_DestroyWindow(window); }
