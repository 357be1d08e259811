// Readers for the generated data files, shared by the data tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace datatest {

inline std::string DataDir() { return std::string(ZUK_BINARY_DIR) + "/data"; }

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

// The readme `name` in `folder` holds every one of `needles` and none of
// `absent`.
inline void ExpectReadmeTells(const std::string& folder, const std::string& name,
                              const std::vector<const char*>& needles, const std::vector<const char*>& absent) {
  const std::vector<uint8_t> b = ReadFile(folder + "/" + name);
  const std::string text(b.begin(), b.end());
  for (const char* needle : needles) EXPECT_NE(text.find(needle), std::string::npos) << name << ": " << needle;
  for (const char* other : absent) EXPECT_EQ(text.find(other), std::string::npos) << name << ": " << other;
}

struct Rgb {
  int r, g, b;
};

// pal256.pal: 256 entries stored red, blue, green.
inline std::vector<Rgb> LoadPalette() {
  const std::vector<uint8_t> b = ReadFile(DataDir() + "/pal256.pal");
  std::vector<Rgb> pal;
  for (size_t i = 0; i + 2 < b.size() && pal.size() < 256; i += 3) pal.push_back({b[i], b[i + 2], b[i + 1]});
  return pal;
}

inline double Luma(const Rgb& c) { return 0.30 * c.r + 0.59 * c.g + 0.11 * c.b; }

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> px;
  std::vector<Rgb> table;  // colour table
  std::string error;
  uint8_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

// An uncompressed 8-bit Windows bitmap with a BITMAPINFOHEADER.
inline Picture LoadBmp(const std::string& path) {
  Picture p;
  const std::vector<uint8_t> b = ReadFile(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
    p.error = "not a bitmap";
    return p;
  }
  if (Le32(b, 2) != b.size()) p.error = "file size field wrong";
  const uint32_t offset = Le32(b, 10);
  const int32_t w = static_cast<int32_t>(Le32(b, 18)), h = static_cast<int32_t>(Le32(b, 22));
  if (Le32(b, 14) != 40 || Le16(b, 26) != 1 || Le16(b, 28) != 8 || Le32(b, 30) != 0 || w <= 0 || h <= 0) {
    p.error = "unexpected header";
    return p;
  }
  const uint32_t colours = Le32(b, 46) ? Le32(b, 46) : 256;
  if (colours > 256 || 54 + 4 * colours > offset) {
    p.error = "bad colour table";
    return p;
  }
  for (uint32_t i = 0; i < colours; ++i) p.table.push_back({b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]});
  const size_t stride = (static_cast<size_t>(w) + 3) & ~static_cast<size_t>(3);
  if (offset + stride * static_cast<size_t>(h) > b.size()) {
    p.error = "truncated pixels";
    return p;
  }
  p.width = w;
  p.height = h;
  p.px.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.px[static_cast<size_t>(y) * w + x] = b[offset + stride * (h - 1 - y) + x];
  return p;
}

}  // namespace datatest
