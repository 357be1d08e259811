#include "config/settings.h"

#include <cerrno>

#include "platform/atomic_file.h"
#include "config/settings_text.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/system_folder.h"

namespace {

// The file's text, up to 1 MiB (more is no settings file this program
// wrote). A file that can't be opened or read, or that is not a regular file
// (a FIFO, a device), reads as empty, as a missing one does.
std::string ReadSettingsText(const std::string& path) {
  return ReadRegularFile(path, kSettingsFileLimit).value_or(std::string());
}

bool IsFile(const std::string& path) { return PathExists(path) && !IsFolder(path); }

bool WriteSettingsText(const std::string& folder, const std::string& text) {
  if (!(folder == SystemFolder() ? EnsureSystemFolder() : CreateFolders(folder))) return false;
  return ReplaceFileAtomically(JoinPath(folder, "ZUK_RER1.CNF"), text);
}

// The first settings folder that holds the file; the system folder when
// none does.
std::string SettingsFolder() {
  for (const std::string& folder : SettingsFolders()) {
    if (PathExists(JoinPath(folder, "ZUK_RER1.CNF"))) return folder;
  }
  return SystemFolder();
}

}  // namespace

std::string SettingsFilePath() { return JoinPath(SettingsFolder(), "ZUK_RER1.CNF"); }

std::string InstallFolder() {
  const std::string system = SystemFolder();
  const std::string user = UserFolder();
  // A system folder that is missing is made by the writer (a failure there
  // is reported, not sent elsewhere); one that is there but can't be
  // written (the Windows directory of a standard account) gives way to the
  // user's own folder.
  return user == system || !PathExists(system) || CanWrite(system) ? system : user;
}

void RemoveLeftoverTempFiles() {
  for (const std::string& folder : SettingsFolders()) {
    RemoveDeadTempFiles(folder, {"ZUK_RER1.CNF", "zuk_rer1.scr", "score.dat"});
  }
  WindowSettings v;
  if (ApplyWindowSettingsText(ReadSettingsText(SettingsFilePath()), v)) RemoveDeadTempFiles(v.DataPath, {"score.dat"});
}

bool WriteSetupFile(const std::string& currentDir) {
  // A line end or Ctrl-Z inside the folder's name would split the PATH line
  // and record a wrong install folder.
  if (currentDir.find_first_of("\r\n\x1a") != std::string::npos) {
    errno = EINVAL;
    return false;
  }
  return WriteSettingsText(InstallFolder(), SetupFileText(NativePath(currentDir)));
}

bool ReadSettingsForWindow(WindowSettings& v) {
  return ApplyWindowSettingsText(ReadSettingsText(SettingsFilePath()), v);
}

bool WriteSettingsFile(const WindowSettings& v) {
  const std::string folder = SettingsFolder();
  const std::string old = ReadSettingsText(JoinPath(folder, "ZUK_RER1.CNF"));
  return WriteSettingsText(folder, SettingsFileText(v, FirstSettingsLine(old)));
}

GameReadResult ReadGameSettings(Settings& s) { return ApplyGameSettings(s, ReadSettingsText(SettingsFilePath())); }

GameReadResult ApplySetupDefaults(Settings& s, const std::string& dataFolder) {
  // JOY=OFF leaves the value alone: a partly read file may have set it.
  s.JoystickOn = 0;
  std::string folder = dataFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return ApplyGameSettings(s, SetupFileText(folder));
}

GameReadResult ApplyGameSettings(Settings& s, std::string_view text) {
  const Settings defaults;
  s.MaxMeteors = defaults.MaxMeteors;
  s.Volume = defaults.Volume;
  s.Autopilot = defaults.Autopilot;
  s.AutoResume = defaults.AutoResume;
  return ApplyGameSettingsText(text, s, IsFile);
}
