// Start-up and mode dispatch: one program, three roles, chosen by the first
// command-line parameter and then by the program file's own name.
#pragma once

#include <functional>
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

// DaemonGame: the game window of a run inside a screen-saver daemon's window.
enum class FormKind { Error, Game, Setup, Settings, Readme, DaemonGame };

// The window a screen-saver daemon hands over for the picture: the one named
// by XSCREENSAVER_WINDOW (decimal or 0x hexadecimal) or by the parameters
// "-window-id ID", or the root window for "-root" / "--root".
struct DaemonWindow {
  bool given = false;
  bool root = false;     // the root window (its id is found when it is used)
  unsigned long id = 0;  // the window's id when not root
};
// Reads the parameters (argv[1..]) and the variable's value (nullptr when
// unset). An explicit "-window-id ID" comes first, then the variable, then
// "-root".
DaemonWindow DaemonWindowFrom(const std::vector<std::string>& args, const char* xscreensaverWindow);
// A window id in decimal or 0x hexadecimal; false for anything else.
bool ParseWindowId(const std::string& text, unsigned long& id);

struct StartupPlan {
  enum class Action {
    EndSilently,   // another instance, "/p", or a file with another name
    PasswordBox,   // "/a": the password message, then the end
    RunLoop,       // create the forms and run the message loop
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

// How the forms of each kind are created (the program passes the real
// windows; tests pass recorders). Each creates its form with App().CreateForm
// and returns it so that the main window can be chosen.
struct FormMakers {
  std::function<class TForm*(FormKind)> create;
};

// The whole start-up after the sound device has been opened: instance
// marker, plan, forms, message loop. Ends with ProgramEnd(). An ending signal
// (InstallEndSignalHandlers) ends it wherever it waits, as closing the main
// window does.
[[noreturn]] void RunStartup(const std::string& commandTail, const std::string& programPath,
                             const FormMakers& makers, const DaemonWindow& daemon = {});

// The full path of the running program file (/proc/self/exe).
std::string ProgramFilePath();
// The path the program was started by, which the name rule and the title
// look at: argv[0] as given when it holds a '/', else the file that PATH finds
// under that name; the running program file when neither tells.
std::string StartedProgramPath(const char* argv0);

// The password message.
extern const char* const kPasswordMessage;
