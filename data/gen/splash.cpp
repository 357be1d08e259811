// The 198 x 132 title picture: a piece of the nebula, a meteor, the ship
// firing, and the ZUK name in arcade lettering; and the program's icon, the
// same pieces on a square.
#include "art.h"

namespace zukgen {

namespace {

void PasteKeyed(Image8& dst, const Image8& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i) {
      const int tx = x + i, ty = y + j;
      if (src.At(i, j) != 0 && tx >= 0 && ty >= 0 && tx < dst.width && ty < dst.height) dst.At(tx, ty) = src.At(i, j);
    }
}

// A width x height piece of the endless band, from (bx, by) on, with a few
// bright stars scattered in its open space.
Image8 SpaceBackground(const Image8& band, int width, int height, int bx, int by, uint64_t seed, int stars) {
  Image8 img(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) img.At(x, y) = band.At(bx + x, (by + y) % band.height);
  Rng rng(seed);
  for (int s = 0; s < stars; ++s) {
    const int x = rng.Int(width), y = rng.Int(height);
    if (img.At(x, y) == 0) img.At(x, y) = static_cast<uint8_t>(s % 5 == 0 ? 199 : 255);
  }
  return img;
}

// The shot of gun n (0 left, 1 centre, 2 right) of a ship at shipX drawn
// at the given scale, from row top down to row bottom (exclusive).
void DrawShot(Image8& img, int shipX, int lean, int n, float scale, int top, int bottom) {
  const int x = shipX + static_cast<int>(static_cast<float>(kGunX[lean][n]) * scale + 0.5f);
  for (int y = top < 0 ? 0 : top; y < bottom; ++y) {
    img.At(x, y) = kShotCore;
    img.At(x - 1, y) = kShotGlow;
    img.At(x + 1, y) = kShotGlow;
  }
}

}  // namespace

Image8 MakeSplash(const Image8& band) {
  // Background: a nebula-rich part of the band.
  Image8 img = SpaceBackground(band, 198, 132, 420, 920, 0x57A25u, 40);
  PasteKeyed(img, RenderMeteor(7, 64, 64, 28.0f), 118, -12);
  PasteKeyed(img, RenderMeteor(22, 34, 34, 14.0f), 104, 40);
  // The ship, banking, with a volley just fired.
  const float scale = 0.52f;
  const int shipX = 140, shipY = 62, lean = 4;
  DrawShot(img, shipX, lean, 0, scale, 28, shipY + 4);
  DrawShot(img, shipX, lean, 2, scale, 0, shipY + 4);
  PasteKeyed(img, RenderBurst(1, 30, 30), 127, 12);
  PasteKeyed(img, RenderShip(lean, 0, scale), shipX, shipY);
  PasteKeyed(img, RenderText("ZUK", 116, 58, LetterStyle::Warm, 1.15f), 8, 12);
  PasteKeyed(img, RenderText("SCREEN SAVER", 118, 15, LetterStyle::Cool), 9, 78);
  PasteKeyed(img, RenderText("NO.1", 44, 15, LetterStyle::Red), 9, 100);
  return img;
}

Image8 MakeIcon(const Image8& band) {
  Image8 img = SpaceBackground(band, 256, 256, 384, 860, 0x1C0Du, 60);
  PasteKeyed(img, RenderMeteor(7, 128, 128, 58.0f), 134, 84);
  const float scale = 0.9f;
  const int shipX = 40, shipY = 134, lean = 3;
  for (int n = 0; n < 3; ++n) DrawShot(img, shipX, lean, n, scale, n == 1 ? 96 : 112, shipY + 6);
  PasteKeyed(img, RenderBurst(1, 56, 56), 162, 98);
  PasteKeyed(img, RenderShip(lean, 0, scale), shipX, shipY);
  PasteKeyed(img, RenderText("ZUK", 236, 96, LetterStyle::Warm, 1.15f), 10, 8);
  return img;
}

}  // namespace zukgen

