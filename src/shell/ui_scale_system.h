// The system's part of the windows' scale (x11_ui_scale.cpp,
// ui_scale_win32.cpp).
#pragma once

// Whether the display that the factor is read from is open; until it is,
// the factor is not fixed.
bool ScaleSourceOpen();
// The factor the display asks for: 1 when it asks for none.
int SystemScaleFactor();
// The factor for a density in dots per inch: 2 from 144, 3 from 240, 4 from
// 336; 1 below 144 and for more than 4.
int FactorFromDpi(double dpi);
