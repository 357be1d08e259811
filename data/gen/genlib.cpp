#include "genlib.h"

#include <cmath>
#include <cstring>

namespace zukgen {

namespace {

double SinReduced(double x) {  // |x| <= pi/2
  const double x2 = x * x;
  double term = x, sum = x;
  for (int n = 1; n <= 7; ++n) {
    term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}

}  // namespace

float Sin(float xf) {
  const double twoPi = 6.283185307179586;
  const double pi = 3.141592653589793;
  double x = xf;
  x -= twoPi * std::floor(x / twoPi + 0.5);  // -pi..pi
  if (x > pi / 2) x = pi - x;
  if (x < -pi / 2) x = -pi - x;
  return static_cast<float>(SinReduced(x));
}

float Cos(float x) { return Sin(x + 1.5707963267948966f); }

float Exp(float xf) {
  double x = xf;
  if (x < -80) return 0.0f;
  if (x > 80) x = 80;
  const double ln2 = 0.6931471805599453;
  const double k = std::floor(x / ln2 + 0.5);
  const double r = x - k * ln2;
  double term = 1.0, sum = 1.0;
  for (int n = 1; n <= 10; ++n) {
    term *= r / n;
    sum += term;
  }
  return static_cast<float>(std::ldexp(sum, static_cast<int>(k)));
}

float Log(float xf) {
  if (xf <= 0) return -80.0f;
  int e = 0;
  const double m = std::frexp(static_cast<double>(xf), &e);  // 0.5 <= m < 1
  const double s = (m - 1.0) / (m + 1.0);
  const double s2 = s * s;
  double term = s, sum = 0.0;
  for (int n = 1; n <= 25; n += 2) {
    sum += term / n;
    term *= s2;
  }
  return static_cast<float>(2.0 * sum + e * 0.6931471805599453);
}

float Pow(float x, float y) {
  if (x <= 0) return 0.0f;
  return Exp(y * Log(x));
}

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

float Smoothstep(float e0, float e1, float x) {
  const float t = Clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

uint64_t Rng::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Rng::Uniform() { return static_cast<float>(Next() >> 40) / 16777216.0f; }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Int(int n) { return static_cast<int>((Next() >> 33) % static_cast<uint64_t>(n)); }

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t h = 0x811C9DC5u;
  for (uint32_t v : {a, b, c, d}) {
    h ^= v;
    h *= 0x01000193u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
  }
  h ^= h >> 16;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

namespace {

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

int Wrap(int i, int p) {
  if (p <= 0) return i;
  const int m = i % p;
  return m < 0 ? m + p : m;
}

float Grad2(uint32_t h, float x, float y) {
  static const float kGx[8] = {1, -1, 0, 0, 0.70710678f, -0.70710678f, 0.70710678f, -0.70710678f};
  static const float kGy[8] = {0, 0, 1, -1, 0.70710678f, 0.70710678f, -0.70710678f, -0.70710678f};
  const int i = static_cast<int>(h & 7);
  return kGx[i] * x + kGy[i] * y;
}

float Grad3(uint32_t h, float x, float y, float z) {
  switch (h % 12) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
  }
}

}  // namespace

float Noise2(float x, float y, int px, int py, uint32_t seed) {
  const float fx0 = std::floor(x), fy0 = std::floor(y);
  const int ix = static_cast<int>(fx0), iy = static_cast<int>(fy0);
  const float fx = x - fx0, fy = y - fy0;
  const uint32_t x0 = static_cast<uint32_t>(Wrap(ix, px)), x1 = static_cast<uint32_t>(Wrap(ix + 1, px));
  const uint32_t y0 = static_cast<uint32_t>(Wrap(iy, py)), y1 = static_cast<uint32_t>(Wrap(iy + 1, py));
  const float n00 = Grad2(Hash(x0, y0, seed), fx, fy);
  const float n10 = Grad2(Hash(x1, y0, seed), fx - 1, fy);
  const float n01 = Grad2(Hash(x0, y1, seed), fx, fy - 1);
  const float n11 = Grad2(Hash(x1, y1, seed), fx - 1, fy - 1);
  const float u = Fade(fx), v = Fade(fy);
  return 1.4f * Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
}

float Noise3(float x, float y, float z, uint32_t seed) {
  const float fx0 = std::floor(x), fy0 = std::floor(y), fz0 = std::floor(z);
  const int ix = static_cast<int>(fx0), iy = static_cast<int>(fy0), iz = static_cast<int>(fz0);
  const float fx = x - fx0, fy = y - fy0, fz = z - fz0;
  auto g = [&](int dx, int dy, int dz) {
    return Grad3(Hash(static_cast<uint32_t>(ix + dx), static_cast<uint32_t>(iy + dy),
                      static_cast<uint32_t>(iz + dz), seed),
                 fx - dx, fy - dy, fz - dz);
  };
  const float u = Fade(fx), v = Fade(fy), w = Fade(fz);
  const float a = Lerp(Lerp(g(0, 0, 0), g(1, 0, 0), u), Lerp(g(0, 1, 0), g(1, 1, 0), u), v);
  const float b = Lerp(Lerp(g(0, 0, 1), g(1, 0, 1), u), Lerp(g(0, 1, 1), g(1, 1, 1), u), v);
  return 0.9f * Lerp(a, b, w);
}

float Fbm2(float x, float y, int px, int py, int octaves, float gain, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise2(x, y, px, py, seed + 101u * static_cast<uint32_t>(o));
    norm += amp;
    amp *= gain;
    x *= 2;
    y *= 2;
    px *= 2;
    py *= 2;
  }
  return sum / norm;
}

float Fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise3(x, y, z, seed + 101u * static_cast<uint32_t>(o));
    norm += amp;
    amp *= gain;
    x *= 2.03f;
    y *= 2.03f;
    z *= 2.03f;
  }
  return sum / norm;
}

Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalize(Vec3 a) {
  const float l = Length(a);
  return l > 0 ? a * (1.0f / l) : a;
}

