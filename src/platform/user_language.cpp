#include "platform/user_language.h"

std::vector<std::string> LanguagesFromVariables(std::string_view language, std::string_view lcAll,
                                                std::string_view lcMessages, std::string_view lang) {
  std::string_view locale = !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang;
  if (locale.empty()) locale = "C";
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  std::vector<std::string> out;
  // gettext gives the untranslated texts in the C locale whatever LANGUAGE says.
  if (name != "C" && name != "POSIX") {
    while (!language.empty()) {
      const size_t colon = language.find(':');
      if (colon != 0) out.emplace_back(language.substr(0, colon));
      language.remove_prefix(colon == std::string_view::npos ? language.size() : colon + 1);
    }
  }
  out.emplace_back(locale);
  return out;
}
