// The user's languages, read from the variables as gettext reads them.
#include <gtest/gtest.h>

#include "platform/user_language.h"

namespace {

TEST(UserLanguage, ReadsTheVariablesInGettextsOrder) {
  using V = std::vector<std::string>;
  const struct {
    const char *language, *lcAll, *lcMessages, *lang;
    V expected;
  } cases[] = {
      {"", "", "", "", V{"C"}},
      {"", "", "", "en_US.UTF-8", V{"en_US.UTF-8"}},
      {"", "", "ja_JP.UTF-8", "en_US.UTF-8", V{"ja_JP.UTF-8"}},
      {"", "de_DE", "ja_JP.UTF-8", "en_US.UTF-8", V{"de_DE"}},
      {"fr:ja", "", "", "en_US.UTF-8", V{"fr", "ja", "en_US.UTF-8"}},
      {"fr::ja:", "", "", "de_DE", V{"fr", "ja", "de_DE"}},
      // LANGUAGE counts for nothing in the C locale, as in gettext.
      {"en", "C", "", "", V{"C"}},
      {"en", "", "", "POSIX", V{"POSIX"}},
      {"en", "", "", "C.UTF-8", V{"C.UTF-8"}},
      {"en", "", "", "", V{"C"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LanguagesFromVariables(c.language, c.lcAll, c.lcMessages, c.lang), c.expected)
        << c.language << "|" << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
}

}  // namespace
