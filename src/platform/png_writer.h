// Writes 24-bit RGB pictures as PNG files (uncompressed deflate blocks), for
// previews and screenshots. No image library needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height pixels, rows top to bottom, 3 bytes (R, G, B) per
// pixel. Returns false if the size is not positive or the file cannot be
// written completely.
bool WritePng(const std::string& path, int width, int height, const uint8_t* rgb /* width*height*3 */);

// The same PNG file image in memory (empty for a non-positive size).
std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* rgb);