Vec3 Rotate(Vec3 v, Vec3 k, float angle) {
  // Rodrigues' formula.
  const float c = Cos(angle), s = Sin(angle);
  return v * c + Cross(k, v) * s + k * (Dot(k, v) * (1 - c));
}

Rgb Mix(Rgb a, Rgb b, float t) { return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)}; }

int Ramp::At(float t) const {
  t = Clamp(t, 0.0f, 1.0f);
  int i = first + static_cast<int>(t * static_cast<float>(Size()));
  return i > last ? last : i;
}

namespace {

void FillRamp(Palette& p, Ramp r, std::initializer_list<Rgb> keys) {
  std::vector<Rgb> k(keys);
  const int n = r.Size();
  for (int i = 0; i < n; ++i) {
    const float t = n == 1 ? 0.0f : static_cast<float>(i) / static_cast<float>(n - 1);
    const float pos = t * static_cast<float>(k.size() - 1);
    size_t seg = static_cast<size_t>(pos);
    if (seg >= k.size() - 1) seg = k.size() - 2;
    p.colour[r.first + i] = Mix(k[seg], k[seg + 1], pos - static_cast<float>(seg));
  }
}

Palette BuildPalette() {
  Palette p{};
  p.colour[0] = {0, 0, 0};
  p.colour[255] = {255, 255, 255};
  // Warm star and flame colours, and the flame reds, darkening.
  p.colour[199] = {255, 232, 84};
  p.colour[190] = {255, 150, 32};
  p.colour[184] = {232, 64, 22};
  p.colour[178] = {178, 32, 12};
  p.colour[177] = {118, 16, 6};
  // The shots: a white-blue core in a cyan glow.
  p.colour[kShotCore] = {224, 244, 255};
  p.colour[kShotGlow] = {40, 190, 255};
  p.colour[kGlowMid] = {110, 220, 255};
  p.colour[kOutlineDark] = {34, 8, 14};
  p.colour[kOutlineNavy] = {10, 12, 40};
  p.colour[kOutlineNavy2] = {28, 30, 78};
  p.colour[kWarmWhite] = {255, 240, 210};

  FillRamp(p, kRock, {{12, 10, 10}, {40, 33, 30}, {78, 66, 56}, {122, 106, 90}, {170, 152, 130}, {214, 200, 180}, {246, 238, 224}});
  FillRamp(p, kMetal, {{12, 14, 22}, {42, 48, 64}, {84, 94, 114}, {138, 148, 168}, {190, 198, 214}, {232, 236, 245}, {255, 255, 255}});
  FillRamp(p, kRed, {{44, 4, 8}, {110, 12, 20}, {180, 30, 34}, {232, 72, 60}, {255, 150, 130}});
  FillRamp(p, kGlass, {{4, 8, 26}, {10, 34, 80}, {24, 90, 170}, {90, 180, 240}, {210, 245, 255}});
  FillRamp(p, kEngine, {{26, 10, 60}, {44, 36, 150}, {50, 100, 240}, {90, 170, 255}, {170, 225, 255}, {245, 252, 255}});
  FillRamp(p, kLetterCool, {{16, 22, 90}, {30, 60, 190}, {40, 140, 255}, {120, 220, 255}, {245, 255, 255}});
  FillRamp(p, kTeal, {{3, 9, 12}, {8, 30, 40}, {18, 64, 78}, {44, 116, 128}, {110, 190, 196}, {200, 244, 240}});
  FillRamp(p, kViolet, {{4, 3, 12}, {12, 10, 36}, {26, 22, 74}, {52, 40, 124}, {92, 72, 180}, {150, 130, 226}, {214, 204, 250}, {250, 246, 255}});
  FillRamp(p, kMagenta, {{9, 2, 9}, {34, 8, 34}, {80, 18, 72}, {140, 36, 106}, {204, 80, 142}, {246, 160, 196}, {255, 228, 236}});
  FillRamp(p, kGalaxy, {{70, 58, 46}, {140, 122, 96}, {206, 190, 156}, {255, 246, 220}});
  FillRamp(p, kSmoke, {{22, 16, 16}, {44, 34, 32}, {70, 56, 50}, {98, 82, 74}, {128, 112, 102}});
  FillRamp(p, kFlameMid, {{150, 26, 8}, {204, 46, 14}, {244, 92, 24}, {252, 116, 30}, {255, 132, 36}});
  FillRamp(p, kFlameHigh, {{255, 170, 50}, {255, 190, 62}, {255, 208, 74}, {255, 226, 110}, {255, 240, 150}, {255, 248, 196}, {255, 252, 230}, {255, 214, 160}});
  FillRamp(p, kFire, {{10, 2, 2}, {50, 6, 4}, {112, 16, 6}, {180, 36, 8}, {232, 82, 14}, {255, 150, 36}, {255, 212, 84}, {255, 246, 190}, {255, 255, 250}});
  FillRamp(p, kLetterWarm, {{255, 255, 232}, {255, 240, 120}, {255, 200, 50}, {255, 150, 30}, {236, 90, 18}, {180, 40, 14}, {110, 16, 10}});
  for (int i = 0; i < 256; ++i) {
    Rgb& c = p.colour[i];
    c.r = std::floor(c.r + 0.5f);
    c.g = std::floor(c.g + 0.5f);
    c.b = std::floor(c.b + 0.5f);
  }
  return p;
}

}  // namespace

