// The readme texts shipped beside the program (UTF-8, CR LF; the Windows
// ones begin with a byte-order mark): readme.txt in
// Japanese and readme_en.txt in English, each for Linux (installing the
// Debian package, make install or the unpacked folder, setup from the menu,
// running it from XScreenSaver, MATE or Xfce, xsecurelock, xss-lock or
// swayidle on Wayland) or for Windows (the zip, setup, Screen Saver
// Settings), then the keys, the game, the settings, the files and
// uninstalling. Every line fits the readme window's text area (265 pixels of
// IPA P Gothic at 12 pixels): 22 full-width characters take 264 of them, so
// none wraps there.
#include "art.h"
#include "readme_text.h"

namespace zukgen {

namespace {

void Append(std::string& text, const ReadmeLines& lines) {
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
}

}  // namespace

std::string MakeReadme(ReadmeLanguage language, TargetSystem system) {
  const ReadmeSections& s = language == ReadmeLanguage::Japanese ? JapaneseReadme() : EnglishReadme();
  const ReadmeSystemPart& part = system == TargetSystem::Windows ? s.onWindows : s.onLinux;
  // Notepad before Windows 10 1903 reads a file without a byte-order mark
  // in the ANSI code page (Shift-JIS on a Japanese system, Windows-1252 on
  // an English one): the mark makes every Notepad read UTF-8. The readme
  // window drops it.
  std::string text = system == TargetSystem::Windows ? "\xEF\xBB\xBF" : "";
  for (const ReadmeLines* lines : {&s.title, &s.about, &part.install, &part.setup, &part.saver, &s.keys, &s.game,
                                   &part.settingsOpen, &s.settings, &part.files, &part.uninstall, &s.lastWords})
    Append(text, *lines);
  return text;
}

}  // namespace zukgen
