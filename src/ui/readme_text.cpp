#include "ui/readme_text.h"

#include "base/utf8.h"
#include "ui/cp932.h"

std::string ReadmeTextFromBytes(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::string text;
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    text.assign(bytes);
  } else {
    text = Cp932ToUtf8(bytes);
  }
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  // A line end after the last line doesn't start another line.
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}
