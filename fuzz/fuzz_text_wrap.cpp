// Fuzzes the readme window's line breaking: the first byte is the width
// the lines must fit (ASCII characters one wide, others two), the rest the
// text (UTF-8, as the readme decoder gives it). Every line fits but for the
// blanks at its end (they hang past the edge), and the text keeps every
// character but the blanks dropped at the breaks.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/readme_text.h"
#include "base/text_wrap.h"

namespace {

double Width(std::string_view ch) { return static_cast<unsigned char>(ch[0]) < 0x80 ? 1 : 2; }

// The text without line ends and blanks (ASCII, tab, U+3000).
std::string Ink(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 3) == "\u3000") {
      i += 2;
    } else if (text[i] != '\n' && text[i] != ' ' && text[i] != '\t') {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const double maxWidth = 2 + data[0] % 64;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!IsValidUtf8(text)) return 0;
  const std::string wrapped = WrapText(text, maxWidth, Width);
  if (Ink(wrapped) != Ink(text)) std::abort();
  size_t from = 0;
  while (from <= wrapped.size()) {
    const size_t end = std::min(wrapped.find('\n', from), wrapped.size());
    std::string_view line(wrapped.data() + from, end - from);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.ends_with("\u3000"))) {
      line.remove_suffix(line.back() == ' ' || line.back() == '\t' ? 1 : 3);
    }
    double width = 0;
    for (const char ch : line) {
      if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) width += Width(std::string_view(&ch, 1));
    }
    if (width > maxWidth) std::abort();
    from = end + 1;
  }
  return 0;
}
