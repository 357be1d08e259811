#include "video/display_device.h"

using namespace dx;

IDirectDrawSurface* DisplayDevice::Sheet(int32_t n) const {
  switch (n) {
    case 1: return SheetSurface1;
    case 2: return SheetSurface2;
    case 3: return SheetSurface3;
    case 4: return SheetSurface4;
    default: return nullptr;
  }
}
