// The display device: one full-screen 640 x 480 8-bit picture with a back
// buffer, four sprite-sheet surfaces and a 256-colour palette, opened once by
// the game run and released once at its end.
#pragma once

#include <cstdint>

#include "video/ddraw.h"

struct WorldState;

struct DisplayDevice {
  IDirectDraw* DDraw = nullptr;
  IDirectDrawSurface* PrimarySurface = nullptr;
  IDirectDrawSurface* BackSurface = nullptr;
  IDirectDrawSurface* SheetSurface1 = nullptr;
  IDirectDrawSurface* SheetSurface2 = nullptr;
  IDirectDrawSurface* SheetSurface3 = nullptr;
  IDirectDrawSurface* SheetSurface4 = nullptr;
  IDirectDrawPalette* DDPalette = nullptr;
  PALETTEENTRY PaletteEntries[256] = {};
  // Clip rectangle, inclusive on all four sides; 0, 0, 0, 0 until set.
  int32_t ClipLeft = 0;
  int32_t ClipTop = 0;
  int32_t ClipRight = 0;
  int32_t ClipBottom = 0;
  DDSURFACEDESC PrimaryDesc{};
  DDSURFACEDESC SheetDesc{};
  DDBLTFX FillFx{};

  // Sheet 1..4, or nullptr for any other number.
  IDirectDrawSurface* Sheet(int32_t n) const;
};

// Opens the display (DirectDrawCreate failing ends the program at once,
// silently), creates the surfaces and the palette and loads the palette file.
void OpenDisplay(WorldState& w);
// Shows the back buffer.
void FlipScreen(DisplayDevice& d);
// Stops and frees the sound effects (while sound is on), clears both buffers
// to index 0 and releases every display object. Safe to call twice.
void ReleaseDevices(WorldState& w);
