// The command line: how it is split, which role it asks for, and the window
// a screen-saver daemon hands over. Nothing here touches the system, so it
// can be checked (and fuzzed) on plain text.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The first parameter of a command tail, split the Windows way: blanks and
// control characters separate parameters, double quotes group characters
// (blanks included) and are dropped.
std::string FirstParameter(const std::string& commandTail);
// The tail of a command line rebuilt from argv[1..], joined by blanks.
std::string CommandTail(int argc, const char* const* argv);
// The switch text: the first two characters of the first parameter.
std::string SwitchText(const std::string& commandTail);
// A whole Windows command line without the program's name (which ends at
// its closing quote, or at the first blank when it isn't quoted).
std::string CommandTailOf(const std::string& commandLine);
// What follows the switch: "1234" of "/p:1234" and of "/p 1234"; empty
// when nothing does.
std::string SwitchArgument(const std::string& commandTail);

// DaemonGame: the game window of a run inside a screen-saver daemon's window.
enum class FormKind { Error, Game, Setup, Settings, Readme, DaemonGame };

// The window a screen-saver daemon hands over for the picture: the one named
// by XSCREENSAVER_WINDOW (decimal or 0x hexadecimal) or by the parameters
// "-window-id ID", or the root window for "-root" / "--root".
struct DaemonWindow {
  bool given = false;
  bool root = false;     // the root window (its id is found when it is used)
  unsigned long id = 0;  // the window's id when not root
  // Set when a window was named by something that is no window id: why.
  std::string problem;
  // "-sound" (true) or "-no-sound" (false): sound inside the daemon's
  // window, which is silent unless asked.
  std::optional<bool> sound;
  // Windows' "/p HWND": the small monitor of Screen Saver Settings.
  bool preview = false;
};
// Reads the parameters (argv[1..]) and the variable's value (nullptr when
// unset; an empty value counts as unset). An explicit "-window-id ID" comes
// first, then the variable, then "-root". The last of "-sound" and
// "-no-sound" counts.
DaemonWindow DaemonWindowFrom(const std::vector<std::string>& args, const char* xscreensaverWindow);
// The window of Windows' "/p HWND" ("/p:HWND"), silent; none without a
// number after the switch.
DaemonWindow PreviewWindowFrom(const std::string& commandTail);
// The window a "/c:HWND" ("/c HWND") names as the settings window's owner;
// 0 for none.
unsigned long OwnerWindowFrom(const std::string& commandTail);
// A window id in decimal or 0x hexadecimal, from 1 to 2^32 - 1; false for
// anything else.
bool ParseWindowId(const std::string& text, unsigned long& id);

struct StartupPlan {
  enum class Action {
    EndSilently,   // another instance, "/p", or a file with another name
    PasswordBox,   // "/a": the password message, then the end
    RunLoop,       // create the forms and run the message loop
    RefuseWindow,  // the screen saver in a daemon's window that isn't one
  };
  Action action = Action::EndSilently;
  std::vector<FormKind> forms;  // in creation order
  bool settingsMode = false;
  // The screen saver runs inside a daemon's window: no instance marker (a
  // daemon runs one per monitor, and a preview runs beside a running saver).
  bool inDaemonWindow = false;
};

// Decides what a start does, from the switch, the program file's path and a
// daemon's window (which matters only to the screen saver).
StartupPlan PlanStartup(const std::string& commandTail, const std::string& programPath,
                        const DaemonWindow& daemon = {});
