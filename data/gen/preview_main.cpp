// zuk_preview DATADIR OUTDIR: turns the generated palette, sheets and splash
// picture into PNG files for judging the art by eye: each sheet, the sprite
// areas and the splash enlarged, a strip of the scrolling band, and a mock
// game screen composed the way the game draws it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/png_writer.h"

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> px;
  uint8_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Reads an uncompressed 8-bit bitmap (bottom-up) into palette indices.
bool LoadBmp8(const std::string& path, Picture& pic) {
  const std::vector<uint8_t> b = ReadAll(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t offset = Le32(b, 10);
  const int w = static_cast<int>(Le32(b, 18)), h = static_cast<int>(Le32(b, 22));
  if (w <= 0 || h <= 0 || (b[28] | (b[29] << 8)) != 8 || Le32(b, 30) != 0) return false;
  const size_t stride = (static_cast<size_t>(w) + 3) & ~static_cast<size_t>(3);
  if (offset + stride * static_cast<size_t>(h) > b.size()) return false;
  pic.width = w;
  pic.height = h;
  pic.px.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pic.px[static_cast<size_t>(y) * w + x] = b[offset + stride * (h - 1 - y) + x];
  return true;
}

struct Canvas {
  int width, height;
  std::vector<uint8_t> idx;
  Canvas(int w, int h) : width(w), height(h), idx(static_cast<size_t>(w) * h, 0) {}
  void Blit(const Picture& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int tx = dx + x, ty = dy + y;
        if (tx < 0 || ty < 0 || tx >= width || ty >= height) continue;
        const uint8_t v = src.At(sx + x, sy + y);
        if (keyed && v == 0) continue;
        idx[static_cast<size_t>(ty) * width + tx] = v;
      }
  }
};

