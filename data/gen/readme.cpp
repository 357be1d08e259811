// The readme texts shipped beside the program (UTF-8, CR LF; the Windows
// ones begin with a byte-order mark), one per language of the build:
// readme.txt in Japanese, readme_<language>.txt in each other language,
// each for Linux (installing the Debian package, make install or the
// unpacked folder, setup from the menu, running it from XScreenSaver, MATE
// or Xfce, xsecurelock, xss-lock or swayidle on Wayland) or for Windows (the
// zip, setup, Screen Saver Settings), then the keys, the game, the settings,
// the files and uninstalling.
//
// Each language's text is the file data/readme/<language>.txt: lines
// "@section" open its sections, "@linux.section" and "@windows.section"
// those that differ between the systems. A language without one (a new
// catalogue not yet followed by its readme) gets the English text. Every
// line fits the readme window's text area (265 pixels of IPA P Gothic at
// 12 pixels: 22 full-width characters take 264), and every character must
// be one the windows' font draws.
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "art.h"

namespace zukgen {

namespace {

using Sections = std::map<std::string, std::string>;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Each section's lines, ending in CR LF.
Sections ReadSections(const std::string& path) {
  Sections sections;
  std::istringstream in(ReadText(path));
  std::string* current = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '@') {
      current = &sections[line.substr(1)];
    } else if (current != nullptr) {
      *current += line + "\r\n";
    }
  }
  return sections;
}

std::string Section(const Sections& s, const std::string& name, TargetSystem system) {
  const std::string own = (system == TargetSystem::Windows ? "windows." : "linux.") + name;
  auto it = s.find(own);
  if (it == s.end()) it = s.find(name);
  if (it == s.end()) throw std::runtime_error("the readme has no section @" + name + " or @" + own);
  return it->second;
}

bool HasReadmeText(const std::string& folder, const std::string& language) {
  return std::ifstream(folder + "/" + language + ".txt").good();
}

}  // namespace

std::string ReadmeName(const std::string& language) {
  return language == "ja" ? "readme.txt" : "readme_" + language + ".txt";
}

std::string MakeReadme(const std::string& sourceFile, TargetSystem system) {
  const Sections s = ReadSections(sourceFile);
  // Notepad before Windows 10 1903 reads a file without a byte-order mark
  // in the ANSI code page (Shift-JIS on a Japanese system, Windows-1252 on
  // an English one): the mark makes every Notepad read UTF-8. The readme
  // window drops it.
  std::string text = system == TargetSystem::Windows ? "\xEF\xBB\xBF" : "";
  for (const char* name : {"title", "about", "install", "setup", "saver", "keys", "game", "settings-open", "settings",
                           "files", "uninstall", "last-words"})
    text += Section(s, name, system);
  return text;
}

std::vector<DataFile> MakeReadmeFiles(const ReadmeSources& sources, TargetSystem system) {
  std::vector<DataFile> files;
  for (const std::string& language : sources.languages) {
    const std::string own = HasReadmeText(sources.folder, language) ? language : "en";
    const std::string text = MakeReadme(sources.folder + "/" + own + ".txt", system);
    const std::string missing = CharactersNotInFont(sources.font, text);
    if (!missing.empty())
      throw std::runtime_error(sources.folder + "/" + own + ".txt: the windows' font " + sources.font +
                               " cannot draw " + missing);
    files.push_back({ReadmeName(language), std::vector<uint8_t>(text.begin(), text.end())});
  }
  return files;
}

}  // namespace zukgen
