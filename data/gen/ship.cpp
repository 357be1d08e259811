// The player's ship: a small 3-D model (lofted fuselage, canopy, engine
// nacelles, swept wings hanging below the body with gun pods at the tips,
// canted tail fins) rolled about its long axis, rasterised with a depth
// buffer and per-pixel shading at 3 x 3 samples per pixel, plus plasma
// flames drawn behind it.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "art.h"

namespace zukgen {

namespace {

enum Material { kHull, kDark, kRedPaint, kGlassMat, kNozzle, kMaterials };

struct MaterialLook {
  Rgb base;  // 0..1 per channel
  float specular, shininess, emissive;
};

const MaterialLook kLooks[kMaterials] = {
    {{0.80f, 0.83f, 0.90f}, 0.45f, 18, 0},
    {{0.36f, 0.40f, 0.50f}, 0.35f, 14, 0},
    {{0.90f, 0.14f, 0.14f}, 0.40f, 16, 0},
    {{0.10f, 0.42f, 0.90f}, 0.90f, 40, 0.08f},
    {{0.55f, 0.85f, 1.00f}, 0, 1, 1.0f},
};

struct Vertex {
  Vec3 p, n;
};
struct Triangle {
  Vertex v[3];
  Material m;
  bool flat;
};

struct Section {
  float y, cx, cz, hw, hh;
  Material m;  // material from this section to the next
};

void Loft(const std::vector<Section>& s, int sides, std::vector<Triangle>& out, bool capStart = true, bool capEnd = true) {
  auto point = [&](const Section& sec, int k) {
    const float a = 2 * kPi * static_cast<float>(k) / static_cast<float>(sides);
    return Vec3{sec.cx + sec.hw * Cos(a), sec.y, sec.cz + sec.hh * Sin(a)};
  };
  auto normal = [&](size_t i, int k) {
    const float a = 2 * kPi * static_cast<float>(k) / static_cast<float>(sides);
    const size_t p = i > 0 ? i - 1 : i, q = i + 1 < s.size() ? i + 1 : i;
    const float dr = (s[q].hw + s[q].hh - s[p].hw - s[p].hh) * 0.5f;
    const float dy = s[q].y - s[p].y;
    const float slope = dy != 0 ? dr / dy : 0;
    return Normalize({Cos(a) * s[i].hh, -slope * (s[i].hw + s[i].hh) * 0.5f, Sin(a) * s[i].hw});
  };
  for (size_t i = 0; i + 1 < s.size(); ++i)
    for (int k = 0; k < sides; ++k) {
      const Vertex a{point(s[i], k), normal(i, k)}, b{point(s[i], k + 1), normal(i, k + 1)};
      const Vertex c{point(s[i + 1], k), normal(i + 1, k)}, d{point(s[i + 1], k + 1), normal(i + 1, k + 1)};
      out.push_back({{a, b, d}, s[i].m, false});
      out.push_back({{a, d, c}, s[i].m, false});
    }
  auto cap = [&](const Section& sec, Material m, float dir) {
    const Vertex centre{{sec.cx, sec.y, sec.cz}, {0, dir, 0}};
    for (int k = 0; k < sides; ++k)
      out.push_back({{centre, {point(sec, k), {0, dir, 0}}, {point(sec, k + 1), {0, dir, 0}}}, m, true});
  };
  if (capStart) cap(s.front(), s.front().m, -1);
  if (capEnd) cap(s.back(), s.back().m, 1);
}

void Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Material m, std::vector<Triangle>& out) {
  out.push_back({{{a, {}}, {b, {}}, {c, {}}}, m, true});
  out.push_back({{{a, {}}, {c, {}}, {d, {}}}, m, true});
}

// One wing (side = -1 left, +1 right) from the root to the gun pod.
void Wing(float side, std::vector<Triangle>& out) {
  struct Station {
    float x, le, te, z, thick;
    Material m;
  };
  const Station st[] = {
      {8, -12, 27, -5.0f, 2.6f, kHull},  {21, -4, 24, -9.5f, 2.0f, kRedPaint},
      {26, -1, 23, -11.2f, 1.8f, kHull}, {39.5f, 6, 19, -16.0f, 1.4f, kHull},
  };
  for (size_t i = 0; i + 1 < std::size(st); ++i) {
    const Station& a = st[i];
    const Station& b = st[i + 1];
    auto le = [&](const Station& s) { return Vec3{side * s.x, s.le, s.z}; };
    auto te = [&](const Station& s) { return Vec3{side * s.x, s.te, s.z}; };
    auto ridge = [&](const Station& s, float dz) { return Vec3{side * s.x, Lerp(s.le, s.te, 0.38f), s.z + dz}; };
    // Upper surface (leading part, trailing part), lower surface.
    Quad(le(a), le(b), ridge(b, b.thick), ridge(a, a.thick), a.m, out);
    Quad(ridge(a, a.thick), ridge(b, b.thick), te(b), te(a), a.m, out);
    Quad(le(a), le(b), ridge(b, -b.thick * 0.6f), ridge(a, -a.thick * 0.6f), kDark, out);
    Quad(ridge(a, -a.thick * 0.6f), ridge(b, -b.thick * 0.6f), te(b), te(a), kDark, out);
  }
}

std::vector<Triangle> BuildShip() {
  std::vector<Triangle> t;
  // Fuselage: the roll axis runs through it at z = 0.
  Loft({{-59, 0, -3, 0.8f, 0.8f, kRedPaint},
        {-54, 0, -2.5f, 3.0f, 2.6f, kRedPaint},
        {-44, 0, -1.5f, 5.6f, 4.6f, kHull},
        {-28, 0, 0, 8.0f, 6.8f, kHull},
        {-8, 0, 0.5f, 9.8f, 8.2f, kHull},
        {14, 0, 0.5f, 10.2f, 8.2f, kHull},
        {30, 0, 0, 9.2f, 7.0f, kDark},
        {37, 0, -0.5f, 7.6f, 5.6f, kDark}},
       14, t);
  // Canopy on top of the fuselage.
  Loft({{-38, 0, 5.0f, 0.6f, 0.6f, kGlassMat},
        {-33, 0, 5.5f, 3.0f, 3.6f, kGlassMat},
        {-24, 0, 6.2f, 4.4f, 4.6f, kGlassMat},
        {-12, 0, 6.4f, 4.2f, 4.2f, kGlassMat},
        {-4, 0, 6.0f, 2.4f, 2.8f, kGlassMat}},
       12, t);
  // Dorsal spine behind the canopy.
  Loft({{-6, 0, 6.5f, 1.6f, 2.4f, kRedPaint}, {20, 0, 6.5f, 1.8f, 2.6f, kRedPaint}, {30, 0, 5.0f, 1.0f, 1.4f, kRedPaint}}, 8, t);
  for (float side : {-1.0f, 1.0f}) {
    // Engine nacelles with glowing nozzles.
    Loft({{4, side * 13, -3, 2.0f, 2.0f, kDark},
          {10, side * 13, -3, 5.0f, 5.0f, kHull},
          {30, side * 13, -3, 5.4f, 5.4f, kDark},
          {39, side * 13, -3, 4.8f, 4.8f, kDark}},
         12, t, true, false);
    Loft({{39, side * 13, -3, 3.6f, 3.6f, kNozzle}, {39.2f, side * 13, -3, 0.1f, 0.1f, kNozzle}}, 12, t, false, false);
    Wing(side, t);
    // Gun pod at the wing tip: barrel forward, body, tail cone.
    const float px = side * 42.5f, pz = -17.0f;
    Loft({{-61, px, pz, 1.7f, 1.7f, kDark},
          {-42, px, pz, 1.9f, 1.9f, kDark},
          {-40, px, pz, 2.4f, 2.4f, kDark},
          {-36, px, pz, 2.6f, 2.6f, kDark},
          {-30, px, pz, 3.6f, 3.6f, kHull},
          {-10, px, pz, 4.0f, 4.0f, kRedPaint},
          {-4, px, pz, 4.0f, 4.0f, kHull},
          {16, px, pz, 3.6f, 3.6f, kHull},
          {24, px, pz, 1.2f, 1.2f, kDark}},
         10, t);
    // Canted tail fin.
    const float root = side * 6.0f;
    const Vec3 a{root, 14, 5}, b{root, 36, 4};
    const Vec3 c{root + side * 9.0f, 38, 15}, d{root + side * 7.0f, 28, 16};
    Quad(a, b, c, d, kHull, t);
    Quad(d, c, Vec3{c.x, c.y + 0.5f, c.z - 0.5f}, Vec3{d.x, d.y + 0.5f, d.z - 0.5f}, kRedPaint, t);
  }
  return t;
}

constexpr int kSub = 3;

struct Sample {
  float depth = -1e9f;
  Rgb colour;
  bool covered = false;
};

Vec3 Roll(Vec3 p, float c, float s) { return {p.x * c + p.z * s, p.y, -p.x * s + p.z * c}; }

}  // namespace

