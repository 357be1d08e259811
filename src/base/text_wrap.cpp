#include "base/text_wrap.h"

#include <vector>

namespace {

// The code point of one UTF-8 character (its bytes well formed or not: only
// the classes below matter).
char32_t CodePoint(std::string_view ch) {
  const auto c = static_cast<unsigned char>(ch[0]);
  if (c < 0x80 || ch.size() == 1) return c;
  char32_t cp = ch.size() == 2 ? (c & 0x1F) : ch.size() == 3 ? (c & 0x0F) : (c & 0x07);
  for (size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
  return cp;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }
bool IsLatin(char32_t c) { return c > 0x20 && c < 0x7F; }

// Marks that never start a line, and marks that never end one.
bool IsClosing(char32_t c) {
  static constexpr std::u32string_view kClosing =
      U"、。，．・：；？！）」』】〕｝〉》ーぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ…‥～"
      U"\uFF61\uFF63\uFF64\uFF70";  // half-width 。」、ー
  return kClosing.find(c) != std::u32string_view::npos;
}
bool IsOpening(char32_t c) {
  static constexpr std::u32string_view kOpening = U"（「『【〔｛〈《\uFF62";
  return kOpening.find(c) != std::u32string_view::npos;
}

bool CanBreakBetween(char32_t a, char32_t b) {
  if (IsBlank(b)) return false;
  if (IsBlank(a)) return true;
  if (IsLatin(a) && IsLatin(b)) return false;
  return !IsClosing(b) && !IsOpening(a);
}

// One line's characters, each as its UTF-8 bytes.
std::vector<std::string_view> Characters(std::string_view line) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    size_t len = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (i + len > line.size()) len = line.size() - i;
    chars.push_back(line.substr(i, len));
    i += len;
  }
  return chars;
}

void AppendLine(std::string& out, const std::vector<std::string_view>& chars, size_t from, size_t to,
                bool dropTrailingBlanks) {
  if (dropTrailingBlanks)
    while (to > from && IsBlank(CodePoint(chars[to - 1]))) --to;
  for (size_t i = from; i < to; ++i) out.append(chars[i]);
}

void WrapLine(std::string& out, std::string_view line, double maxWidth, const CharWidth& width) {
  const std::vector<std::string_view> chars = Characters(line);
  size_t start = 0;
  size_t chance = 0;  // the latest break chance after start (0: none yet)
  double used = 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = CodePoint(chars[i]);
    if (i > start && CanBreakBetween(CodePoint(chars[i - 1]), c)) chance = i;
    const double w = width(chars[i]);
    if (used + w > maxWidth && i > start && !IsBlank(c)) {
      const size_t at = chance > start ? chance : i;
      AppendLine(out, chars, start, at, true);
      out += '\n';
      start = at;
      chance = 0;
      used = 0;
      i = at - 1;  // measure again from the new line's start
      continue;
    }
    used += w;
  }
  AppendLine(out, chars, start, chars.size(), false);
}

}  // namespace

std::string WrapText(std::string_view text, double maxWidth, const CharWidth& width) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (;;) {
    const size_t end = text.find('\n');
    WrapLine(out, text.substr(0, end), maxWidth, width);
    if (end == std::string_view::npos) break;
    out += '\n';
    text.remove_prefix(end + 1);
  }
  return out;
}
