// The game's display: opened once by the game run (640 x 480, 8 bits, a
// back buffer, four sprite sheets and a palette) and released once at its
// end.
#pragma once

#include "video/display_device.h"

class GameHost;
struct WorldState;

// Opens the display (DirectDrawCreate failing ends the program at once
// through the host), creates the surfaces and the palette and loads the palette file.
void OpenDisplay(WorldState& w, GameHost& host);
// Shows the back buffer.
void FlipScreen(DisplayDevice& d);
// Stops and frees the sound effects (while sound is on), clears both buffers
// to index 0 and releases every display object. Safe to call twice.
void ReleaseDevices(WorldState& w);
