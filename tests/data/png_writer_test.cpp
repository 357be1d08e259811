// The PNG writer: a standard file structure (signature, chunk CRCs, stored
// zlib stream with its Adler-32) that decodes back to the exact pixels.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "data/data_test_util.h"
#include "platform/png_writer.h"

using namespace datatest;

namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return (static_cast<uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

uint32_t ReferenceCrc(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

struct Decoded {
  std::string error;
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// Decodes the subset the writer produces: truecolour, 8 bits, stored
// deflate blocks, filter 0 on every row.
Decoded Decode(const std::vector<uint8_t>& f) {
  Decoded d;
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (f.size() < 8 || std::memcmp(f.data(), kSig, 8) != 0) return {"signature", 0, 0, {}};
  std::vector<uint8_t> z;
  bool end = false;
  for (size_t at = 8; at < f.size();) {
    if (at + 12 > f.size()) return {"truncated chunk", 0, 0, {}};
    const uint32_t len = Be32(f, at);
    if (at + 12 + len > f.size()) return {"chunk past end", 0, 0, {}};
    const std::string type(f.begin() + static_cast<long>(at) + 4, f.begin() + static_cast<long>(at) + 8);
    if (ReferenceCrc(f.data() + at + 4, len + 4) != Be32(f, at + 8 + len)) return {"crc of " + type, 0, 0, {}};
    if (type == "IHDR") {
      d.width = Be32(f, at + 8);
      d.height = Be32(f, at + 12);
      if (f[at + 16] != 8 || f[at + 17] != 2 || f[at + 20] != 0) return {"ihdr", 0, 0, {}};
    } else if (type == "IDAT") {
      z.insert(z.end(), f.begin() + static_cast<long>(at) + 8, f.begin() + static_cast<long>(at + 8 + len));
    } else if (type == "IEND") {
      end = true;
    }
    at += 12 + len;
  }
  if (!end) return {"no IEND", 0, 0, {}};
  if (z.size() < 6 || ((z[0] << 8) | z[1]) % 31 != 0 || (z[0] & 0x0F) != 8) return {"zlib header", 0, 0, {}};
  std::vector<uint8_t> raw;
  size_t at = 2;
  for (bool last = false; !last;) {
    if (at + 5 > z.size()) return {"deflate truncated", 0, 0, {}};
    last = z[at] & 1;
    if ((z[at] >> 1) != 0) return {"not a stored block", 0, 0, {}};
    const uint32_t len = z[at + 1] | (z[at + 2] << 8), nlen = z[at + 3] | (z[at + 4] << 8);
    if ((len ^ 0xFFFFu) != nlen || at + 5 + len > z.size()) return {"stored length", 0, 0, {}};
    raw.insert(raw.end(), z.begin() + static_cast<long>(at) + 5, z.begin() + static_cast<long>(at + 5 + len));
    at += 5 + len;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  if (at + 4 != z.size() || Be32(z, at) != ((b << 16) | a)) return {"adler", 0, 0, {}};
  const size_t row = d.width * 3 + 1;
  if (raw.size() != row * d.height) return {"raw size", 0, 0, {}};
  for (uint32_t y = 0; y < d.height; ++y) {
    if (raw[y * row] != 0) return {"filter", 0, 0, {}};
    d.rgb.insert(d.rgb.end(), raw.begin() + static_cast<long>(y * row + 1), raw.begin() + static_cast<long>((y + 1) * row));
  }
  return d;
}

TEST(PngWriter, EncodesPixelsExactlyAcrossSeveralStoredBlocks) {
  for (const auto& size : {std::pair{1, 1}, std::pair{3, 2}, std::pair{300, 100}}) {
    const int w = size.first, h = size.second;  // 300 x 100: 90100 raw bytes, two blocks
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37 + i / 7);
    const Decoded d = Decode(EncodePng(w, h, rgb.data()));
    ASSERT_TRUE(d.error.empty()) << w << "x" << h << ": " << d.error;
    EXPECT_EQ(d.width, static_cast<uint32_t>(w));
    EXPECT_EQ(d.height, static_cast<uint32_t>(h));
    EXPECT_TRUE(d.rgb == rgb) << w << "x" << h;
  }
}

TEST(PngWriter, WritesFilesAndRefusesBadRequests) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zuk_png_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const uint8_t rgb[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const std::string path = (dir / "four.png").string();
  ASSERT_TRUE(WritePng(path, 2, 2, rgb));
  EXPECT_TRUE(ReadFile(path) == EncodePng(2, 2, rgb));
  EXPECT_FALSE(WritePng((dir / "no" / "such" / "dir.png").string(), 2, 2, rgb));
  EXPECT_FALSE(WritePng((dir / "empty.png").string(), 0, 2, rgb));
  EXPECT_FALSE(WritePng((dir / "negative.png").string(), 2, -1, rgb));
  EXPECT_FALSE(fs::exists(dir / "empty.png"));
  EXPECT_TRUE(EncodePng(2, 2, nullptr).empty());
  fs::remove_all(dir);
}

}  // namespace
