// Shift-JIS (the Windows code page 932) to UTF-8, by the system's converter
// (iconv, or Windows' own code page).
#pragma once

#include <string>
#include <string_view>

// A byte that doesn't start a character becomes U+FFFD and reading goes on
// after it.
std::string Cp932ToUtf8(std::string_view in);
