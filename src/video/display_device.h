// The display device's state: the display object, the flipping primary
// surface and its back buffer, the four sprite-sheet surfaces, the palette
// and the clip rectangle of the drawing primitives.
#pragma once

#include <cstdint>

#include "video/ddraw.h"

struct DisplayDevice {
  dx::IDirectDraw* DDraw = nullptr;
  dx::IDirectDrawSurface* PrimarySurface = nullptr;
  dx::IDirectDrawSurface* BackSurface = nullptr;
  dx::IDirectDrawSurface* SheetSurface1 = nullptr;
  dx::IDirectDrawSurface* SheetSurface2 = nullptr;
  dx::IDirectDrawSurface* SheetSurface3 = nullptr;
  dx::IDirectDrawSurface* SheetSurface4 = nullptr;
  dx::IDirectDrawPalette* DDPalette = nullptr;
  dx::PALETTEENTRY PaletteEntries[256] = {};
  // Clip rectangle, inclusive on all four sides; 0, 0, 0, 0 until set.
  int32_t ClipLeft = 0;
  int32_t ClipTop = 0;
  int32_t ClipRight = 0;
  int32_t ClipBottom = 0;
  dx::DDSURFACEDESC PrimaryDesc{};
  dx::DDSURFACEDESC SheetDesc{};
  dx::DDBLTFX FillFx{};

  // Sheet 1..4, or nullptr for any other number.
  dx::IDirectDrawSurface* Sheet(int32_t n) const;
};
