// Arcade lettering: letters built from thick strokes along chamfered
// skeleton lines, slanted, filled with a vertical gradient and outlined.
#include <cmath>
#include <map>

#include "art.h"

namespace zukgen {

namespace {

struct Point {
  float x, y;
};
using Polyline = std::vector<Point>;
struct Glyph {
  float width;  // skeleton width in units; the height is 6 units
  std::vector<Polyline> strokes;
};

const std::map<char, Glyph>& Font() {
  static const std::map<char, Glyph> font = {
      {'A', {4, {{{0, 6}, {0, 1.2f}, {1.2f, 0}, {2.8f, 0}, {4, 1.2f}, {4, 6}}, {{0, 3.4f}, {4, 3.4f}}}}},
      {'C', {4, {{{4, 0.9f}, {3.1f, 0}, {0.9f, 0}, {0, 0.9f}, {0, 5.1f}, {0.9f, 6}, {3.1f, 6}, {4, 5.1f}}}}},
      {'D', {4, {{{0, 0}, {0, 6}, {2.8f, 6}, {4, 4.8f}, {4, 1.2f}, {2.8f, 0}, {0, 0}}}}},
      {'E', {4, {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3.2f, 3}}}}},
      {'G', {4, {{{4, 0.9f}, {3.1f, 0}, {0.9f, 0}, {0, 0.9f}, {0, 5.1f}, {0.9f, 6}, {3.1f, 6}, {4, 5.1f}, {4, 3.2f}, {2.2f, 3.2f}}}}},
      {'H', {4, {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}}},
      {'I', {2, {{{1, 0}, {1, 6}}, {{0, 0}, {2, 0}}, {{0, 6}, {2, 6}}}}},
      {'K', {4, {{{0, 0}, {0, 6}}, {{4, 0}, {0.4f, 3.4f}}, {{1.6f, 2.6f}, {4, 6}}}}},
      {'M', {5, {{{0, 6}, {0, 0}, {2.5f, 3}, {5, 0}, {5, 6}}}}},
      {'N', {4, {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}}},
      {'O', {4, {{{0.9f, 0}, {3.1f, 0}, {4, 0.9f}, {4, 5.1f}, {3.1f, 6}, {0.9f, 6}, {0, 5.1f}, {0, 0.9f}, {0.9f, 0}}}}},
      {'P', {4, {{{0, 6}, {0, 0}, {3.1f, 0}, {4, 0.9f}, {4, 2.4f}, {3.1f, 3.3f}, {0, 3.3f}}}}},
      {'R', {4, {{{0, 6}, {0, 0}, {3.1f, 0}, {4, 0.9f}, {4, 2.1f}, {3.1f, 3}, {0, 3}}, {{2.2f, 3}, {4, 6}}}}},
      {'S', {4, {{{4, 0.9f}, {3.1f, 0}, {0.9f, 0}, {0, 0.9f}, {0, 2.1f}, {0.9f, 3}, {3.1f, 3}, {4, 3.9f}, {4, 5.1f}, {3.1f, 6}, {0.9f, 6}, {0, 5.1f}}}}},
      {'T', {4, {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}}},
      {'U', {4, {{{0, 0}, {0, 5.1f}, {0.9f, 6}, {3.1f, 6}, {4, 5.1f}, {4, 0}}}}},
      {'V', {4, {{{0, 0}, {0, 3.4f}, {2, 6}, {4, 3.4f}, {4, 0}}}}},
      {'W', {5, {{{0, 0}, {0, 6}, {2.5f, 3.6f}, {5, 6}, {5, 0}}}}},
      {'Z', {4, {{{0, 0}, {4, 0}, {4, 0.8f}, {0, 5.2f}, {0, 6}, {4, 6}}}}},
      {'-', {2.6f, {{{0, 3.2f}, {2.6f, 3.2f}}}}},
      {'!', {0.01f, {{{0, 0}, {0, 3.9f}}, {{0, 5.9f}, {0, 6}}}}},
      {'.', {0.01f, {{{0, 5.9f}, {0, 6}}}}},
      {'0', {4, {{{0.9f, 0}, {3.1f, 0}, {4, 0.9f}, {4, 5.1f}, {3.1f, 6}, {0.9f, 6}, {0, 5.1f}, {0, 0.9f}, {0.9f, 0}}, {{2.9f, 1.6f}, {1.1f, 4.4f}}}}},
      {'1', {4, {{{0.6f, 1.2f}, {2, 0}, {2, 6}}, {{0.4f, 6}, {3.6f, 6}}}}},
      {'2', {4, {{{0, 0.9f}, {0.9f, 0}, {3.1f, 0}, {4, 0.9f}, {4, 2.1f}, {3.1f, 3}, {0.9f, 3}, {0, 3.9f}, {0, 6}, {4, 6}}}}},
      {'3', {4, {{{0, 0}, {3.1f, 0}, {4, 0.9f}, {4, 2.1f}, {3.1f, 3}, {1.2f, 3}}, {{3.1f, 3}, {4, 3.9f}, {4, 5.1f}, {3.1f, 6}, {0, 6}}}}},
      {'4', {4, {{{0, 0}, {0, 4}, {4, 4}}, {{3, 1.8f}, {3, 6}}}}},
      {'5', {4, {{{4, 0}, {0, 0}, {0, 3}, {3.1f, 3}, {4, 3.9f}, {4, 5.1f}, {3.1f, 6}, {0, 6}}}}},
      {'6', {4, {{{4, 0}, {0.9f, 0}, {0, 0.9f}, {0, 5.1f}, {0.9f, 6}, {3.1f, 6}, {4, 5.1f}, {4, 3.9f}, {3.1f, 3}, {0, 3}}}}},
      {'7', {4, {{{0, 0}, {4, 0}, {4, 1.2f}, {1.6f, 6}}}}},
      {'8', {4, {{{0.9f, 0}, {3.1f, 0}, {4, 0.9f}, {4, 2.1f}, {3.1f, 3}, {0.9f, 3}, {0, 2.1f}, {0, 0.9f}, {0.9f, 0}},
                 {{0.9f, 3}, {0, 3.9f}, {0, 5.1f}, {0.9f, 6}, {3.1f, 6}, {4, 5.1f}, {4, 3.9f}, {3.1f, 3}}}}},
      {'9', {4, {{{0, 6}, {3.1f, 6}, {4, 5.1f}, {4, 0.9f}, {3.1f, 0}, {0.9f, 0}, {0, 0.9f}, {0, 2.1f}, {0.9f, 3}, {4, 3}}}}},
  };
  return font;
}

