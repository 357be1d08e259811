// The 198 x 132 title picture: a piece of the nebula, a meteor, the ship
// firing, and the ZUK name in arcade lettering.
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

}  // namespace

Image8 MakeSplash(const Image8& band) {
  constexpr int kW = 198, kH = 132;
  Image8 img(kW, kH);
  // Background: a nebula-rich part of the band.
  const int bx = 420, by = 920;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) img.At(x, y) = band.At(bx + x, (by + y) % band.height);
  // A few bright stars in the open space.
  Rng rng(0x57A25u);
  for (int s = 0; s < 40; ++s) {
    const int x = rng.Int(kW), y = rng.Int(kH);
    if (img.At(x, y) == 0) img.At(x, y) = static_cast<uint8_t>(s % 5 == 0 ? 199 : 255);
  }
  PasteKeyed(img, RenderMeteor(7, 64, 64, 28.0f), 118, -12);
  PasteKeyed(img, RenderMeteor(22, 34, 34, 14.0f), 104, 40);
  // The ship, banking, with a volley just fired.
  const float scale = 0.52f;
  const int shipX = 140, shipY = 62, lean = 4;
  for (int n = 0; n < 3; n += 2) {
    const int x = shipX + static_cast<int>(static_cast<float>(kGunX[lean][n]) * scale + 0.5f);
    for (int y = (n == 0 ? 28 : 0); y < shipY + 4; ++y) {
      if (y < 0) continue;
      img.At(x, y) = kShotCore;
      img.At(x - 1, y) = kShotGlow;
      img.At(x + 1, y) = kShotGlow;
    }
  }
  PasteKeyed(img, RenderBurst(1, 30, 30), 127, 12);
  PasteKeyed(img, RenderShip(lean, 0, scale), shipX, shipY);
  PasteKeyed(img, RenderText("ZUK", 116, 58, LetterStyle::Warm, 1.15f), 8, 12);
  PasteKeyed(img, RenderText("SCREEN SAVER", 118, 15, LetterStyle::Cool), 9, 78);
  PasteKeyed(img, RenderText("NO.1", 44, 15, LetterStyle::Red), 9, 100);
  return img;
}

}  // namespace zukgen