const Palette& GamePalette() {
  static const Palette p = BuildPalette();
  return p;
}

std::vector<uint8_t> EncodePalette(const Palette& p) {
  std::vector<uint8_t> out;
  out.reserve(768);
  for (int i = 0; i < 256; ++i) {
    out.push_back(static_cast<uint8_t>(p.colour[i].r));
    out.push_back(static_cast<uint8_t>(p.colour[i].b));
    out.push_back(static_cast<uint8_t>(p.colour[i].g));
  }
  return out;
}

Quantizer::Quantizer(const std::vector<int>& indices) : indices_(indices), cache_(64 * 64 * 64, -1) {}

uint8_t Quantizer::Nearest(Rgb c) {
  auto q = [](float v) { return static_cast<int>(Clamp(v, 0.0f, 255.0f)) >> 2; };
  const int r = q(c.r), g = q(c.g), b = q(c.b);
  int16_t& slot = cache_[static_cast<size_t>((r * 64 + g) * 64 + b)];
  if (slot < 0) {
    const Palette& p = GamePalette();
    const float cr = r * 4.0f + 2, cg = g * 4.0f + 2, cb = b * 4.0f + 2;
    float best = 1e30f;
    int bestIndex = indices_.empty() ? 0 : indices_[0];
    for (int i : indices_) {
      const Rgb& e = p.colour[i];
      // Weighted distance: the eye is most sensitive to green.
      const float dr = e.r - cr, dg = e.g - cg, db = e.b - cb;
      const float d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (d < best) {
        best = d;
        bestIndex = i;
      }
    }
    slot = static_cast<int16_t>(bestIndex);
  }
  return static_cast<uint8_t>(slot);
}

