// Which characters of a text a TrueType or OpenType font has no glyph for,
// read from the font's character map (cmap formats 4 and 12, Windows
// Unicode): the readmes are checked against the windows' font when they are
// made, so that no reader meets a character the window cannot draw.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "art.h"

namespace zukgen {

namespace {

struct FontBytes {
  std::string b;
  uint32_t U16(size_t at) const { return at + 2 <= b.size() ? (uint8_t(b[at]) << 8) | uint8_t(b[at + 1]) : 0; }
  uint32_t U32(size_t at) const { return (U16(at) << 16) | U16(at + 2); }
};

// The offset of the character map subtable for Unicode: full (3, 10) before
// the basic plane's (3, 1).
size_t UnicodeMap(const FontBytes& f) {
  size_t cmap = 0;
  for (uint32_t i = 0, n = f.U16(4); i < n; ++i)
    if (f.b.compare(12 + 16 * i, 4, "cmap") == 0) cmap = f.U32(12 + 16 * i + 8);
  if (cmap == 0) throw std::runtime_error("the font has no character map");
  size_t found = 0;
  for (uint32_t i = 0, n = f.U16(cmap + 2); i < n; ++i) {
    const size_t record = cmap + 4 + 8 * i;
    if (f.U16(record) != 3) continue;
    const uint32_t encoding = f.U16(record + 2);
    if (encoding == 10 || (encoding == 1 && found == 0)) found = cmap + f.U32(record + 4);
  }
  if (found == 0) throw std::runtime_error("the font has no Unicode character map");
  return found;
}

bool InFormat4(const FontBytes& f, size_t t, uint32_t c) {
  const uint32_t segments = f.U16(t + 6) / 2;
  const size_t ends = t + 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments,
               ranges = deltas + 2 * segments;
  for (uint32_t s = 0; s < segments; ++s) {
    if (f.U16(ends + 2 * s) < c) continue;
    const uint32_t start = f.U16(starts + 2 * s), range = f.U16(ranges + 2 * s);
    if (start > c) return false;
    if (range == 0) return ((c + f.U16(deltas + 2 * s)) & 0xFFFF) != 0;
    return f.U16(ranges + 2 * s + range + 2 * (c - start)) != 0;
  }
  return false;
}

bool InFormat12(const FontBytes& f, size_t t, uint32_t c) {
  for (uint32_t g = 0, n = f.U32(t + 12); g < n; ++g)
    if (f.U32(t + 16 + 12 * g) <= c && c <= f.U32(t + 20 + 12 * g)) return true;
  return false;
}

// The code point at text[i], its length in n.
uint32_t CodePoint(const std::string& text, size_t i, size_t& n) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(i + k < text.size() ? text[i + k] : 0); };
  const uint8_t lead = byte(0);
  n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (n == 1) return lead;
  uint32_t c = lead & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) c = (c << 6) | (byte(k) & 0x3F);
  return c;
}

}  // namespace

std::string CharactersNotInFont(const std::string& fontFile, const std::string& text) {
  std::ifstream in(fontFile, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the windows' font " + fontFile);
  std::ostringstream s;
  s << in.rdbuf();
  const FontBytes f{s.str()};
  const size_t map = UnicodeMap(f);
  const uint32_t format = f.U16(map);
  if (format != 4 && format != 12) throw std::runtime_error("the font's character map is of an unread format");
  std::string missing;
  for (size_t i = 0, n = 1; i < text.size(); i += n) {
    const uint32_t c = CodePoint(text, i, n);
    if (c < 0x20 || c == 0xFEFF) continue;  // line ends, the byte-order mark
    if (format == 4 ? InFormat4(f, map, c) : InFormat12(f, map, c)) continue;
    char name[16];
    std::snprintf(name, sizeof name, " U+%04X", static_cast<unsigned>(c));
    missing += text.substr(i, n) + name;
  }
  return missing;
}

}  // namespace zukgen
