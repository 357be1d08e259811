#include "base/catalogue.h"

#include <map>

#include "base/po_file.h"

namespace {

// The language whose catalogue serves every language we have no
// catalogue for.
constexpr std::string_view kFallbackLanguage = "en";

struct State {
  std::string language;
  const Translations* texts = nullptr;
  // Each catalogue read once and kept, so that pointers into it stay valid
  // when the language changes.
  std::map<std::string, Translations, std::less<>> read;
};

State& Current() {
  static State* state = new State;  // never destroyed: labels point into it
  return *state;
}

const CatalogueFile* FindFile(std::string_view language) {
  for (size_t i = 0; i < kCatalogueFileCount; ++i)
    if (kCatalogueFiles[i].language == language) return &kCatalogueFiles[i];
  return nullptr;
}

// "fr_CA.UTF-8@euro" is tried as "fr_CA", then as "fr".
const CatalogueFile* FindCatalogue(std::string_view code) {
  code = code.substr(0, code.find_first_of(".@"));
  if (const CatalogueFile* file = FindFile(code)) return file;
  return FindFile(code.substr(0, code.find('_')));
}

bool IsOriginal(std::string_view code) {
  return IsCLocale(code) || code.substr(0, code.find_first_of("_.@")) == "ja";
}

std::string Use(const CatalogueFile* file) {
  State& s = Current();
  if (!file) {
    s.language.clear();
    s.texts = nullptr;
    return s.language;
  }
  auto it = s.read.find(file->language);
  if (it == s.read.end()) it = s.read.emplace(file->language, ReadPoFile(file->text)).first;
  s.language = file->language;
  s.texts = &it->second;
  return s.language;
}

}  // namespace

const char* Tr(const char* japanese) {
  const Translations* texts = Current().texts;
  if (!texts) return japanese;
  const auto it = texts->find(std::string_view(japanese));
  return it == texts->end() ? japanese : it->second.c_str();
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  auto arg = args.begin();
  for (size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, 2, "%s") == 0 && arg != args.end()) {
      out += *arg++;
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

std::string UseLanguage(const std::vector<std::string>& preferences) {
  for (const std::string& code : preferences) {
    if (IsOriginal(code)) return Use(nullptr);
    if (const CatalogueFile* file = FindCatalogue(code)) return Use(file);
  }
  return Use(FindFile(kFallbackLanguage));
}

bool IsCLocale(std::string_view code) {
  const std::string_view name = code.substr(0, code.find_first_of(".@"));
  return name == "C" || name == "POSIX";
}

const std::string& LanguageInUse() { return Current().language; }
