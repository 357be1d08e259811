// Explosion sparks: the direction tables, the spawn and the per-frame pass.
#include <cmath>

#include "game/game.h"
#include "game/world_state.h"
#include "video/draw.h"

void BuildDirectionTables(WorldState& w) {
  for (int r = 0; r <= 100; ++r) {
    for (int a = 0; a <= 365; ++a) {
      // Extended precision with pi taken as 3.14159; the product is rounded
      // to single precision first, then to the nearest integer (halves to
      // even, the default rounding mode).
      const long double t = static_cast<long double>(a + 90) * 3.14159L / 180.0L;
      const float sx = static_cast<float>(std::sin(t) * static_cast<long double>(r));
      const float sy = static_cast<float>(std::cos(t) * static_cast<long double>(r));
      w.StepX[a][r] = static_cast<int32_t>(std::nearbyint(sx));
      w.StepY[a][r] = static_cast<int32_t>(std::nearbyint(sy));
    }
  }
}

void SpawnParticles(WorldState& w, int32_t x, int32_t y, int32_t count) {
  int32_t made = 0;
  for (int s = 0; s < kParticleSlots; ++s) {
    if (w.ParticleOn[s] == 0) {
      w.ParticleOn[s] = 1;
      w.ParticleX[s] = x + w.Random(40) - 20;
      w.ParticleY[s] = y + w.Random(40) - 20;
      w.ParticleAngle[s] = w.Random(360);
      w.ParticleSpeed[s] = w.Random(8) + 1;
      w.ParticleLife[s] = w.Random(5) + 15;
      made += 1;
      if (made > count) {
        w.ParticleOn[s] = 0;
        return;
      }
    }
  }
}

namespace {

// One flame box: a, b, c, d drawn in this order around (x, y).
void FlameBox(WorldState& w, int32_t x, int32_t y, int32_t colourIndex) {
  const int32_t a = w.Random(3);
  const int32_t b = w.Random(3);
  const int32_t c = w.Random(2);
  const int32_t d = w.Random(2);
  FillRect(w.Video, x - a - 1, y - b - 1, x + c + 1, y + d + 1, w.FlameColors[colourIndex]);
}

}  // namespace

void UpdateParticles(WorldState& w) {
  for (int s = 0; s < kParticleSlots; ++s) {
    if (w.ParticleOn[s] != 1) continue;
    const int32_t angle = w.ParticleAngle[s];
    const int32_t speed = w.ParticleSpeed[s];
    // Angles are 0..359 and speeds 1..8 by construction; the tables cover
    // 0..365 and 0..100.
    if (angle >= 0 && angle <= 365 && speed >= 0 && speed <= 100) {
      w.ParticleX[s] += w.StepX[angle][speed];
      w.ParticleY[s] += w.StepY[angle][speed];
    }
    w.ParticleLife[s] -= 1;
    if (w.ParticleLife[s] < 0) w.ParticleOn[s] = 0;
    const int32_t x = w.ParticleX[s];
    const int32_t y = w.ParticleY[s];
    const int32_t life = w.ParticleLife[s];
    if (life >= 13) {
      w.Random(4);
      w.Random(4);
      // The first box: a, b, c, d, then the colour k.
      const int32_t a = w.Random(3);
      const int32_t b = w.Random(3);
      const int32_t c = w.Random(2);
      const int32_t d = w.Random(2);
      const int32_t k = w.Random(8);
      FillRect(w.Video, x - a - 1, y - b - 1, x + c + 1, y + d + 1, w.FlameColors[k]);
      // The second box: the colour first, then a, b, c, d.
      const int32_t k2 = w.Random(3) + 3;
      FlameBox(w, x, y, k2);
    } else if (life >= 10) {
      const int32_t k = w.Random(8);
      FillRect(w.Video, x - 2, y - 2, x + 1, y + 1, w.FlameColors[k]);
    } else if (life >= 7) {
      FillRect(w.Video, x - 1, y - 1, x + 1, y + 1, 255);
    } else if (life >= 4) {
      FillRect(w.Video, x, y, x + 1, y + 1, 255);
    } else {
      FillRect(w.Video, x, y, x, y, 255);
    }
  }
}
