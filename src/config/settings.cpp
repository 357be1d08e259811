#include "config/settings.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/atomic_file.h"
#include "config/settings_text.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"
#include "platform/system_folder.h"

namespace {

// The file's text, up to 1 MiB (more is no settings file this program
// wrote). A file that can't be opened or read, or that is not a regular file
// (a FIFO, a device), reads as empty, as a missing one does.
std::string ReadSettingsText(const std::string& path) {
  return ReadRegularFile(path, kSettingsFileLimit).value_or(std::string());
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool WriteSettingsText(const std::string& text) {
  if (!EnsureSystemFolder()) return false;
  return ReplaceFileAtomically(SettingsFilePath(), text);
}

}  // namespace

std::string SettingsFilePath() { return JoinPath(SystemFolder(), "ZUK_RER1.CNF"); }

void RemoveLeftoverTempFiles() {
  RemoveDeadTempFiles(SystemFolder(), {"ZUK_RER1.CNF", "zuk_rer1.scr", "score.dat"});
  SettingsValues v;
  if (ApplyWindowSettingsText(ReadSettingsText(SettingsFilePath()), v)) RemoveDeadTempFiles(v.DataPath, {"score.dat"});
}

bool WriteSetupFile(const std::string& currentDir) {
  // A line end or Ctrl-Z inside the folder's name would split the PATH line
  // and record a wrong install folder.
  if (currentDir.find_first_of("\r\n\x1a") != std::string::npos) {
    errno = EINVAL;
    return false;
  }
  return WriteSettingsText(SetupFileText(currentDir));
}

bool ReadSettingsForWindow(SettingsValues& v) {
  return ApplyWindowSettingsText(ReadSettingsText(SettingsFilePath()), v);
}

bool WriteSettingsFile(const SettingsValues& v) {
  const std::string old = ReadSettingsText(SettingsFilePath());
  return WriteSettingsText(SettingsFileText(v, FirstSettingsLine(old)));
}

GameReadResult ReadGameSettings(WorldState& w) {
  return ApplyGameSettings(w, ReadSettingsText(SettingsFilePath()));
}

GameReadResult ApplySetupDefaults(WorldState& w, const std::string& dataFolder) {
  // JOY=OFF leaves the value alone: a partly read file may have set it.
  w.JoystickOn = 0;
  std::string folder = dataFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return ApplyGameSettings(w, SetupFileText(folder));
}

GameReadResult ApplyGameSettings(WorldState& w, std::string_view text) {
  w.MaxMeteors = 20;
  w.Volume = 50;
  w.Autopilot = 1;
  w.AutoResume = 1;
  GameSettings g;
  g.MaxMeteors = w.MaxMeteors;
  g.Volume = w.Volume;
  g.SoundOff = w.SoundOff;
  g.JoystickOn = w.JoystickOn;
  g.AutoResume = w.AutoResume;
  g.Autopilot = w.Autopilot;
  g.GameTimeLong = w.GameTimeLong;
  g.DataPath = w.DataPath;
  const GameReadResult result = ApplyGameSettingsText(text, g, IsFile);
  w.MaxMeteors = g.MaxMeteors;
  w.Volume = g.Volume;
  w.SoundOff = g.SoundOff;
  w.JoystickOn = g.JoystickOn;
  w.AutoResume = g.AutoResume;
  w.Autopilot = g.Autopilot;
  w.GameTimeLong = g.GameTimeLong;
  w.DataPath = g.DataPath;
  return result;
}
