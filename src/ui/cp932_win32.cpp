#include "ui/cp932.h"

#include "platform/windows_text_win32.h"

namespace {

// One character at `at`: a lead byte takes the byte after it.
size_t CharacterLength(std::string_view in, size_t at) {
  const unsigned char c = static_cast<unsigned char>(in[at]);
  const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  return lead && at + 1 < in.size() ? 2 : 1;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view in) {
  std::string out;
  out.reserve(in.size() * 3 / 2 + 16);
  for (size_t at = 0; at < in.size();) {
    const size_t length = CharacterLength(in, at);
    wchar_t wide[2];
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in.data() + at, static_cast<int>(length), wide, 2);
    if (n > 0) {
      out += Utf8(std::wstring(wide, static_cast<size_t>(n)));
      at += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++at;
    }
  }
  return out;
}
