// The palette file and the sprite sheets. A sheet bitmap's colours become
// palette indices: a bitmap stored with the game palette keeps its indices,
// any other colour takes the nearest palette colour.
#include "video/sheets.h"

#include <SDL.h>

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "main/unit1.h"
#include "main/world_state.h"
#include "ui/unit5.h"
#include "video/display.h"

namespace {

// Releases the devices, hides the game window and reports the fatal error.
[[noreturn]] void FailLoading(WorldState& w, const std::string& message) {
  ReleaseDevices(w);
  if (Form1) Form1->HideGameWindow();
  w.ErrorText = message;
  ReportFatalError(message);
}

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

std::string BaseName(const std::string& path) {
  const size_t p = path.find_last_of("/\\");
  return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace

void LoadPalette(WorldState& w, const std::string& fileName) {
  DisplayDevice& d = w.Video;
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (f == nullptr) FailLoading(w, "PAL256.PALがありません。");
  // Entries past the end of a short file stay black.
  uint8_t buf[1000] = {};
  const size_t got = std::fread(buf, 1, sizeof buf, f);
  (void)got;
  std::fclose(f);
  for (int i = 0; i < 256; ++i) {
    d.PaletteEntries[i].peRed = buf[3 * i];
    d.PaletteEntries[i].peGreen = buf[3 * i + 2];
    d.PaletteEntries[i].peBlue = buf[3 * i + 1];
    d.PaletteEntries[i].peFlags = 0;
  }
  if (d.DDPalette) d.DDPalette->SetEntries(0, 0, 256, d.PaletteEntries);
  if (d.PrimarySurface) d.PrimarySurface->SetPalette(d.DDPalette);
}

void LoadSheet(WorldState& w, int32_t sheet, const std::string& fileName, int32_t x, int32_t y,
               int32_t width, int32_t height) {
  DisplayDevice& d = w.Video;
  SDL_Surface* bmp = SDL_LoadBMP(fileName.c_str());
  if (bmp == nullptr) FailLoading(w, BaseName(fileName) + "が読み込めません。");
  IDirectDrawSurface* dst = d.Sheet(sheet);
  if (dst == nullptr) {
    SDL_FreeSurface(bmp);
    return;
  }
  // The copied area: the requested rectangle, cut to the bitmap and to the
  // sheet.
  int64_t cw = width, ch = height;
  if (cw > bmp->w) cw = bmp->w;
  if (ch > bmp->h) ch = bmp->h;
  int64_t sx = 0, sy = 0, dx = x, dy = y;
  if (dx < 0) { sx -= dx; cw += dx; dx = 0; }
  if (dy < 0) { sy -= dy; ch += dy; dy = 0; }
  if (dx + cw > dst->Width()) cw = dst->Width() - dx;
  if (dy + ch > dst->Height()) ch = dst->Height() - dy;
  if (cw <= 0 || ch <= 0) {
    SDL_FreeSurface(bmp);
    return;
  }

  ColourMatcher matcher(d.PaletteEntries);
  uint8_t* out = dst->Pixels() + dy * dst->Pitch() + dx;
  const int32_t outPitch = dst->Pitch();
  SDL_Palette* pal = bmp->format->palette;
  if (bmp->format->BitsPerPixel == 8 && pal != nullptr) {
    // Each colour of the table maps once: an entry equal to the game
    // palette's entry of the same index keeps its index.
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
      if (i < pal->ncolors) {
        const SDL_Color c = pal->colors[i];
        const PALETTEENTRY& g = d.PaletteEntries[i];
        map[i] = (c.r == g.peRed && c.g == g.peGreen && c.b == g.peBlue)
                     ? static_cast<uint8_t>(i)
                     : matcher.Nearest(c.r, c.g, c.b);
      } else {
        map[i] = 0;
      }
    }
    SDL_LockSurface(bmp);
    for (int64_t row = 0; row < ch; ++row) {
      const uint8_t* in = static_cast<const uint8_t*>(bmp->pixels) + (sy + row) * bmp->pitch + sx;
      uint8_t* o = out + row * outPitch;
      for (int64_t i = 0; i < cw; ++i) o[i] = map[in[i]];
    }
    SDL_UnlockSurface(bmp);
  } else {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(bmp, SDL_PIXELFORMAT_ARGB8888, 0);
    if (rgb == nullptr) {
      SDL_FreeSurface(bmp);
      FailLoading(w, BaseName(fileName) + "が読み込めません。");
    }
    SDL_LockSurface(rgb);
    for (int64_t row = 0; row < ch; ++row) {
      const uint32_t* in = reinterpret_cast<const uint32_t*>(
                               static_cast<const uint8_t*>(rgb->pixels) + (sy + row) * rgb->pitch) +
                           sx;
      uint8_t* o = out + row * outPitch;
      uint32_t last = 0xFFFFFFFFu;
      uint8_t lastIdx = 0;
      for (int64_t i = 0; i < cw; ++i) {
        const uint32_t p = in[i] & 0xFFFFFFu;
        if (p != last) {
          last = p;
          lastIdx = matcher.Nearest(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                    static_cast<uint8_t>(p));
        }
        o[i] = lastIdx;
      }
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
  }
  SDL_FreeSurface(bmp);
}
