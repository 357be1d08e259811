// The catalogues and the code agree: every text the code looks up (Tr("…"),
// N_("…")) is translated in every po/*.po, every entry is looked up
// somewhere, and no Japanese text reaches the screen without a lookup.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "base/po_file.h"
#include "support/file_bytes.h"

namespace fs = std::filesystem;

namespace {

struct CodeTexts {
  std::set<std::string> looked_up;
  std::vector<std::string> unmarked;  // "file: text" of Japanese literals without a lookup
};

// The literal starting at the quote `at`, escapes resolved; `at` ends past it.
std::string ReadLiteral(const std::string& s, size_t& at) {
  std::string out;
  for (++at; at < s.size() && s[at] != '"'; ++at) {
    if (s[at] == '\\' && at + 1 < s.size()) {
      const char c = s[++at];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += s[at];
    }
  }
  ++at;
  return out;
}

bool LookedUp(const std::string& s, size_t quote) {
  size_t i = quote;
  while (i > 0 && (s[i - 1] == ' ' || s[i - 1] == '\n')) --i;
  return i >= 3 && (s.compare(i - 3, 3, "Tr(") == 0 || s.compare(i - 3, 3, "N_(") == 0);
}

bool NonAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return true;
  return false;
}

// Comments, character literals and prefixed (u8, U, L) literals are skipped.
void ScanFile(const fs::path& file, CodeTexts& texts) {
  const std::string s = ReadBytes(file);
  for (size_t at = 0; at < s.size();) {
    if (s.compare(at, 2, "//") == 0) {
      at = s.find('\n', at);
    } else if (s.compare(at, 2, "/*") == 0) {
      at = s.find("*/", at) + 2;
    } else if (s[at] == '\'') {
      at = s.find('\'', at + (s[at + 1] == '\\' ? 3 : 2)) + 1;
    } else if (s[at] == '"') {
      const bool prefixed = at > 0 && std::isalnum(static_cast<unsigned char>(s[at - 1]));
      const bool marked = LookedUp(s, at);
      const std::string text = ReadLiteral(s, at);
      if (marked) texts.looked_up.insert(text);
      else if (!prefixed && NonAscii(text)) texts.unmarked.push_back(file.filename().string() + ": " + text);
    } else {
      ++at;
    }
    if (at == std::string::npos) break;
  }
}

// The menu entries' templates look up their texts too (msgfmt --desktop).
void ScanDesktopTemplate(const fs::path& file, CodeTexts& texts) {
  std::istringstream in(ReadBytes(file));
  for (std::string line; std::getline(in, line);)
    for (const std::string key : {"Name=", "GenericName=", "Comment=", "Keywords="})
      if (line.rfind(key, 0) == 0) texts.looked_up.insert(line.substr(key.size()));
}

CodeTexts ScanSources() {
  CodeTexts texts;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZUK_SOURCE_DIR) / "src")) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".cpp" || ext == ".h") ScanFile(entry.path(), texts);
  }
  for (const auto& entry : fs::directory_iterator(fs::path(ZUK_SOURCE_DIR) / "packaging"))
    if (entry.path().string().ends_with(".desktop.in")) ScanDesktopTemplate(entry.path(), texts);
  return texts;
}

size_t Places(const std::string& text) {
  size_t n = 0;
  for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2)) ++n;
  return n;
}

TEST(Catalogue, CodeAndCataloguesAgree) {
  const CodeTexts code = ScanSources();
  EXPECT_GT(code.looked_up.size(), 40u);
  for (const std::string& text : code.unmarked) ADD_FAILURE() << "a text not looked up: " << text;
  int catalogues = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(ZUK_SOURCE_DIR) / "po")) {
    if (entry.path().extension() != ".po") continue;
    ++catalogues;
    const Translations po = ReadPoFile(ReadBytes(entry.path()));
    const std::string name = entry.path().filename().string();
    for (const std::string& text : code.looked_up)
      if (!po.count(text)) ADD_FAILURE() << name << " lacks \"" << text << "\"";
    for (const auto& [id, translation] : po) {
      if (!code.looked_up.count(id)) ADD_FAILURE() << name << ": \"" << id << "\" is looked up nowhere";
      EXPECT_EQ(Places(id), Places(translation)) << name << ": \"" << id << "\"";
    }
  }
  EXPECT_GE(catalogues, 1);
}

}  // namespace
