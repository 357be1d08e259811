// The build's languages, as cmake/languages.cmake lists them (Japanese, the
// program's own, then one for each po/<language>.po): the tests that run in
// every language take them from here.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> BuildLanguages() {
  std::vector<std::string> languages;
  std::istringstream list(ZUK_LANGUAGES);
  for (std::string language; std::getline(list, language, ',');) languages.push_back(language);
  return languages;
}

// The readme's file for a language: readme.txt in Japanese, else
// readme_<language>.txt.
inline std::string ReadmeName(const std::string& language) {
  return language == "ja" ? "readme.txt" : "readme_" + language + ".txt";
}

}  // namespace testsupport
