// Black windows over every monitor but the one that shows the game's
// picture, for as long as the picture window exists, so that no monitor goes
// on showing the desktop. They are part of the picture: input over them
// counts as input over the picture window.
#pragma once

#include <cstdint>

struct SDL_Window;

// Covers every display but the one holding `picture` with a black,
// borderless, topmost full-screen window (no cursor while SDL's cursor is
// hidden). Displays that overlap the picture's (mirrored outputs) stay
// uncovered. Does nothing with a single display. Covers already open stay.
void OpenMonitorCovers(SDL_Window* picture);
// Destroys the covers (nothing when none are open).
void CloseMonitorCovers();

// Destroys a full-screen SDL window at once. On X11 the window is withdrawn
// first: SDL, leaving full screen on a mapped window, waits up to 100 ms for
// a window manager to move it, and without one nothing ever moves.
void DestroyFullScreenWindow(SDL_Window* window);

// A point in the SDL window `windowId` -> picture pixels: over a cover the
// point is taken to the desktop and from there to the picture; over the
// picture window (or any other window) as WindowToPicture.
void EventPointToPicture(uint32_t windowId, int32_t x, int32_t y, int32_t& px, int32_t& py);
