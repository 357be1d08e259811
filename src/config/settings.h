// The settings file ZUK_RER1.CNF in the system folder: the setup writer, the
// settings writer and the readers of the game and of the settings window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The settings a game runs with, with their defaults: what the settings file
// gives the game (the game's state is made of these and more).
struct Settings {
  int32_t MaxMeteors = 20;
  int32_t Volume = 50;
  int32_t SoundOff = 0;
  int32_t JoystickOn = 0;
  int32_t AutoResume = 1;
  int32_t Autopilot = 1;
  int32_t GameTimeLong = 0;
  std::string DataPath;  // install folder with one trailing '/' ('\' on Windows)
};

// The first of the settings folders that holds ZUK_RER1.CNF (the system
// folder when none does) + "/ZUK_RER1.CNF", found at each use.
std::string SettingsFilePath();
// Where setup writes the settings file and the program's copy: the system
// folder when it can be written, else the user's folder.
std::string InstallFolder();

// At start: removes what saves killed before their end left behind, the
// temporary files of the settings file, the installed program and score.dat
// in the system folder and of score.dat in the install folder (the settings
// file's PATH), unless their writer still holds them.
void RemoveLeftoverTempFiles();

// Setup writer, into InstallFolder(): PATH=<currentDir>, MAX=10, JOY=OFF,
// VOL=50, AUTO=ON, SOUND=ON, CR LF after each line. Atomic; false (errno
// kept) on failure.
bool WriteSetupFile(const std::string& currentDir);

// What the settings window shows and saves.
struct WindowSettings {
  int MaxMeteors = 10;                // MAX, held in 1..50 by the track bar
  std::string MaxMeteorsText = "10";  // MAX as read, 1..100
  int Volume = 50;                    // VOL, held in 1..50
  bool Joystick = false;              // JOY
  bool Autopilot = false;             // AUTO
  bool Sound = false;                 // SOUND
  bool LongGame = false;              // GAME_TIME
  std::string DataPath;               // PATH value + '/', empty when no PATH line
};

// Settings reader: fills the values as the window's controls would show them.
// Returns false when no PATH line was read.
bool ReadSettingsForWindow(WindowSettings& v);

// Settings writer: the old first line carried over whole, then MAX, JOY, VOL,
// AUTO, SOUND, GAME_TIME. Atomic; false (errno kept) on failure.
bool WriteSettingsFile(const WindowSettings& v);

enum class GameReadResult {
  Ok,           // settings applied, DataPath set
  NoPath,       // no PATH line (or no file): "設定ファイルがありません"
  DataMissing,  // a PATH folder without bmp1.bmp: reading stopped at that line
};

// Game reader: applies the file to the settings. It starts from the defaults
// of MaxMeteors, Volume, Autopilot and AutoResume; the others keep their
// values unless a line sets them. The caller shows the messages that the
// result calls for.
GameReadResult ReadGameSettings(Settings& s);
// The same for a settings text that is not the file's.
GameReadResult ApplyGameSettings(Settings& s, std::string_view text);
// What setup writes for the data in `dataFolder`, as the game reads it.
GameReadResult ApplySetupDefaults(Settings& s, const std::string& dataFolder);
