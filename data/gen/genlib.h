// Shared pieces of the data generator: deterministic maths and noise, the
// game palette, colour quantising, and the file encoders (BMP, WAVE).
//
// Everything here must give the same bytes on every machine: only the basic
// IEEE operations and sqrt are used on floating point (no libm
// transcendentals), and every random number comes from a seeded generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zukgen {

constexpr float kPi = 3.14159265358979f;

// sin and cos with a fixed polynomial, so the results do not depend on libm.
float Sin(float x);
float Cos(float x);
float Exp(float x);  // e^x for x in about -30..10, fixed polynomial
float Pow(float x, float y);  // x > 0; via Exp and Log
float Log(float x);  // x > 0
float Clamp(float v, float lo, float hi);
float Smoothstep(float e0, float e1, float x);
float Lerp(float a, float b, float t);

// A small seeded random generator (SplitMix64).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  float Uniform();                   // [0, 1)
  float Range(float lo, float hi);   // [lo, hi)
  int Int(int n);                    // 0 .. n-1
 private:
  uint64_t state_;
};

uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);

// Gradient noise in about -1..1. The 2-D form repeats every px cells in x and
// py cells in y, so fields made from it tile.
float Noise2(float x, float y, int px, int py, uint32_t seed);
float Noise3(float x, float y, float z, uint32_t seed);
// Sums of octaves; each octave doubles the frequency (and the period).
float Fbm2(float x, float y, int px, int py, int octaves, float gain, uint32_t seed);
float Fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed);

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b);
float Length(Vec3 a);
Vec3 Normalize(Vec3 a);
// Rotation by angle (radians) about the unit axis.
Vec3 Rotate(Vec3 v, Vec3 axis, float angle);

struct Rgb {
  float r = 0, g = 0, b = 0;  // 0..255
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
Rgb Mix(Rgb a, Rgb b, float t);

// Palette index ranges (inclusive) of the colour ramps. Index 0 is black and
// transparent; 177, 178, 184, 190, 199, 249, 251 and 255 have fixed roles.
struct Ramp {
  int first, last;
  int Size() const { return last - first + 1; }
  int At(float t) const;  // t in 0..1 -> index
};
constexpr Ramp kRock{1, 28};
constexpr Ramp kMetal{29, 56};
constexpr Ramp kRed{57, 66};
constexpr Ramp kGlass{67, 76};
constexpr Ramp kEngine{77, 90};
constexpr Ramp kLetterCool{91, 102};
constexpr Ramp kTeal{103, 118};
constexpr Ramp kViolet{119, 148};
constexpr Ramp kMagenta{149, 172};
constexpr Ramp kGalaxy{173, 176};
constexpr Ramp kSmoke{179, 183};
constexpr Ramp kFlameMid{185, 189};
constexpr Ramp kFlameHigh{191, 198};
constexpr Ramp kFire{200, 231};
constexpr Ramp kLetterWarm{232, 247};
constexpr int kOutlineDark = 248;
constexpr int kShotCore = 249;
constexpr int kGlowMid = 250;
constexpr int kShotGlow = 251;
constexpr int kOutlineNavy = 252;
constexpr int kOutlineNavy2 = 253;
constexpr int kWarmWhite = 254;

struct Palette {
  Rgb colour[256];
};
const Palette& GamePalette();
// The file form: 256 entries of red, blue, green.
std::vector<uint8_t> EncodePalette(const Palette& p);

// Nearest palette colour among a chosen set of indices (a 64-level cache per
// channel keeps it fast).
class Quantizer {
 public:
  explicit Quantizer(const std::vector<int>& indices);
  uint8_t Nearest(Rgb c);
  // Ordered 4x4 dither offset for pixel (x, y), in -0.5..0.5.
  static float Dither(int x, int y);

 private:
  std::vector<int> indices_;
  std::vector<int16_t> cache_;
};
std::vector<int> RampIndices(std::initializer_list<Ramp> ramps, std::initializer_list<int> extra = {});

// 8-bit indexed picture.
struct Image8 {
  int width = 0, height = 0;
  std::vector<uint8_t> px;
  Image8() = default;
  Image8(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * h, 0) {}
  uint8_t& At(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
  uint8_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
  // Copies src into this picture with its top-left corner at (x, y).
  void Paste(const Image8& src, int x, int y);
};

// Float colour picture with coverage (0 = empty, 1 = covered).
struct ImageRgba {
  int width = 0, height = 0;
  std::vector<Rgb> rgb;
  std::vector<float> alpha;
  ImageRgba() = default;
  ImageRgba(int w, int h)
      : width(w), height(h), rgb(static_cast<size_t>(w) * h), alpha(static_cast<size_t>(w) * h, 0.0f) {}
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
};
// Pixels with coverage of at least half become the nearest colour of q; the
// rest index 0.
Image8 QuantizeRgba(const ImageRgba& img, Quantizer& q, float dither);

// Windows bitmap, 8 bits per pixel, the palette as colour table, bottom-up.
std::vector<uint8_t> EncodeBmp8(const Image8& img, const Palette& p);
// RIFF WAVE, PCM 8-bit unsigned mono 22050 Hz; a JUNK chunk pads the header
// so that the samples start at byte 100.
std::vector<uint8_t> EncodeWave(const std::vector<uint8_t>& samples);
constexpr int kWaveHeaderSize = 100;
constexpr int kSampleRate = 22050;

// A square picture for an icon file: size x size RGB pixels, rows top to
// bottom.
struct IconImage {
  int size;
  std::vector<uint8_t> rgb;
};
// Windows icon file: each picture as an opaque 32-bit bitmap (every Windows
// reads those at every size, 256 included).
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace zukgen
