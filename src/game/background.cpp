// The scrolling background, the star field and the score display.
#include <cstddef>

#include "game/game.h"
#include "game/world_state.h"
#include "video/ddraw.h"
#include "video/draw.h"

using namespace dx;

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

// Writes a star pixel where the picture holds index 0; never outside.
inline void PutStarPixel(uint8_t* pixels, int32_t pitch, int32_t x, int32_t y, int32_t colour) {
  if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return;
  uint8_t& p = pixels[static_cast<ptrdiff_t>(y) * pitch + x];
  if (p == 0) p = static_cast<uint8_t>(colour);
}

// The digit strip of sheet 1.
void DrawGameNumber(WorldState& w, int32_t x, int32_t y, int32_t value, int32_t digits) {
  DrawNumber(w.Video, 1, x, y, 333, 389, 223, 26, value, digits);
}

}  // namespace

void PlaceStars(WorldState& w) {
  static const int32_t kColours[3] = {255, 199, 190};
  for (int i = 0; i < kStarCount; ++i) {
    w.StarX[i] = w.Random(640);
    w.StarY[i] = w.Random(480);
    w.StarColor[i] = kColours[w.Random(3)];
  }
}

void DrawBackground(WorldState& w) {
  Blit(w.Video, 2, 0, w.ScrollY - 960, 0, 0, 639, 479, kBlitOpaque);
  Blit(w.Video, 4, 0, w.ScrollY - 480, 0, 0, 639, 479, kBlitOpaque);
  Blit(w.Video, 2, 0, w.ScrollY, 0, 0, 639, 479, kBlitOpaque);
  w.ScrollY += 1;
  if (w.ScrollY >= 960) w.ScrollY = 0;
}

void DrawStars(WorldState& w, uint8_t* pixels, int32_t pitch) {
  const int32_t f = w.FrameNo;
  const bool move2 = f % 2 == 0;
  const bool move16 = f % 16 == 0;
  const bool move4 = f % 4 == 0;
  const bool move8 = f % 8 == 0;
  for (int32_t i = 1; i <= kStarCount; ++i) {
    const int idx = i - 1;
    const int32_t x = w.StarX[idx];
    const int32_t y = w.StarY[idx];
    if ((i < 50 && move2) || (i >= 50 && i < 100 && move16) || (i >= 100 && i < 150 && move4) ||
        (i >= 150 && move8)) {
      w.StarY[idx] += 1;
    }
    if (i % 10 == 0) {
      const int32_t arm = i <= 100 ? 190 : 199;
      PutStarPixel(pixels, pitch, x, y, 255);
      if (y > 0) {
        PutStarPixel(pixels, pitch, x, y - 1, arm);
        PutStarPixel(pixels, pitch, x - 1, y, arm);
      }
      if (y < 479) {
        PutStarPixel(pixels, pitch, x, y + 1, arm);
        PutStarPixel(pixels, pitch, x + 1, y, arm);
      }
    }
    if (w.StarY[idx] > 479) w.StarY[idx] = 0;
    PutStarPixel(pixels, pitch, x, y, w.StarColor[idx]);
  }
}

bool DrawStarField(WorldState& w) {
  DisplayDevice& d = w.Video;
  if (d.BackSurface == nullptr) return false;
  RECT whole;
  whole.left = 0;
  whole.top = 0;
  whole.right = 639;
  whole.bottom = 479;
  bool locked = false;
  for (int attempt = 0; attempt < 100 && !locked; ++attempt) {
    locked = SUCCEEDED(d.BackSurface->Lock(&whole, &d.PrimaryDesc, DDLOCK_WAIT, nullptr));
  }
  if (!locked) return false;
  DrawStars(w, static_cast<uint8_t*>(d.PrimaryDesc.lpSurface), d.PrimaryDesc.lPitch);
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (SUCCEEDED(d.BackSurface->Unlock(nullptr))) break;
  }
  return true;
}

uint16_t* HiScoreEntry(WorldState& w) {
  if (w.MaxMeteors < 0 || w.MaxMeteors >= kHiScoreEntries) return nullptr;
  return &w.HiScoreTable[w.MaxMeteors];
}

void DrawScore(WorldState& w) {
  if (w.TimeLeft < 1000) DrawGameNumber(w, 550, 445, w.TimeLeft, 3);
  Blit(w.Video, 1, 10, 10, 310, 449, 431, 478, kBlitKeyed);
  DrawGameNumber(w, 155, 10, w.Score, 4);
  Blit(w.Video, 1, 300, 10, 388, 418, 555, 446, kBlitKeyed);
  DrawGameNumber(w, 490, 10, w.HiScore, 4);
  if (w.Score > w.HiScore) {
    w.HiScore = w.Score;
    w.NewRecord = 1;
    // Meteor counts above 50 have no entry: their records are not kept.
    if (uint16_t* entry = HiScoreEntry(w)) *entry = static_cast<uint16_t>(w.HiScore);
  }
  if (w.FrameNo % 20 > 5) {
    if ((w.GameTimeLong == 0 && w.TimeLeft > 900) || (w.GameTimeLong == 1 && w.TimeLeft > 960)) {
      Blit(w.Video, 1, 260, 240, 190, 449, 303, 478, kBlitKeyed);
    }
    if (w.TimeLeft == 0) {
      Blit(w.Video, 1, 220, 225, 432, 449, 639, 478, kBlitKeyed);
      if (w.NewRecord == 1) Blit(w.Video, 1, 242, 260, 13, 449, 179, 478, kBlitKeyed);
    }
  }
}
