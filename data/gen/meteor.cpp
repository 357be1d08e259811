// The tumbling asteroid: a ray-cast, noise-displaced ellipsoid with craters,
// lit from the upper left, turning 10 degrees per frame about a tilted axis.
#include <cmath>

#include "art.h"

namespace zukgen {

namespace {

constexpr int kFace = 96;            // texels per cube-map face side
constexpr int kStride = kFace + 2;   // with a one-texel border

struct Crater {
  Vec3 centre;
  float radius, depth, rim;
};

// Height and albedo over the unit sphere, stored as a cube map.
class Surface {
 public:
  Surface() {
    Rng rng(0xA57E201Du);
    for (int i = 0; i < 26; ++i) {
      Crater c;
      c.centre = Normalize({rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)});
      const float u = rng.Uniform();
      c.radius = 0.10f + 0.36f * u * u;
      c.depth = c.radius * rng.Range(0.30f, 0.45f);
      c.rim = c.radius * rng.Range(0.10f, 0.16f);
      craters_.push_back(c);
    }
    height_.resize(6 * kStride * kStride);
    albedo_.resize(6 * kStride * kStride);
    for (int f = 0; f < 6; ++f)
      for (int j = 0; j < kStride; ++j)
        for (int i = 0; i < kStride; ++i) {
          const float u = ((static_cast<float>(i) - 0.5f) / kFace) * 2 - 1;
          const float v = ((static_cast<float>(j) - 0.5f) / kFace) * 2 - 1;
          const Vec3 d = Normalize(FaceDir(f, u, v));
          float a = 0;
          height_[Slot(f, i, j)] = Height(d, a);
          albedo_[Slot(f, i, j)] = a;
        }
  }

  // Height (relative to the radius) and albedo in direction d (any length).
  void Sample(Vec3 d, float& h, float& a) const {
    const float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    int f;
    float m, u, v;
    if (ax >= ay && ax >= az) {
      f = d.x > 0 ? 0 : 1;
      m = ax;
      u = d.y;
      v = d.z;
    } else if (ay >= az) {
      f = d.y > 0 ? 2 : 3;
      m = ay;
      u = d.z;
      v = d.x;
    } else {
      f = d.z > 0 ? 4 : 5;
      m = az;
      u = d.x;
      v = d.y;
    }
    const float fu = (u / m + 1) * 0.5f * kFace + 0.5f;
    const float fv = (v / m + 1) * 0.5f * kFace + 0.5f;
    int i = static_cast<int>(fu), j = static_cast<int>(fv);
    if (i > kStride - 2) i = kStride - 2;
    if (j > kStride - 2) j = kStride - 2;
    const float tu = Clamp(fu - i, 0, 1), tv = Clamp(fv - j, 0, 1);
    auto bil = [&](const std::vector<float>& t) {
      return Lerp(Lerp(t[Slot(f, i, j)], t[Slot(f, i + 1, j)], tu),
                  Lerp(t[Slot(f, i, j + 1)], t[Slot(f, i + 1, j + 1)], tu), tv);
    };
    h = bil(height_);
    a = bil(albedo_);
  }

 private:
  static size_t Slot(int f, int i, int j) { return (static_cast<size_t>(f) * kStride + j) * kStride + i; }

  static Vec3 FaceDir(int f, float u, float v) {
    switch (f) {
      case 0: return {1, u, v};
      case 1: return {-1, u, v};
      case 2: return {v, 1, u};
      case 3: return {v, -1, u};
      case 4: return {u, v, 1};
      default: return {u, v, -1};
    }
  }

  float Height(Vec3 d, float& albedo) const {
    float h = 0.15f * Fbm3(d.x * 1.1f + 3.1f, d.y * 1.1f, d.z * 1.1f, 3, 0.45f, 11);
    h += 0.035f * Fbm3(d.x * 4.0f, d.y * 4.0f, d.z * 4.0f + 7.7f, 3, 0.55f, 23);
    h += 0.007f * Noise3(d.x * 16.0f, d.y * 16.0f, d.z * 16.0f, 37);
    float bright = 0;
    for (const Crater& c : craters_) {
      const float s = Length(d - c.centre) / c.radius;
      if (s >= 1.6f) continue;
      float ch;
      if (s < 1.0f) {
        const float bowl = (s * s - 1.0f) * c.depth;
        ch = (bowl < -0.7f * c.depth ? -0.7f * c.depth : bowl) + c.rim;
        // Flat, darker floors; bright fresh walls.
        bright -= 0.10f * (1 - s);
      } else {
        const float t = (s - 1.0f) / 0.6f;
        ch = c.rim * (1 - t) * (1 - t);
        bright += 0.12f * (1 - t) * (c.radius > 0.25f ? 1.0f : 0.5f);
      }
      h += ch;
    }
    albedo = Clamp(0.80f + 0.20f * Fbm3(d.x * 2.5f, d.y * 2.5f + 1.3f, d.z * 2.5f, 3, 0.5f, 51) + bright, 0.55f, 1.1f);
    return h;
  }