Image8 RenderShip(int lean, int phase, float scale) {
  static const std::vector<Triangle> model = BuildShip();
  const int width = static_cast<int>(std::floor(kShipW * scale + 0.5f));
  const int height = static_cast<int>(std::floor(kShipH * scale + 0.5f));
  const int sw = width * kSub, sh = height * kSub;
  std::vector<Sample> samples(static_cast<size_t>(sw) * sh);

  // Roll: full left lean (0) drops the left wing.
  const float angle = static_cast<float>(lean - 3) * (9.2f * kPi / 180.0f);
  const float rc = Cos(angle), rs = Sin(angle);
  // Horizontal warp so that the muzzles of the pods and the nose gun land on
  // the gun table's columns: a quadratic through three points.
  const float xl = Roll({-42.5f, -61, -17}, rc, rs).x, xr = Roll({42.5f, -61, -17}, rc, rs).x;
  const float xn = Roll({0, -59, -12}, rc, rs).x;
  const float tl = static_cast<float>(kGunX[lean][0]) + 0.5f, tn = static_cast<float>(kGunX[lean][1]) + 0.5f;
  const float tr = static_cast<float>(kGunX[lean][2]) + 0.5f;
  // Newton form of the interpolating quadratic.
  const float d1 = (tn - tl) / (xn - xl), d2 = (tr - tn) / (xr - xn);
  const float d3 = (d2 - d1) / (xr - xl);
  auto warpX = [&](float x) { return tl + d1 * (x - xl) + d3 * (x - xl) * (x - xn); };
  auto project = [&](Vec3 p, float& sx, float& sy) {
    sx = warpX(p.x) * scale * kSub;
    sy = (65.0f + p.y) * scale * kSub;
  };

  const Vec3 light = Normalize({-0.55f, -0.50f, 0.67f});
  const Vec3 halfway = Normalize(light + Vec3{0, 0, 1});
  for (const Triangle& tri : model) {
    Vec3 p[3], n[3];
    float x[3], y[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = Roll(tri.v[k].p, rc, rs);
      n[k] = Roll(tri.v[k].n, rc, rs);
      project(p[k], x[k], y[k]);
    }
    Vec3 face = Normalize(Cross(p[1] - p[0], p[2] - p[0]));
    if (face.z < 0) face = face * -1.0f;
    const float area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (std::fabs(area) < 1e-6f) continue;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({x[0], x[1], x[2]}))));
    const int x1 = std::min(sw - 1, static_cast<int>(std::ceil(std::max({x[0], x[1], x[2]}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({y[0], y[1], y[2]}))));
    const int y1 = std::min(sh - 1, static_cast<int>(std::ceil(std::max({y[0], y[1], y[2]}))));
    const MaterialLook& look = kLooks[tri.m];
    for (int sy = y0; sy <= y1; ++sy)
      for (int sx = x0; sx <= x1; ++sx) {
        const float cx = static_cast<float>(sx) + 0.5f, cy = static_cast<float>(sy) + 0.5f;
        const float w0 = ((x[1] - cx) * (y[2] - cy) - (x[2] - cx) * (y[1] - cy)) / area;
        const float w1 = ((x[2] - cx) * (y[0] - cy) - (x[0] - cx) * (y[2] - cy)) / area;
        const float w2 = 1 - w0 - w1;
        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
        const float z = w0 * p[0].z + w1 * p[1].z + w2 * p[2].z;
        Sample& s = samples[static_cast<size_t>(sy) * sw + sx];
        if (z <= s.depth) continue;
        Vec3 nn = tri.flat ? face : Normalize(n[0] * w0 + n[1] * w1 + n[2] * w2);
        if (nn.z < 0) nn = nn * -1.0f;
        const float diffuse = Clamp(Dot(nn, light), 0, 1);
        const float highlight = look.specular * Pow(Clamp(Dot(nn, halfway), 0.001f, 1), look.shininess);
        const float rim = 0.18f * Pow(Clamp(1 - nn.z, 0, 1), 2.0f);
        const float lit = look.emissive + (1 - look.emissive) * (0.16f + 0.84f * diffuse);
        s.depth = z;
        s.covered = true;
        s.colour = {Clamp((look.base.r * lit + highlight + rim * 0.5f) * 255, 0, 255),
                    Clamp((look.base.g * lit + highlight + rim * 0.7f) * 255, 0, 255),
                    Clamp((look.base.b * lit + highlight + rim) * 255, 0, 255)};
      }
  }

  // Plasma flames behind the nozzles; the two phases flicker.
  const Palette& pal = GamePalette();
  ImageRgba img(width, height);
  Rng rng(0xF1A3Eu + static_cast<uint64_t>(lean) * 7 + static_cast<uint64_t>(phase));
  const float length = (phase == 0 ? 30.0f : 21.0f) * scale;
  const float wobble = rng.Range(0, 6.28f);
  for (float side : {-1.0f, 1.0f}) {
    float nx, ny;
    project(Roll({side * 13, 39, -3}, rc, rs), nx, ny);
    nx /= kSub;
    ny /= kSub;
    const float radius = 4.6f * scale;
    for (int py = 0; py < height; ++py)
      for (int px = 0; px < width; ++px) {
        const size_t i = img.Index(px, py);
        const float fy = static_cast<float>(py) + 0.5f - ny, fx = static_cast<float>(px) + 0.5f - nx;
        if (fy < -radius || fy > length * 1.15f) continue;
        float intensity;
        if (fy < 0) {
          intensity = 1.2f * (1 - std::sqrt(fx * fx + fy * fy) / radius);
        } else {
          // A white-hot core inside a wider blue plume; the plume's edge
          // ripples differently in the two phases.
          const float u = fy / length;
          const float ripple = 1 + 0.16f * Sin(fy * (phase == 0 ? 0.8f : 1.1f) + wobble + side * 1.7f);
          const float w = radius * Pow(Clamp(1 - u * 0.87f, 0.01f, 1), 0.7f) * ripple;
          const float core = Clamp(1 - std::fabs(fx) / (0.45f * w + 0.2f), 0, 1) * Pow(Clamp(1 - u * 1.3f, 0, 1), 0.7f);
          const float plume = Clamp(1 - std::fabs(fx) / (w + 0.3f), 0, 1) * Pow(Clamp(1 - u, 0, 1), 0.9f);
          intensity = std::fmax(1.3f * core, 0.72f * plume);
        }
        intensity = Clamp(intensity, 0, 1);
        if (intensity < 0.09f || intensity <= img.alpha[i]) continue;
        img.alpha[i] = intensity;
        const int ramp = kEngine.At(intensity);
        img.rgb[i] = pal.colour[intensity > 0.9f ? 255 : ramp];
      }
  }
  for (int py = 0; py < height; ++py)
    for (int px = 0; px < width; ++px) {
      Rgb sum;
      int n = 0;
      for (int j = 0; j < kSub; ++j)
        for (int k = 0; k < kSub; ++k) {
          const Sample& s = samples[static_cast<size_t>(py * kSub + j) * sw + px * kSub + k];
          if (s.covered) {
            sum = sum + s.colour;
            ++n;
          }
        }
      const size_t i = img.Index(px, py);
      if (n * 2 > kSub * kSub) {
        img.rgb[i] = sum * (1.0f / static_cast<float>(n));
        img.alpha[i] = 1;
      } else if (img.alpha[i] > 0) {
        img.alpha[i] = 1;  // flame pixel
      }
    }
  static Quantizer q(RampIndices({kMetal, kRed, kGlass, kEngine}, {255, kShotCore, kShotGlow, kGlowMid}));
  return QuantizeRgba(img, q, 6.0f);
}

}  // namespace zukgen