float Quantizer::Dither(int x, int y) {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (static_cast<float>(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

std::vector<int> RampIndices(std::initializer_list<Ramp> ramps, std::initializer_list<int> extra) {
  std::vector<int> out;
  for (const Ramp& r : ramps)
    for (int i = r.first; i <= r.last; ++i) out.push_back(i);
  for (int i : extra) out.push_back(i);
  return out;
}

void Image8::Paste(const Image8& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i) {
      const int tx = x + i, ty = y + j;
      if (tx >= 0 && ty >= 0 && tx < width && ty < height) At(tx, ty) = src.At(i, j);
    }
}

Image8 QuantizeRgba(const ImageRgba& img, Quantizer& q, float dither) {
  Image8 out(img.width, img.height);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const size_t i = img.Index(x, y);
      if (img.alpha[i] < 0.5f) continue;
      const float d = Quantizer::Dither(x, y) * dither;
      Rgb c = img.rgb[i];
      c = {c.r + d, c.g + d, c.b + d};
      out.At(x, y) = q.Nearest(c);
    }
  return out;
}

namespace {

void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  Put16(o, v & 0xFFFF);
  Put16(o, v >> 16);
}
void PutTag(std::vector<uint8_t>& o, const char* tag) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeBmp8(const Image8& img, const Palette& p) {
  const uint32_t stride = (static_cast<uint32_t>(img.width) + 3u) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(img.height);
  const uint32_t offset = 14 + 40 + 1024;
  std::vector<uint8_t> o;
  o.reserve(offset + imageSize);
  o.push_back('B');
  o.push_back('M');
  Put32(o, offset + imageSize);
  Put32(o, 0);
  Put32(o, offset);
  Put32(o, 40);
  Put32(o, static_cast<uint32_t>(img.width));
  Put32(o, static_cast<uint32_t>(img.height));
  Put16(o, 1);    // planes
  Put16(o, 8);    // bits per pixel
  Put32(o, 0);    // BI_RGB
  Put32(o, imageSize);
  Put32(o, 2835);  // 72 dpi
  Put32(o, 2835);
  Put32(o, 256);  // colours used
  Put32(o, 0);    // all important
  for (int i = 0; i < 256; ++i) {
    o.push_back(static_cast<uint8_t>(p.colour[i].b));
    o.push_back(static_cast<uint8_t>(p.colour[i].g));
    o.push_back(static_cast<uint8_t>(p.colour[i].r));
    o.push_back(0);
  }
  for (int y = img.height - 1; y >= 0; --y) {
    for (int x = 0; x < img.width; ++x) o.push_back(img.At(x, y));
    for (uint32_t x = static_cast<uint32_t>(img.width); x < stride; ++x) o.push_back(0);
  }
  return o;
}

namespace {

// One icon picture: BITMAPINFOHEADER (twice the height: colour, then mask),
// BGRA rows bottom-up, an all-zero AND mask.
std::vector<uint8_t> EncodeIconBitmap(const IconImage& img) {
  const uint32_t n = static_cast<uint32_t>(img.size);
  const uint32_t maskStride = (n + 31u) / 32u * 4u;
  std::vector<uint8_t> o;
  Put32(o, 40);
  Put32(o, n);
  Put32(o, 2 * n);
  Put16(o, 1);   // planes
  Put16(o, 32);  // bits per pixel
  Put32(o, 0);   // BI_RGB
  Put32(o, n * n * 4 + maskStride * n);
  for (int i = 0; i < 4; ++i) Put32(o, 0);
  for (int y = img.size - 1; y >= 0; --y)
    for (int x = 0; x < img.size; ++x) {
      const uint8_t* p = &img.rgb[(static_cast<size_t>(y) * n + x) * 3];
      o.insert(o.end(), {p[2], p[1], p[0], 255});
    }
  o.resize(o.size() + maskStride * n, 0);
  return o;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
  std::vector<uint8_t> o;
  Put16(o, 0);
  Put16(o, 1);  // icon
  Put16(o, static_cast<uint32_t>(images.size()));
  std::vector<uint8_t> bitmaps;
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const IconImage& img : images) {
    const std::vector<uint8_t> bmp = EncodeIconBitmap(img);
    o.push_back(static_cast<uint8_t>(img.size & 0xFF));  // 256 is written as 0
    o.push_back(static_cast<uint8_t>(img.size & 0xFF));
    Put16(o, 0);  // no colour table, reserved
    Put16(o, 1);
    Put16(o, 32);
    Put32(o, static_cast<uint32_t>(bmp.size()));
    Put32(o, offset);
    offset += static_cast<uint32_t>(bmp.size());
    bitmaps.insert(bitmaps.end(), bmp.begin(), bmp.end());
  }
  o.insert(o.end(), bitmaps.begin(), bitmaps.end());
  return o;
}

std::vector<uint8_t> EncodeWave(const std::vector<uint8_t>& samples) {
  const uint32_t dataSize = static_cast<uint32_t>(samples.size());
  const uint32_t padded = dataSize + (dataSize & 1u);
  // RIFF header 12 + fmt chunk 24 + JUNK chunk 8 + 48 + data header 8 = 100.
  const uint32_t junkSize = kWaveHeaderSize - 12 - 24 - 8 - 8;
  std::vector<uint8_t> o;
  o.reserve(kWaveHeaderSize + padded);
  PutTag(o, "RIFF");
  Put32(o, 4 + 24 + 8 + junkSize + 8 + padded);
  PutTag(o, "WAVE");
  PutTag(o, "fmt ");
  Put32(o, 16);
  Put16(o, 1);  // PCM
  Put16(o, 1);  // mono
  Put32(o, kSampleRate);
  Put32(o, kSampleRate);  // bytes per second
  Put16(o, 1);  // block alignment
  Put16(o, 8);  // bits per sample
  PutTag(o, "JUNK");
  Put32(o, junkSize);
  o.insert(o.end(), junkSize, 0);
  PutTag(o, "data");
  Put32(o, dataSize);
  o.insert(o.end(), samples.begin(), samples.end());
  if (dataSize & 1u) o.push_back(128);
  return o;
}

}  // namespace zukgen
