#include "platform/user_language.h"

#include "base/catalogue.h"

std::vector<std::string> LanguagesFromVariables(std::string_view language, std::string_view lcAll,
                                                std::string_view lcMessages, std::string_view lang) {
  std::string_view locale = !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang;
  if (locale.empty()) locale = "C";
  std::vector<std::string> out;
  // gettext gives the untranslated texts in the C locale whatever LANGUAGE says.
  if (!IsCLocale(locale)) {
    while (!language.empty()) {
      const size_t colon = language.find(':');
      if (colon != 0) out.emplace_back(language.substr(0, colon));
      language.remove_prefix(colon == std::string_view::npos ? language.size() : colon + 1);
    }
  }
  out.emplace_back(locale);
  return out;
}
