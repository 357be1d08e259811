// The small burst drawn over a meteor that is hit: a fireball that grows
// white-hot, cools through yellow and orange, then tears into glowing
// fragments and smoke that fade out.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace zukgen {

Image8 RenderBurst(int stage, int width, int height) {
  struct Look {
    float radius, heat, breakup, hollow, smoke;
  };
  static const Look kLooks[6] = {
      {10.5f, 1.00f, 0.00f, 0.0f, 0.0f}, {16.5f, 0.97f, 0.00f, 0.1f, 0.0f},
      {21.5f, 0.86f, 0.10f, 0.3f, 0.2f}, {24.5f, 0.70f, 0.30f, 0.6f, 0.5f},
      {24.5f, 0.52f, 0.46f, 0.8f, 0.7f}, {24.0f, 0.38f, 0.60f, 0.9f, 0.9f},
  };
  const Look& k = kLooks[stage];
  const Palette& pal = GamePalette();
  ImageRgba img(width, height);
  const float cx = width * 0.5f, cy = height * 0.5f;
  const float limit = std::fmin(cx, cy) - 1.0f;
  const float radius = std::fmin(k.radius, limit / 1.22f);
  const float grow = radius / 24.0f;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float fx = static_cast<float>(x) + 0.5f - cx, fy = static_cast<float>(y) + 0.5f - cy;
      const float dist = std::sqrt(fx * fx + fy * fy);
      if (dist > limit) continue;
      // Billows scale with the fireball, so the stages read as one cloud growing.
      const float u = fx / (7.0f * grow + 2.0f), v = fy / (7.0f * grow + 2.0f);
      const float n = Fbm2(u + 11.0f, v + 5.0f, 0, 0, 4, 0.55f, 9001);
      const float r = dist / radius * (1.0f - 0.22f * n);
      float density = 1.0f - Smoothstep(0.75f, 1.0f, r);
      if (density <= 0) continue;
      if (k.breakup > 0) {
        const float holes = 0.5f + 0.5f * Fbm2(u * 1.6f + 3.0f, v * 1.6f, 0, 0, 3, 0.5f, 9100);
        density *= Smoothstep(k.breakup, k.breakup + 0.14f, holes + 0.25f * (1 - r));
      }
      const float swirl = Fbm2(u * 2.2f + 7.0f, v * 2.2f + 1.0f, 0, 0, 3, 0.5f, 9200);
      float heat = k.heat * (1.05f - 0.55f * r * r) * (0.72f + 0.28f * (0.5f + 0.5f * n) + 0.35f * swirl);
      heat *= Lerp(1.0f, 0.35f + 0.65f * Smoothstep(0.1f, 0.85f, r), k.hollow);
      if (density < 0.2f) continue;
      Rgb fire;
      {
        const float pos = Clamp(heat, 0, 1) * static_cast<float>(kFire.Size() - 1);
        const int i = static_cast<int>(pos);
        fire = Mix(pal.colour[kFire.first + i], pal.colour[kFire.first + std::min(i + 1, kFire.Size() - 1)],
                   pos - static_cast<float>(i));
      }
      const float soot = Clamp(0.05f + 1.1f * (0.5f + 0.5f * swirl) * (stage == 5 ? 0.55f : 0.85f), 0, 1);
      const Rgb smoke = Mix(pal.colour[kSmoke.first], pal.colour[kSmoke.last], soot);
      const float smokiness = k.smoke * (1 - Smoothstep(0.22f, 0.5f, heat));
      const size_t i = img.Index(x, y);
      img.rgb[i] = Mix(fire, smoke, smokiness);
      img.alpha[i] = 1;
    }
  // Glowing fragments flung outwards in the later stages.
  if (stage >= 2) {
    Rng rng(0xB1A57u);
    for (int f = 0; f < 14; ++f) {
      const float a = rng.Range(0, 2 * kPi), speed = rng.Range(0.75f, 1.0f);
      const float rr = std::fmin(limit - 1.5f, radius * speed * (0.55f + 0.18f * static_cast<float>(stage)));
      const float px = cx + Cos(a) * rr, py = cy + Sin(a) * rr;
      const float heat = Clamp(1.1f - 0.16f * static_cast<float>(stage) + rng.Range(-0.1f, 0.1f), 0, 1);
      const int colour = heat > 0.8f ? 199 : (heat > 0.6f ? 190 : (heat > 0.4f ? 184 : 178));
      const int size = stage <= 3 ? 2 : 1;
      for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
          const int x = static_cast<int>(px) + i, y = static_cast<int>(py) + j;
          if (x < 0 || y < 0 || x >= width || y >= height) continue;
          img.rgb[img.Index(x, y)] = pal.colour[colour];
          img.alpha[img.Index(x, y)] = 1;
        }
    }
  }
  static Quantizer q(RampIndices({kFire, kSmoke, kFlameMid, kFlameHigh}, {177, 178, 184, 190, 199, 255}));
  return QuantizeRgba(img, q, 8.0f);
}

}  // namespace zukgen
