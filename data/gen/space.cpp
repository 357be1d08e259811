// The scrolling space background: nebula clouds with dust lanes, distant
// galaxies and faint fixed stars over black, as one 640 x 960 band that
// repeats seamlessly in y (every noise field and every placed object wraps).
#include <cmath>

#include "art.h"

namespace zukgen {

namespace {

constexpr int kBandW = 640, kBandH = 960;
constexpr float kCell = 160.0f;  // pixels per base noise cell
constexpr int kPx = 4, kPy = 6;  // band size in base cells

float Atan2(float y, float x) {
  const float ax = std::fabs(x), ay = std::fabs(y);
  if (ax == 0 && ay == 0) return 0;
  const float z = ax > ay ? ay / ax : ax / ay;
  const float z2 = z * z;
  float a = z * (0.9998660f + z2 * (-0.3302995f + z2 * (0.1801410f + z2 * (-0.0851330f + z2 * 0.0208351f))));
  if (ay > ax) a = kPi / 2 - a;
  if (x < 0) a = kPi - a;
  return y < 0 ? -a : a;
}

// Wrapped vertical distance on the band.
float WrapDy(float dy) {
  if (dy > kBandH / 2) dy -= kBandH;
  if (dy < -kBandH / 2) dy += kBandH;
  return dy;
}

struct Galaxy {
  float x, y, radius, tilt, flat, twist;
  int arms;
  float glow;
};

struct Layers {
  std::vector<float> density;  // nebula brightness 0..1
  std::vector<Rgb> colour;
};

Rgb RampColour(Ramp r, float t) {
  const Palette& pal = GamePalette();
  const float pos = Clamp(t, 0, 1) * static_cast<float>(r.Size() - 1);
  const int i = static_cast<int>(pos);
  const int j = i + 1 < r.Size() ? i + 1 : i;
  return Mix(pal.colour[r.first + i], pal.colour[r.first + j], pos - static_cast<float>(i));
}

Layers Nebula() {
  Layers l;
  l.density.resize(static_cast<size_t>(kBandW) * kBandH);
  l.colour.resize(l.density.size());
  for (int y = 0; y < kBandH; ++y)
    for (int x = 0; x < kBandW; ++x) {
      const float u = static_cast<float>(x) / kCell, v = static_cast<float>(y) / kCell;
      // Domain warp for the billowing, streaky look.
      const float wu = u + 0.32f * Fbm2(u + 5.2f, v + 1.3f, kPx, kPy, 4, 0.5f, 101);
      const float wv = v + 0.32f * Fbm2(u + 1.7f, v + 9.2f, kPx, kPy, 4, 0.5f, 202);
      const float n = Fbm2(wu, wv, kPx, kPy, 7, 0.58f, 303);
      // Large-scale mask: where clouds are at all (leaves wide black gaps).
      const float mask = Fbm2(u * 0.5f + 0.3f, v * 0.5f, kPx / 2, kPy / 2, 2, 0.5f, 404);
      float d = Smoothstep(0.02f, 0.62f, n * 0.9f + mask * 1.1f - 0.02f);
      // Fine filaments and dark dust lanes.
      const float ridge = 1.0f - std::fabs(Fbm2(wu * 2 + 3.3f, wv * 2, kPx * 2, kPy * 2, 4, 0.5f, 505));
      const float lanes = Smoothstep(0.78f, 0.95f, ridge);
      d *= 0.75f + 0.45f * Smoothstep(0.5f, 0.9f, ridge);
      d *= 1.0f - 0.75f * lanes * Smoothstep(0.1f, 0.4f, d);
      d = 0.82f * Pow(Clamp(d, 0, 1), 1.5f);
      // Hue: violet clouds with magenta and teal regions.
      const float hue = Fbm2(u * 0.5f + 7.1f, v * 0.5f + 2.2f, kPx / 2, kPy / 2, 3, 0.5f, 606);
      const float hue2 = Fbm2(u * 0.5f + 3.9f, v * 0.5f + 8.4f, kPx / 2, kPy / 2, 3, 0.5f, 707);
      const float wm = Smoothstep(-0.05f, 0.3f, hue);
      const float wt = Smoothstep(0.1f, 0.35f, hue2) * (1 - wm);
      Rgb c = RampColour(kViolet, d * 0.95f);
      c = Mix(c, RampColour(kMagenta, d * 0.98f), wm);
      c = Mix(c, RampColour(kTeal, d * 1.0f), wt);
      // Faint brown dust streamers drifting across the open space.
      const float dustMask = Fbm2(u * 0.5f + 1.1f, v * 0.5f + 4.4f, kPx / 2, kPy / 2, 2, 0.5f, 808);
      const float streak = 1.0f - std::fabs(Fbm2(u + wu * 0.3f, v * 2.0f, kPx, kPy * 2, 4, 0.55f, 909));
      const float dust = 0.16f * Smoothstep(0.84f, 0.98f, streak) * Smoothstep(0.1f, 0.4f, dustMask) *
                         (1 - Smoothstep(0.05f, 0.3f, d)) * (0.6f + 0.4f * n);
      if (dust > d) {
        const Palette& pal = GamePalette();
        c = Mix(c, Mix(pal.colour[kSmoke.first], pal.colour[kSmoke.first + 2], dust * 5), Clamp((dust - d) * 12, 0, 1));
        d = dust;
      }
      const size_t i = static_cast<size_t>(y) * kBandW + x;
      l.density[i] = d;
      l.colour[i] = c;
    }
  return l;
}

void AddGalaxy(const Galaxy& g, Layers& l) {
  const int r = static_cast<int>(g.radius * 2.2f) + 2;
  const float ct = Cos(g.tilt), st = Sin(g.tilt);
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx) {
      const int x = static_cast<int>(g.x) + dx;
      if (x < 0 || x >= kBandW) continue;
      const int y = ((static_cast<int>(g.y) + dy) % kBandH + kBandH) % kBandH;
      const float fx = static_cast<float>(x) + 0.5f - g.x;
      const float fy = WrapDy(static_cast<float>(y) + 0.5f - g.y);
      // Galaxy frame: rotate, then undo the flattening of the disc.
      const float gx = (fx * ct + fy * st) / g.radius;
      const float gy = (-fx * st + fy * ct) / (g.radius * g.flat);
      const float rr = std::sqrt(gx * gx + gy * gy);
      if (rr > 2.2f) continue;
      const float core = Exp(-rr * rr * 30.0f);
      const float disc = Exp(-rr * 2.2f);
      float arms = 1;
      if (g.arms > 0) {
        const float th = Atan2(gy, gx) - g.twist * Log(rr + 0.05f);
        arms = 0.5f + 0.5f * Cos(static_cast<float>(g.arms) * th);
        arms = arms * arms;
      }
      const float b = g.glow * (1.1f * core + disc * (0.2f + 0.8f * arms) * 0.8f);
      if (b < 0.02f) continue;
      const Rgb warm = RampColour(kGalaxy, Clamp(b * 1.1f, 0, 1));
      const Rgb blue = RampColour(kViolet, Clamp(0.35f + b * 0.9f, 0, 1));
      const Rgb c = Mix(blue, warm, Clamp(core * 1.5f + 0.2f, 0, 1));
      const size_t i = static_cast<size_t>(y) * kBandW + x;
      const float w = Clamp(b * 1.6f, 0, 1);
      l.colour[i] = Mix(l.colour[i], c, w);
      l.density[i] = std::fmax(l.density[i], Clamp(b, 0, 1));
    }
}

}  // namespace

