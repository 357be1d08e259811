// The palette file and the four sprite sheets.
#pragma once

#include <cstdint>
#include <string>

class GameHost;
struct WorldState;

// Reads "pal256.pal" (red, blue, green per entry) into the palette. A file
// that can't be opened is a fatal error ("PAL256.PALがありません。"),
// reported through the host.
void LoadPalette(WorldState& w, GameHost& host, const std::string& fileName);
// Loads a bitmap into sheet 1..4 at (x, y), width x height pixels. A file
// that can't be read is a fatal error naming the file.
void LoadSheet(WorldState& w, GameHost& host, int32_t sheet, const std::string& fileName, int32_t x, int32_t y,
               int32_t width, int32_t height);