struct Segment {
  Point a, b;
};

float SegmentDistance(const Segment& s, float px, float py) {
  const float dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((px - s.a.x) * dx + (py - s.a.y) * dy) / len2 : 0;
  t = Clamp(t, 0, 1);
  const float ex = s.a.x + t * dx - px, ey = s.a.y + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

Rgb Gradient(LetterStyle style, float t, const Palette& pal) {
  // t: 0 at the top of the letters, 1 at the bottom.
  auto ramp = [&](Ramp r, float from, float to) {
    const float pos = Lerp(from, to, Clamp(t, 0, 1)) * static_cast<float>(r.Size() - 1);
    const int i = static_cast<int>(pos);
    const int j = i + 1 < r.Size() ? i + 1 : i;
    return Mix(pal.colour[r.first + i], pal.colour[r.first + j], pos - static_cast<float>(i));
  };
  switch (style) {
    case LetterStyle::Warm: return ramp(kLetterWarm, 0.05f, 0.72f);
    case LetterStyle::Cool: return ramp(kLetterCool, 1.0f, 0.15f);
    default: return ramp(kLetterWarm, 0.25f, 1.0f);
  }
}

}  // namespace

Image8 RenderText(const std::string& text, int width, int height, LetterStyle style, float stroke) {
  const Palette& pal = GamePalette();
  const float outline = height >= 24 ? 1.6f : 1.2f;
  const float hw = static_cast<float>(height) * 0.085f * stroke;  // stroke half-width in pixels
  const float slant = 0.16f;
  const float gapPx = 2 * hw + static_cast<float>(height) * 0.10f;
  const float spacePx = static_cast<float>(height) * 0.35f;
  // Skeleton box in pixels.
  const float top = outline + hw, bottom = static_cast<float>(height) - outline - hw;
  const float skelH = bottom - top;
  const float left = outline + hw, right = static_cast<float>(width) - outline - hw;
  const float avail = right - left - slant * skelH;
  float units = 0, fixedPx = 0;
  int glyphs = 0;
  for (char ch : text) {
    if (ch == ' ') {
      fixedPx += spacePx;
      continue;
    }
    units += Font().at(ch).width;
    ++glyphs;
  }
  fixedPx += gapPx * static_cast<float>(glyphs > 0 ? glyphs - 1 : 0);
  const float sx = units > 0 ? (avail - fixedPx) / units : 0;
  const float sy = skelH / 6.0f;
  std::vector<Segment> segs;
  float pen = left;
  bool first = true;
  for (char ch : text) {
    if (ch == ' ') {
      pen += spacePx;
      continue;
    }
    if (!first) pen += gapPx;
    first = false;
    const Glyph& g = Font().at(ch);
    // A lone thin glyph (width near 0) is centred in its advance.
    for (const Polyline& line : g.strokes)
      for (size_t i = 0; i + 1 < line.size(); ++i) {
        auto map = [&](Point p) {
          const float y = top + p.y * sy;
          return Point{pen + p.x * sx + slant * (bottom - y), y};
        };
        segs.push_back({map(line[i]), map(line[i + 1])});
      }
    pen += g.width * sx;
  }
  ImageRgba img(width, height);
  const Rgb outlineColour = pal.colour[style == LetterStyle::Cool ? kOutlineNavy : kOutlineDark];
  constexpr int kSub = 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb sum;
      int covered = 0;
      for (int sj = 0; sj < kSub; ++sj)
        for (int si = 0; si < kSub; ++si) {
          const float px = static_cast<float>(x) + (si + 0.5f) / kSub;
          const float py = static_cast<float>(y) + (sj + 0.5f) / kSub;
          float d = 1e9f;
          for (const Segment& s : segs) d = std::fmin(d, SegmentDistance(s, px, py));
          if (d < hw) {
            const float t = (py - (top - hw)) / (skelH + 2 * hw);
            Rgb c = Gradient(style, t, pal);
            // A bright glint along the upper third, and darker stroke edges.
            const float glint = Smoothstep(0.22f, 0.30f, t) * (1 - Smoothstep(0.30f, 0.40f, t));
            c = Mix(c, pal.colour[255], 0.45f * glint);
            c = c * (1.0f - 0.25f * Smoothstep(hw * 0.55f, hw, d));
            sum = sum + c;
            ++covered;
          } else if (d < hw + outline) {
            sum = sum + outlineColour;
            ++covered;
          }
        }
      if (covered * 2 >= kSub * kSub) {
        img.alpha[img.Index(x, y)] = 1;
        img.rgb[img.Index(x, y)] = sum * (1.0f / static_cast<float>(covered));
      }
    }
  static Quantizer warm(RampIndices({kLetterWarm, kFlameHigh, kRed}, {kOutlineDark, 255, 199, 190, 184, 178, 177}));
  static Quantizer cool(RampIndices({kLetterCool, kEngine}, {kOutlineNavy, kOutlineNavy2, 255, kShotGlow, kShotCore, kGlowMid}));
  return QuantizeRgba(img, style == LetterStyle::Cool ? cool : warm, 0.0f);
}

}  // namespace zukgen
