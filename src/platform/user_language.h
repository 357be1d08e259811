// The languages the user reads, best first, as gettext codes ("ja_JP",
// "en_US.UTF-8", "C"): what UseLanguage() chooses the texts by.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Linux: LANGUAGE, LC_ALL, LC_MESSAGES and LANG as gettext reads them.
// Windows: the user's UI languages.
std::vector<std::string> UserLanguages();

// gettext's reading of the variables: the locale of messages is the first
// set of LC_ALL, LC_MESSAGES and LANG ("C" with none); LANGUAGE, a list
// separated by ':', comes before it unless that locale is C.
std::vector<std::string> LanguagesFromVariables(std::string_view language, std::string_view lcAll,
                                                std::string_view lcMessages, std::string_view lang);
