// The game's picture: 640 x 480 pixels of 8-bit palette indices, whatever
// the size of the screen or window that shows it.
#pragma once

#include <cstdint>

constexpr int32_t kPictureWidth = 640;
constexpr int32_t kPictureHeight = 480;
