// UTF-8 as the program's texts and paths hold it: telling it from the
// older code pages that files written by other programs may be in.
#pragma once

#include <string_view>

// Whether bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Bytes cut off after `limit` bytes can end inside a UTF-8 character: drops
// that character's leading bytes, so that a long UTF-8 text cut short is
// still read as UTF-8. Other text is returned as it is.
std::string_view WithoutCutUtf8Character(std::string_view bytes);
