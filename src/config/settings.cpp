#include "config/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/atomic_file.h"
#include "config/settings_text.h"
#include "main/world_state.h"
#include "platform/system_folder.h"

namespace {

// The whole file; a file that can't be opened or read reads as empty.
std::string ReadWholeFile(const std::string& path) {
  std::string text;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return text;
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
  return ApplyWindowSettingsText(ReadWholeFile(SettingsFilePath()), v);
}

bool WriteSettingsFile(const SettingsValues& v) {
  const std::string old = ReadWholeFile(SettingsFilePath());
  return WriteSettingsText(SettingsFileText(v, FirstSettingsLine(old)));
}

GameReadResult ReadGameSettings(WorldState& w) {
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
  const GameReadResult result = ApplyGameSettingsText(ReadWholeFile(SettingsFilePath()), g, IsFile);
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
