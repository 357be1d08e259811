// The readme's sections in one language. What every system shares is
// written once; the installation, setup, starting, settings window, files
// and uninstalling differ between Linux and Windows.
#pragma once

#include <vector>

namespace zukgen {

// One line a string, without its line end; a section ends with a blank line.
using ReadmeLines = std::vector<const char*>;

// The title's rules and version line, the same in every language.
inline constexpr const char* kReadmeRule = "━━━━━━━━━━━━━━━━━━━━━━";
inline constexpr const char* kReadmeVersion = "　ZUK_RER1　Ver1.91　　　ZUK-SOFT";

struct ReadmeSystemPart {
  ReadmeLines install, setup, saver;
  ReadmeLines settingsOpen;  // where the settings window is opened from
  ReadmeLines files, uninstall;
};

struct ReadmeSections {
  ReadmeLines title, about, keys, game;
  ReadmeLines settings;  // the settings window's controls, after settingsOpen
  ReadmeLines lastWords;
  ReadmeSystemPart onLinux, onWindows;
};

const ReadmeSections& JapaneseReadme();
const ReadmeSections& EnglishReadme();

}  // namespace zukgen
