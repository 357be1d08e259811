#include <cstdlib>

#include "platform/user_language.h"

namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::vector<std::string> UserLanguages() {
  return LanguagesFromVariables(Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"),
                                Variable("LANG"));
}
