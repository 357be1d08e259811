// The pictures, sounds and texts of the installation's data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "genlib.h"

namespace zukgen {

// Sheet layout (rectangles inclusive: left, top, right, bottom).
struct Rect {
  int left, top, right, bottom;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
constexpr int kSheetWidth = 640, kSheetHeight = 480;
constexpr int kMeteorFrames = 36, kMeteorW = 80, kMeteorH = 85;
constexpr int kShipCells = 14, kShipW = 100, kShipH = 130;
constexpr Rect kDigitStrip{333, 389, 555, 415};
constexpr int kDigitW = 21, kDigitH = 27;
inline int DigitLeft(int d) { return 333 + (223 * d) / 10; }
constexpr Rect kCaptionScore{310, 449, 431, 478};
constexpr Rect kCaptionBest{388, 418, 555, 446};
constexpr Rect kCaptionStart{190, 449, 303, 478};
constexpr Rect kCaptionGameOver{432, 449, 639, 478};
constexpr Rect kCaptionNewRecord{13, 449, 179, 478};
constexpr Rect kBurst[6] = {{2, 423, 56, 478},   {59, 423, 114, 478},  {117, 423, 172, 478},
                            {175, 423, 230, 478}, {233, 423, 283, 478}, {291, 423, 341, 478}};
// Gun x offsets per lean (left, centre, right); the side guns fire from the
// cell's top row, the centre gun 30 pixels above it.
constexpr int kGunX[7][3] = {{19, 55, 95}, {15, 53, 95}, {10, 51, 94}, {7, 50, 92},
                             {4, 49, 89},  {3, 47, 85},  {3, 46, 80}};

// Meteor frame: the asteroid turned by frame x 10 degrees, centred in a
// width x height picture with the given largest radius; index 0 around it.
Image8 RenderMeteor(int frame, int width, int height, float radius);
// Ship cell for lean 0..6 (0 full left) and flame phase 0/1, drawn at the
// given scale (1 = the sheet's 100 x 130 cell).
Image8 RenderShip(int lean, int phase, float scale);
// Burst stage 0..5 in a width x height picture.
Image8 RenderBurst(int stage, int width, int height);

enum class LetterStyle { Warm, Cool, Red };
// Text in arcade lettering (gradient fill, outline) stretched to fill a
// width x height picture. Supports A-Z, 0-9, space, '-', '!', '.'.
Image8 RenderText(const std::string& text, int width, int height, LetterStyle style, float stroke = 1.0f);

// The endless background band: 640 x 960, repeating in y. Sheet 2 is rows
// 0..479, sheet 4 rows 480..959.
Image8 RenderBand();

Image8 MakeSheet1();
Image8 MakeSheet2(const Image8& band);
Image8 MakeSheet3();
Image8 MakeSheet4(const Image8& band);
Image8 MakeSplash(const Image8& band);  // 198 x 132
Image8 MakeIcon(const Image8& band);    // 256 x 256

// The icon's sizes in the hicolor theme (square, pixels).
constexpr int kIconSizes[] = {48, 64, 128, 256};
// The sizes in the Windows program's icon file "icon.ico".
constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// A square picture as size x size RGB pixels (3 bytes each, rows top to
// bottom), scaled with a box filter.
std::vector<uint8_t> IconRgb(const Image8& img, int size);

std::vector<uint8_t> MakeFireSamples();
std::vector<uint8_t> MakeBlastSamples();
// The system whose installation the data are made for: only the readmes
// differ.
enum class TargetSystem { Linux, Windows };

// Every output file by name, in a fixed order.
struct DataFile {
  std::string name;
  std::vector<uint8_t> bytes;
};

// The build's languages (ja, the program's own, and one for each message
// catalogue po/<language>.po), the folder of their readme texts
// (<language>.txt) and the windows' font their characters must be in.
struct ReadmeSources {
  std::vector<std::string> languages;
  std::string folder;
  std::string font;
};
// "readme.txt" for Japanese, "readme_<language>.txt" for the others.
std::string ReadmeName(const std::string& language);
// The readme of one source file for one system.
std::string MakeReadme(const std::string& sourceFile, TargetSystem system);
// Every language's readme; throws for a text the font cannot draw.
std::vector<DataFile> MakeReadmeFiles(const ReadmeSources& sources, TargetSystem system);
// The characters of the UTF-8 text that the font has no glyph for, each
// followed by its code (" U+00E9"); empty when it has them all.
std::string CharactersNotInFont(const std::string& fontFile, const std::string& text);

// Every output file by name, in a fixed order.
std::vector<DataFile> MakeAllFiles(TargetSystem system, const ReadmeSources& readmes);
// The icon as PNG files "icon<size>.png", one per size of kIconSizes, and
// as the Windows icon file "icon.ico".
std::vector<DataFile> MakeIconFiles(const Image8& band);
// C++ source defining kSplashBmp and kSplashBmpSize from the splash file.
std::string MakeSplashSource(const std::vector<uint8_t>& splashBmp);

}  // namespace zukgen