  std::vector<Crater> craters_;
  std::vector<float> height_, albedo_;
};

const Surface& TheSurface() {
  static const Surface s;
  return s;
}

// Semi-axes of the underlying ellipsoid (body frame), relative.
constexpr float kAxisA = 1.0f, kAxisB = 0.78f, kAxisC = 0.70f;
constexpr float kMaxShape = 1.0f * 1.16f;  // largest radius relative to the scale

struct Body {
  float scale;  // pixels per unit radius
  float Field(Vec3 p, float* albedo = nullptr) const {
    const float r = Length(p);
    if (r < 1e-4f) return -scale;
    const Vec3 d = p * (1.0f / r);
    const float e = 1.0f / std::sqrt(d.x * d.x / (kAxisA * kAxisA) + d.y * d.y / (kAxisB * kAxisB) +
                                     d.z * d.z / (kAxisC * kAxisC));
    float h, a;
    TheSurface().Sample(d, h, a);
    if (albedo) *albedo = a;
    return r - scale * e * (1.0f + h);
  }
  Vec3 Normal(Vec3 p) const {
    const float e = 0.35f;
    return Normalize({Field({p.x + e, p.y, p.z}) - Field({p.x - e, p.y, p.z}),
                      Field({p.x, p.y + e, p.z}) - Field({p.x, p.y - e, p.z}),
                      Field({p.x, p.y, p.z + e}) - Field({p.x, p.y, p.z - e})});
  }
};

struct Mat3 {
  Vec3 c0, c1, c2;  // columns: images of the body's axes in the world
  Vec3 Apply(Vec3 v) const { return c0 * v.x + c1 * v.y + c2 * v.z; }
  Vec3 ApplyT(Vec3 v) const { return {Dot(c0, v), Dot(c1, v), Dot(c2, v)}; }
};

Mat3 Orientation(int frame) {
  // A fixed initial attitude, then the spin about a tilted axis.
  const Vec3 tilt = Normalize({0.35f, 1.0f, 0.45f});
  const Vec3 pre = Normalize({1.0f, 0.3f, -0.5f});
  const float angle = static_cast<float>(frame) * (kPi / 18.0f);
  auto m = [&](Vec3 v) { return Rotate(Rotate(v, pre, 0.9f), tilt, angle); };
  return {m({1, 0, 0}), m({0, 1, 0}), m({0, 0, 1})};
}

}  // namespace

Image8 RenderMeteor(int frame, int width, int height, float radius) {
  Image8 out(width, height);
  const Body body{radius / kMaxShape};
  const Mat3 rot = Orientation(frame);
  // World: x right, y down, z towards the viewer. Light from the upper left front.
  const Vec3 light = Normalize({-0.84f, -0.46f, 0.30f});
  const Vec3 bounce = Normalize({0.75f, 0.55f, -0.1f});
  const Vec3 lightBody = rot.ApplyT(light);
  const float cx = width * 0.5f, cy = height * 0.5f;
  const float rmax = radius + 1.0f;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float wx = static_cast<float>(x) + 0.5f - cx, wy = static_cast<float>(y) + 0.5f - cy;
      if (wx * wx + wy * wy > rmax * rmax) continue;
      // March from the front towards the back.
      const float zStart = std::sqrt(rmax * rmax - wx * wx - wy * wy);
      float z = zStart, prevZ = z;
      float f = body.Field(rot.ApplyT({wx, wy, z}));
      bool hit = false;
      for (int step = 0; step < 120 && z > -zStart; ++step) {
        if (f < 0) {
          hit = true;
          break;
        }
        prevZ = z;
        z -= f * 0.55f > 0.2f ? f * 0.55f : 0.2f;
        f = body.Field(rot.ApplyT({wx, wy, z}));
      }
      if (!hit && f < 0) hit = true;
      if (!hit) continue;
      float lo = z, hi = prevZ;  // lo inside, hi outside
      for (int k = 0; k < 8; ++k) {
        const float mid = 0.5f * (lo + hi);
        if (body.Field(rot.ApplyT({wx, wy, mid})) < 0) lo = mid; else hi = mid;
      }
      const Vec3 pb = rot.ApplyT({wx, wy, hi});
      float albedo = 1;
      body.Field(pb, &albedo);
      const Vec3 nb = body.Normal(pb);
      const Vec3 n = rot.Apply(nb);
      // Soft shadow towards the light.
      float shadow = 1;
      if (Dot(n, light) > 0) {
        float t = 1.2f;
        for (int k = 0; k < 40 && t < 2.5f * radius; ++k) {
          const float h = body.Field(pb + lightBody * t);
          if (h < 0) {
            shadow = 0;
            break;
          }
          const float s = 6.0f * h / t;
          if (s < shadow) shadow = s;
          t += h * 0.6f > 0.5f ? h * 0.6f : 0.5f;
        }
      }
      const float diffuse = Clamp(Dot(n, light), 0, 1);
      const float back = Clamp(Dot(n, bounce), 0, 1);
      const float rim = Pow(Clamp(1.0f - n.z, 0, 1), 3.0f) * Clamp(0.3f + 0.7f * Dot(n, bounce), 0, 1);
      const float v = albedo * (0.03f + 1.05f * diffuse * Clamp(shadow, 0, 1) + 0.06f * back) + 0.13f * rim;
      const float tone = Pow(Clamp(v, 0.0f, 1.1f) / 1.1f, 0.95f);
      const float d = 0.6f * Quantizer::Dither(x, y) / static_cast<float>(kRock.Size());
      out.At(x, y) = static_cast<uint8_t>(kRock.At(tone * 1.05f + d));
    }
  return out;
}

}  // namespace zukgen
