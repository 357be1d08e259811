// Fuzzes the readme decoder (UTF-8 or Shift-JIS): whatever the bytes, the
// text is well-formed UTF-8 without CR or NUL, and UTF-8 input without
// those characters comes out as it went in, less a byte-order mark and a
// last line end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/readme_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = ReadmeTextFromBytes(bytes);
  if (!IsValidUtf8(text) || text.find('\r') != std::string::npos || text.find('\0') != std::string::npos) {
    std::abort();
  }
  if (IsValidUtf8(bytes) && bytes.find_first_of(std::string_view("\r\0", 2)) == std::string_view::npos) {
    std::string_view plain = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
    if (!plain.empty() && plain.back() == '\n') plain.remove_suffix(1);
    if (text != plain) std::abort();
  }
  // Dropping a character cut at the end: a prefix at most three bytes
  // shorter, and nothing dropped from well-formed UTF-8.
  const std::string_view kept = WithoutCutUtf8Character(bytes);
  if (kept != bytes.substr(0, kept.size()) || bytes.size() - kept.size() > 3) std::abort();
  if (IsValidUtf8(bytes) && kept.size() != bytes.size()) std::abort();
  return 0;
}
