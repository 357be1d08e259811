#include "video/sheet_files.h"

#include <SDL.h>

#include <cstdlib>
#include <unordered_map>

using namespace dx;

namespace {

uint32_t Le16(std::string_view b, size_t at) {
  return uint32_t{static_cast<uint8_t>(b[at])} | uint32_t{static_cast<uint8_t>(b[at + 1])} << 8;
}

uint32_t Le32(std::string_view b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

// Nearest palette colour (squared distance in RGB; the lowest index wins a
// tie), with a cache of the colours already seen.
class ColourMatcher {
 public:
  explicit ColourMatcher(const PALETTEENTRY* pal) : pal_(pal) {}

  uint8_t Nearest(uint8_t r, uint8_t g, uint8_t b) {
    const uint32_t key = (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    int best = 0;
    int bestDist = 1 << 30;
    for (int i = 0; i < 256 && bestDist != 0; ++i) {
      const int dr = int{pal_[i].peRed} - r;
      const int dg = int{pal_[i].peGreen} - g;
      const int db = int{pal_[i].peBlue} - b;
      const int dist = dr * dr + dg * dg + db * db;
      if (dist < bestDist) {
        bestDist = dist;
        best = i;
      }
    }
    cache_.emplace(key, static_cast<uint8_t>(best));
    return static_cast<uint8_t>(best);
  }

 private:
  const PALETTEENTRY* pal_;
  std::unordered_map<uint32_t, uint8_t> cache_;
};

// The copied area: the requested rectangle, cut to the bitmap and to the
// sheet. False when nothing is left.
struct CopyArea {
  int64_t sx = 0, sy = 0, dx = 0, dy = 0, cw = 0, ch = 0;
};

bool ClipArea(const SheetTarget& t, int32_t bmpW, int32_t bmpH, CopyArea& a) {
  a.cw = t.w < bmpW ? t.w : bmpW;
  a.ch = t.h < bmpH ? t.h : bmpH;
  a.dx = t.x;
  a.dy = t.y;
  if (a.dx < 0) { a.sx -= a.dx; a.cw += a.dx; a.dx = 0; }
  if (a.dy < 0) { a.sy -= a.dy; a.ch += a.dy; a.dy = 0; }
  if (a.dx + a.cw > t.width) a.cw = t.width - a.dx;
  if (a.dy + a.ch > t.height) a.ch = t.height - a.dy;
  return a.cw > 0 && a.ch > 0;
}

void CopyIndexed(SDL_Surface* bmp, const PALETTEENTRY* palette, const SheetTarget& t, const CopyArea& a) {
  ColourMatcher matcher(palette);
  const SDL_Palette* pal = bmp->format->palette;
  // Each colour of the table maps once: an entry equal to the game
  // palette's entry of the same index keeps its index.
  uint8_t map[256];
  for (int i = 0; i < 256; ++i) {
    if (i < pal->ncolors) {
      const SDL_Color c = pal->colors[i];
      const PALETTEENTRY& g = palette[i];
      map[i] = (c.r == g.peRed && c.g == g.peGreen && c.b == g.peBlue) ? static_cast<uint8_t>(i)
                                                                        : matcher.Nearest(c.r, c.g, c.b);
    } else {
      map[i] = 0;
    }
  }
  SDL_LockSurface(bmp);
  for (int64_t row = 0; row < a.ch; ++row) {
    const uint8_t* in = static_cast<const uint8_t*>(bmp->pixels) + (a.sy + row) * bmp->pitch + a.sx;
    uint8_t* o = t.pixels + (a.dy + row) * t.pitch + a.dx;
    for (int64_t i = 0; i < a.cw; ++i) o[i] = map[in[i]];
  }
  SDL_UnlockSurface(bmp);
}

bool CopyTrueColour(SDL_Surface* bmp, const PALETTEENTRY* palette, const SheetTarget& t, const CopyArea& a) {
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(bmp, SDL_PIXELFORMAT_ARGB8888, 0);
  if (rgb == nullptr) return false;
  ColourMatcher matcher(palette);
  SDL_LockSurface(rgb);
  for (int64_t row = 0; row < a.ch; ++row) {
    const uint32_t* in =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + (a.sy + row) * rgb->pitch) +
        a.sx;
    uint8_t* o = t.pixels + (a.dy + row) * t.pitch + a.dx;
    uint32_t last = 0xFFFFFFFFu;
    uint8_t lastIdx = 0;
    for (int64_t i = 0; i < a.cw; ++i) {
      const uint32_t p = in[i] & 0xFFFFFFu;
      if (p != last) {
        last = p;
        lastIdx =
            matcher.Nearest(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
      }
      o[i] = lastIdx;
    }
  }
  SDL_UnlockSurface(rgb);
  SDL_FreeSurface(rgb);
  return true;
}

}  // namespace

bool PaletteFromFile(std::string_view file, PALETTEENTRY entries[256]) {
  if (file.empty()) return false;
  for (size_t i = 0; i < 256; ++i) {
    auto at = [&](size_t k) { return k < file.size() ? static_cast<uint8_t>(file[k]) : uint8_t{0}; };
    entries[i].peRed = at(3 * i);
    entries[i].peGreen = at(3 * i + 2);
    entries[i].peBlue = at(3 * i + 1);
    entries[i].peFlags = 0;
  }
  return true;
}

bool BitmapHeaderAcceptable(std::string_view file) {
  constexpr size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 4 || file[0] != 'B' || file[1] != 'M') return false;
  const uint64_t pixelOffset = Le32(file, 10);
  const uint32_t infoSize = Le32(file, kFileHeader);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {  // the OS/2 core header: 16-bit sizes
    if (file.size() < kFileHeader + 12) return false;
    width = Le16(file, 18);
    height = Le16(file, 20);
    bits = Le16(file, 24);
  } else if (infoSize >= 16) {
    if (file.size() < kFileHeader + 16) return false;
    width = static_cast<int32_t>(Le32(file, 18));
    height = static_cast<int32_t>(Le32(file, 22));
    bits = Le16(file, 28);
    if (infoSize >= 20) {
      if (file.size() < kFileHeader + 20) return false;
      compression = Le32(file, 30);
    }
  } else {
    return false;
  }
  if (height < 0) height = -height;  // stored top row first
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) return false;
  if (pixelOffset > file.size()) return false;
  switch (compression) {
    case 0:  // uncompressed
    case 3: {  // uncompressed with colour masks
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
      const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
      return rowBytes * static_cast<uint64_t>(height) <= file.size() - pixelOffset;
    }
    case 1:  // run-length coded, 8 bits
    case 2:  // run-length coded, 4 bits
      // A run or a skip stands for many pixels, so only the side limit
      // bounds the picture.
      return bits == 8 || bits == 4;
    default:
      return false;
  }
}

bool CopyBitmapToSheet(std::string_view file, const PALETTEENTRY palette[256], const SheetTarget& target) {
  if (!BitmapHeaderAcceptable(file)) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (rw == nullptr) return false;
  SDL_Surface* bmp = SDL_LoadBMP_RW(rw, 1);
  if (bmp == nullptr) return false;
  bool ok = true;
  CopyArea area;
  if (target.pixels != nullptr && ClipArea(target, bmp->w, bmp->h, area)) {
    if (bmp->format->BitsPerPixel == 8 && bmp->format->palette != nullptr) {
      CopyIndexed(bmp, palette, target, area);
    } else {
      ok = CopyTrueColour(bmp, palette, target, area);
    }
  }
  SDL_FreeSurface(bmp);
  return ok;
}
