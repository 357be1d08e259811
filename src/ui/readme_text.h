// The readme file's bytes as display text, free of the window: UTF-8 or
// Shift-JIS in, UTF-8 lines joined by '\n' out.
#pragma once

#include <string>
#include <string_view>

// File bytes to display text: a NUL byte ends the text; UTF-8 is kept (a
// leading byte-order mark dropped), anything else is read as Shift-JIS
// (CP932); lines end at CR LF, CR or LF and are joined by '\n', with no
// line end after the last line.
std::string ReadmeTextFromBytes(std::string_view bytes);

// Whether bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Bytes cut off after `limit` bytes can end inside a UTF-8 character: drops
// that character's leading bytes, so that a long UTF-8 text cut short is
// still read as UTF-8. Other text is returned as it is.
std::string_view WithoutCutUtf8Character(std::string_view bytes);
