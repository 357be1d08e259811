// The texts the program shows, in the user's language. Every text is
// written in the code in Japanese, its original language, and looked up
// through Tr(): the Japanese text is the message id of the catalogues
// (po/*.po, compiled into the program), and comes back as it is where no
// catalogue is in use or the catalogue lacks it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The text in the language in use. The returned pointer lives as long as
// the program (window labels keep it).
const char* Tr(const char* japanese);

// Marks a text of the catalogue that is looked up later, by Tr() of the
// variable that keeps it.
constexpr const char* N_(const char* japanese) { return japanese; }

// A looked-up text with each "%s" replaced by the next argument, in order.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> args);

// Chooses the language from the user's list of preferences, best first
// (gettext's codes: "ja_JP", "en", "fr_CA.UTF-8", "C"): the first that is
// Japanese or the C locale gives the Japanese texts, the first that has a
// catalogue gives its texts, and a list with neither gives English, the
// one translation for everybody else. Returns the code of the catalogue
// now in use, "" for the Japanese texts.
std::string UseLanguage(const std::vector<std::string>& preferences);

// True for the C locale's names ("C", "POSIX", "C.UTF-8"), whose texts are
// the untranslated ones.
bool IsCLocale(std::string_view code);

// The code of the catalogue in use, "" while the texts are Japanese.
const std::string& LanguageInUse();

// The catalogues compiled into the program (catalogue_files.cpp, written by
// the build from po/*.po): the language code and the PO file's text.
struct CatalogueFile {
  const char* language;
  const char* text;
};
extern const CatalogueFile kCatalogueFiles[];
extern const size_t kCatalogueFileCount;