Image8 RenderBand() {
  Layers l = Nebula();
  Rng rng(0x5EED0B4Du);
  // Distant galaxies, placed where the nebula is thin.
  int placed = 0;
  for (int attempt = 0; attempt < 400 && placed < 7; ++attempt) {
    Galaxy g;
    g.x = rng.Range(40, kBandW - 40);
    g.y = rng.Range(0, kBandH);
    g.radius = rng.Range(12, 30);
    g.tilt = rng.Range(0, kPi);
    g.flat = rng.Range(0.3f, 0.9f);
    g.twist = rng.Range(1.8f, 3.2f);
    g.arms = rng.Int(3) == 0 ? 0 : 2;
    g.glow = rng.Range(0.55f, 0.95f);
    const size_t at = static_cast<size_t>(g.y) * kBandW + static_cast<size_t>(g.x);
    if (l.density[at] > 0.02f) continue;
    AddGalaxy(g, l);
    ++placed;
  }
  Image8 band(kBandW, kBandH);
  static Quantizer q(RampIndices({kViolet, kMagenta, kTeal, kGalaxy, kSmoke}, {kWarmWhite, 255}));
  for (int y = 0; y < kBandH; ++y)
    for (int x = 0; x < kBandW; ++x) {
      const size_t i = static_cast<size_t>(y) * kBandW + x;
      const float dither = Quantizer::Dither(x, y);
      // Below this the picture stays index 0: open space for the star field.
      if (l.density[i] < 0.045f + 0.03f * dither) continue;
      const Rgb c = l.colour[i];
      band.At(x, y) = q.Nearest({c.r + dither * 10, c.g + dither * 10, c.b + dither * 10});
    }
  // Faint fixed stars, a few with a small glow.
  for (int s = 0; s < 520; ++s) {
    const int x = rng.Int(kBandW), y = rng.Int(kBandH);
    const int kind = rng.Int(100);
    const float level = rng.Range(0.25f, 0.75f);
    const Ramp ramp = kind < 50 ? kViolet : (kind < 80 ? kTeal : kGalaxy);
    const int centre = ramp.At(kind < 97 ? level : 1.0f);
    band.At(x, y) = static_cast<uint8_t>(kind >= 97 ? 255 : centre);
    if (kind >= 94) {
      const int arm = kind >= 97 ? kViolet.At(0.7f) : ramp.At(level * 0.6f);
      const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
      for (int k = 0; k < 4; ++k) {
        const int ax = x + dx[k], ay = (y + dy[k] + kBandH) % kBandH;
        if (ax >= 0 && ax < kBandW && band.At(ax, ay) == 0) band.At(ax, ay) = static_cast<uint8_t>(arm);
      }
    }
  }
  return band;
}

}  // namespace zukgen
