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

enum class FormKind { Error, Game, Setup, Settings, Readme };

struct StartupPlan {
  enum class Action {
    EndSilently,   // another instance, "/p", or a file with another name
    PasswordBox,   // "/a": the password message, then the end
    RunLoop,       // create the forms and run the message loop
  };
  Action action = Action::EndSilently;
  std::vector<FormKind> forms;  // in creation order
  bool settingsMode = false;
};

// Decides what a start does, from the switch and the program file's path.
StartupPlan PlanStartup(const std::string& commandTail, const std::string& programPath);

// How the forms of each kind are created (the program passes the real
// windows; tests pass recorders). Each creates its form with App().CreateForm
// and returns it so that the main window can be chosen.
struct FormMakers {
  std::function<class TForm*(FormKind)> create;
};

// The whole start-up after the sound device has been opened: instance
// marker, plan, forms, message loop. Ends with ProgramEnd().
[[noreturn]] void RunStartup(const std::string& commandTail, const std::string& programPath,
                             const FormMakers& makers);

// The full path of the running program file (/proc/self/exe).
std::string ProgramFilePath();

// The password message.
extern const char* const kPasswordMessage;
