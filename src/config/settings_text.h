// The text of the settings file: how it is cut into lines, how the readers
// interpret the lines and what the writers produce. Nothing here touches the
// file system, so the readers can be checked (and fuzzed) on plain text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"

// Cuts the file's text into lines. A line ends at CR, at CR LF or at a lone
// LF; a Ctrl-Z (code 26) ends the text. Text after the last line end forms
// one more line; a text that ends with a line end has no empty line after it.
std::vector<std::string_view> SplitSettingsLines(std::string_view text);

// The first line of the text, empty for an empty text.
std::string_view FirstSettingsLine(std::string_view text);

// Removes leading and trailing blanks and control characters (codes 0..32).
std::string_view TrimSettingText(std::string_view s);

// Converts a value's text: an optional sign followed by decimal digits, or
// a hexadecimal number introduced by "$", "x", "X", "0x" or "0X". Reading
// stops at the first character that does not belong to the number and keeps
// the value so far; no digits give 0. Saturates at the 32-bit range.
int32_t ConvertSettingNumber(std::string_view s);

// The MAX/VOL value's text: characters 5 to 7 of the line (counted from 1),
// trimmed.
std::string_view SettingValueText(std::string_view line);

// The PATH value: the line from its 6th character to its end.
std::string_view SettingPathValue(std::string_view line);

// Applies the lines of the text to g in the game's way. For each PATH line,
// DataPath becomes the value (as the system reads a stored path,
// PathFromStoredText) plus '/', and dataFileExists(DataPath +
// "bmp1.bmp") must be true, else reading stops there with DataMissing.
// NoPath when DataPath is empty after the last line.
GameReadResult ApplyGameSettingsText(std::string_view text, Settings& g,
                                     const std::function<bool(const std::string&)>& dataFileExists);

// Applies the lines of the text to the settings window's values.
// Returns false when DataPath is empty afterwards.
bool ApplyWindowSettingsText(std::string_view text, WindowSettings& v);

// The setup writer's six lines.
std::string SetupFileText(std::string_view currentDir);

// The settings writer's seven lines, firstLine carried over unchanged.
std::string SettingsFileText(const WindowSettings& v, std::string_view firstLine);
