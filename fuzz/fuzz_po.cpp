// Fuzzes the catalogues' reader: any bytes read without a crash, and the
// entries it keeps, written back as PO, read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/po_file.h"

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == '"' || c == '\\') out += std::string("\\") + c;
    else out += c;
  }
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Translations kept = ReadPoFile(std::string(reinterpret_cast<const char*>(data), size));
  std::string po;
  for (const auto& [id, text] : kept) {
    if (id.empty() || text.empty()) std::abort();
    po += "msgid " + Quoted(id) + "\nmsgstr " + Quoted(text) + "\n\n";
  }
  if (ReadPoFile(po) != kept) std::abort();
  return 0;
}
