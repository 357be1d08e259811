// The readme file's bytes as display text, free of the window: UTF-8 or
// Shift-JIS in, UTF-8 lines joined by '\n' out.
#pragma once

#include <string>
#include <string_view>

#include "base/utf8.h"

// File bytes to display text: a NUL byte ends the text; UTF-8 is kept (a
// leading byte-order mark dropped), anything else is read as Shift-JIS
// (CP932); lines end at CR LF, CR or LF and are joined by '\n', with no
// line end after the last line.
std::string ReadmeTextFromBytes(std::string_view bytes);
