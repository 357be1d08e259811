// The 198 x 132, 256-colour splash picture built into the program, as a
// Windows bitmap file image.
#pragma once

#include <cstddef>

extern const unsigned char kSplashBmp[];
extern const size_t kSplashBmpSize;
