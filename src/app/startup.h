// Start-up and mode dispatch: one program, three roles, chosen by the first
// command-line parameter and then by the program file's own name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"

// How the forms of each kind are created (the program passes the real
// windows; tests pass recorders). Each creates its form with App().CreateForm
// and returns it so that the main window can be chosen.
struct FormMakers {
  std::function<class Form*(FormKind)> create;
};

// The whole start-up after the sound device has been opened: instance
// marker, plan, forms, message loop. Ends with ProgramEnd(). An ending signal
// (InstallEndSignalHandlers) ends it wherever it waits, as closing the main
// window does.
[[noreturn]] void RunStartup(const std::string& commandTail, const std::string& programPath,
                             const FormMakers& makers, const DaemonWindow& daemon = {});

// The path the program was started by, which the name rule and the title
// look at: argv[0] as given when it holds a '/', else the file that PATH finds
// under that name; the running program file when neither tells.
std::string StartedProgramPath(const char* argv0);

// The password message.
extern const char* const kPasswordMessage;
// Says on stderr that there is no X server to talk to (naming the display
// that could not be opened), then ends with exit code 1.
[[noreturn]] void EndWithoutXServer();
