#include <windows.h>

#include "platform/user_language.h"
#include "platform/windows_text_win32.h"

namespace {

// Windows' "ja-JP" is gettext's "ja_JP".
std::string GettextCode(const wchar_t* name) {
  std::string code = Utf8(name);
  for (char& c : code)
    if (c == '-') c = '_';
  return code;
}

std::vector<std::string> DefaultUiLanguage() {
  const LANGID id = GetUserDefaultUILanguage();
  return {PRIMARYLANGID(id) == LANG_JAPANESE ? "ja" : "en"};
}

}  // namespace

std::vector<std::string> UserLanguages() {
  ULONG count = 0;
  ULONG size = 0;
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0)
    return DefaultUiLanguage();
  std::wstring names(size, L'\0');
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) return DefaultUiLanguage();
  std::vector<std::string> out;
  for (const wchar_t* name = names.c_str(); *name; name += wcslen(name) + 1) out.push_back(GettextCode(name));
  return out.empty() ? DefaultUiLanguage() : out;
}
