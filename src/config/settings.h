// The settings file ZUK_RER1.CNF in the system folder: the setup writer, the
// settings writer and the readers of the game and of the settings window.
#pragma once

#include <string>
#include <string_view>

struct WorldState;

// System folder + "/ZUK_RER1.CNF", built at each use.
std::string SettingsFilePath();

// At start: removes what saves killed before their end left behind, the
// temporary files of the settings file, the installed program and score.dat
// in the system folder and of score.dat in the install folder (the settings
// file's PATH), unless their process still runs.
void RemoveLeftoverTempFiles();

// Setup writer: PATH=<currentDir>, MAX=10, JOY=OFF, VOL=50, AUTO=ON,
// SOUND=ON, CR LF after each line. Atomic; false (errno kept) on failure.
bool WriteSetupFile(const std::string& currentDir);

// What the settings window shows and saves.
struct SettingsValues {
  int TrackBar1 = 10;         // MAX, held in 1..50 by the track bar
  std::string Label7 = "10";  // MAX as read, 1..100
  int TrackBar2 = 50;         // VOL, held in 1..50
  bool CheckBox1 = false;     // JOY
  bool CheckBox2 = false;     // AUTO
  bool CheckBox3 = false;     // SOUND
  bool CheckBox4 = false;     // GAME_TIME
  std::string DataPath;       // PATH value + '/', empty when no PATH line
};

// Settings reader: fills the values as the window's controls would show them.
// Returns false when no PATH line was read.
bool ReadSettingsForWindow(SettingsValues& v);

// Settings writer: the old first line carried over whole, then MAX, JOY, VOL,
// AUTO, SOUND, GAME_TIME. Atomic; false (errno kept) on failure.
bool WriteSettingsFile(const SettingsValues& v);

enum class GameReadResult {
  Ok,           // settings applied, DataPath set
  NoPath,       // no PATH line (or no file): "設定ファイルがありません"
  DataMissing,  // a PATH folder without bmp1.bmp: reading stopped at that line
};

// Game reader: applies the file to the world state (MaxMeteors, Volume,
// JoystickOn, Autopilot, AutoResume, SoundOff, GameTimeLong, DataPath).
// The caller shows the messages that the result calls for.
GameReadResult ReadGameSettings(WorldState& w);
// The same for a settings text that is not the file's (the game's starting
// values first, then the lines).
GameReadResult ApplyGameSettings(WorldState& w, std::string_view text);
// What setup writes for the data in `dataFolder`, as the game reads it.
GameReadResult ApplySetupDefaults(WorldState& w, const std::string& dataFolder);
