// Reading a message catalogue in gettext's PO format: the translated
// entries by their message id. Fuzzy and untranslated entries, the header
// and plural entries are left out, as gettext leaves them out at run time.
#pragma once

#include <map>
#include <string>
#include <string_view>

using Translations = std::map<std::string, std::string, std::less<>>;

// Never fails: an entry with a line that can't be read is dropped whole.
Translations ReadPoFile(std::string_view text);