bool WriteIndexed(const std::string& path, const std::vector<uint8_t>& pal, int w, int h,
                  const std::vector<uint8_t>& idx, int scale, int sx = 0, int sy = 0, int srcW = -1) {
  if (srcW < 0) srcW = w;
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * scale * h * scale * 3);
  for (int y = 0; y < h * scale; ++y)
    for (int x = 0; x < w * scale; ++x) {
      const uint8_t i = idx[static_cast<size_t>(sy + y / scale) * srcW + sx + x / scale];
      uint8_t* o = &rgb[(static_cast<size_t>(y) * w * scale + x) * 3];
      o[0] = pal[i * 3 + 0];  // red
      o[1] = pal[i * 3 + 2];  // green (stored third)
      o[2] = pal[i * 3 + 1];  // blue (stored second)
    }
  return WritePng(path, w * scale, h * scale, rgb.data());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATADIR OUTDIR\n", argv[0]);
    return 2;
  }
  const std::string in = argv[1], out = argv[2];
  const std::vector<uint8_t> pal = ReadAll(in + "/pal256.pal");
  if (pal.size() < 768) {
    std::fprintf(stderr, "cannot read %s/pal256.pal\n", in.c_str());
    return 1;
  }
  Picture sheet[5], splash;
  for (int n = 1; n <= 4; ++n)
    if (!LoadBmp8(in + "/bmp" + std::to_string(n) + ".bmp", sheet[n])) {
      std::fprintf(stderr, "cannot read bmp%d.bmp\n", n);
      return 1;
    }
  if (!LoadBmp8(in + "/splash.bmp", splash)) {
    std::fprintf(stderr, "cannot read splash.bmp\n");
    return 1;
  }
  bool ok = true;
  for (int n = 1; n <= 4; ++n)
    ok &= WriteIndexed(out + "/sheet" + std::to_string(n) + ".png", pal, 640, 480, sheet[n].px, 1);
  ok &= WriteIndexed(out + "/splash-3x.png", pal, splash.width, splash.height, splash.px, 3);
  // Sprite areas enlarged.
  ok &= WriteIndexed(out + "/meteors-2x.png", pal, 640, 425, sheet[1].px, 2, 0, 0, 640);
  ok &= WriteIndexed(out + "/lettering-3x.png", pal, 640 - 10, 92, sheet[1].px, 3, 10, 388, 640);
  ok &= WriteIndexed(out + "/ship-2x.png", pal, 600, 390, sheet[3].px, 2, 0, 0, 640);
  ok &= WriteIndexed(out + "/bursts-4x.png", pal, 345, 58, sheet[3].px, 4, 0, 422, 640);

  // The band: sheet 2 above sheet 4 above sheet 2 again, as it scrolls.
  Canvas band(640, 1440);
  band.Blit(sheet[2], 0, 0, 640, 480, 0, 0, false);
  band.Blit(sheet[4], 0, 0, 640, 480, 0, 480, false);
  band.Blit(sheet[2], 0, 0, 640, 480, 0, 960, false);
  ok &= WriteIndexed(out + "/band.png", pal, 640, 1440, band.idx, 1);

  // A mock game screen: background at scroll 300, stars, meteors, a burst,
  // the ship with its shots, and the score display.
  Canvas scene(640, 480);
  const int scroll = 300;
  scene.Blit(sheet[2], 0, 0, 640, 480, 0, scroll - 960, false);
  scene.Blit(sheet[4], 0, 0, 640, 480, 0, scroll - 480, false);
  scene.Blit(sheet[2], 0, 0, 640, 480, 0, scroll, false);
  uint32_t seed = 12345;
  auto rnd = [&](int n) {
    seed = seed * 134775813u + 1u;
    return static_cast<int>((static_cast<uint64_t>(seed) * static_cast<uint64_t>(n)) >> 32);
  };
  for (int i = 1; i <= 200; ++i) {
    const int x = rnd(640), y = rnd(480);
    const uint8_t colour = static_cast<uint8_t>(i < 100 ? 255 : (i < 150 ? 199 : 190));
    uint8_t& p = scene.idx[static_cast<size_t>(y) * 640 + x];
    if (p == 0) p = colour;
  }
  const int meteors[][3] = {{40, 40, 3}, {180, 120, 11}, {330, 20, 20}, {470, 160, 27}, {560, 60, 33}, {90, 230, 17}, {400, 300, 5}};
  for (const auto& m : meteors)
    scene.Blit(sheet[1], 80 * (m[2] % 8), 85 * (m[2] / 8), 80, 85, m[0], m[1], true);
  const int bursts[][2] = {{2, 56}, {59, 56}, {117, 56}, {175, 56}, {233, 51}, {291, 51}};
  for (int k = 0; k < 3; ++k)
    scene.Blit(sheet[3], bursts[2][0], 423, bursts[2][1], 56, 250 + 12 * k - 12, 200 + 7 * k - 7, true);
  const int shipX = 260, shipY = 330, lean = 2;
  const int guns[7][3] = {{19, 55, 95}, {15, 53, 95}, {10, 51, 94}, {7, 50, 92}, {4, 49, 89}, {3, 47, 85}, {3, 46, 80}};
  for (int n = 0; n < 3; ++n) {
    for (int v = 0; v < 3; ++v) {
      const int x = shipX + guns[lean][n], y = shipY - (n == 1 ? 30 : 0) - 100 * v - 20;
      for (int yy = y - 1; yy <= y + 61; ++yy)
        for (int xx = x - 1; xx <= x + 1; ++xx)
          if (yy >= 0 && yy < 480) scene.idx[static_cast<size_t>(yy) * 640 + xx] = (xx == x && yy >= y && yy <= y + 60) ? 249 : 251;
    }
  }
  const int cell = 2 * lean;
  scene.Blit(sheet[3], 100 * (cell % 6), 130 * (cell / 6), 100, 130, shipX, shipY, true);
  scene.Blit(sheet[1], 310, 449, 122, 30, 10, 10, true);
  scene.Blit(sheet[1], 388, 418, 168, 29, 300, 10, true);
  auto number = [&](int value, int digits, int x, int y) {
    std::string s = std::to_string(value);
    while (static_cast<int>(s.size()) < digits) s = "0" + s;
    for (int i = 0; i < digits; ++i, x += 25) {
      const int d = s[static_cast<size_t>(i)] - '0';
      scene.Blit(sheet[1], 333 + (d * 223) / 10, 389, 21, 27, x, y, true);
    }
  };
  number(42, 4, 155, 10);
  number(1234, 4, 490, 10);
  number(567, 3, 550, 445);
  scene.Blit(sheet[1], 432, 449, 208, 30, 220, 225, true);
  scene.Blit(sheet[1], 13, 449, 167, 30, 242, 260, true);
  ok &= WriteIndexed(out + "/scene.png", pal, 640, 480, scene.idx, 1);
  // The start caption on its own screen position, over the background.
  Canvas start(640, 480);
  start.Blit(sheet[4], 0, 0, 640, 480, 0, 0, false);
  start.Blit(sheet[1], 190, 449, 114, 30, 260, 240, true);
  ok &= WriteIndexed(out + "/scene-start.png", pal, 640, 480, start.idx, 1);
  if (!ok) {
    std::fprintf(stderr, "cannot write the previews into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
