// The display device's state: the display object, the flipping primary
// surface and its back buffer, the four sprite-sheet surfaces, the palette
// and the clip rectangle of the drawing primitives.
#pragma once

#include <cstdint>

#include "video/ddraw.h"

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
