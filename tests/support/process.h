// Test support: run the real program (or a tool) as a child process with its
// own environment, wait for it with a time limit, and look at X windows.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// Each system has its own bodies of the child processes, Shell(), the
// environment and the built programs' names (process_posix.cpp,
// process_win32.cpp).
struct Child {
  pid_t pid = -1;
  std::intptr_t handle = 0;  // the process's handle on Windows
  // Waits up to timeoutMs; returns true when the child ended, with its exit
  // code in exitCode (128 + signal when killed by a signal).
  bool Wait(int timeoutMs, int& exitCode);
  // Ends the child (SIGKILL) if it still runs.
  void Kill();
};

// Starts `program` with `args`; `env` entries are added to (or replace) the
// current environment.
Child Start(const std::string& program, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& env = {}, const std::string& workingDir = "");

// Output of a shell command (stdout), and its exit code.
std::string Shell(const std::string& command, int* exitCode = nullptr);

// Ids of the mapped X windows whose name is exactly `name`.
std::vector<std::string> WindowsNamed(const std::string& name);
// Polls until a window named `name` is mapped (true) or time is up.
bool WaitForWindow(const std::string& name, int timeoutMs);

// This test process's id.
long OwnProcessId();
// Sets the variable of this process's environment, or removes it (nullptr).
void SetEnvironment(const std::string& name, const char* value);

// The id of a process that has ended (a child started and waited for).
long DeadProcessId();
// Makes a FIFO at path; Windows, which has none in its folders, makes a
// folder there (also not a regular file). False on failure.
bool MakeFifo(const std::string& path);
// A device the system's programs may open ("/dev/zero", "NUL").
std::string DeviceFile();
// Whether paths past MAX_PATH work (not on Windows without the long-path
// opt-in of the program's manifest).
bool LongPathsWork();
// Whether the tests run as the superuser (never on Windows).
bool IsRoot();
// Runs `play` as user `uid` (ids also as group) in a child process; true
// when it returned true. False on Windows.
bool RunAsUser(unsigned uid, const std::function<bool()>& play);

// A fresh empty folder under the temp folder.
std::filesystem::path FreshDir(const std::string& tag);

// Path of a built program in build/bin (with ".exe" on Windows).
std::string BuiltProgram(const std::string& name);

}  // namespace testsupport

namespace testsupport {
// Sends WM_DELETE_WINDOW to an X window, as a click on its close box would
// under a window manager. False when the display can't be opened.
bool CloseLikeCloseBox(const std::string& windowId);
}  // namespace testsupport

namespace testsupport {
// Ids of the mapped X windows that carry the process id `pid` (_NET_WM_PID),
// on `display` (the test's own when empty).
std::vector<std::string> WindowsOfProcess(pid_t pid, const std::string& display = "");
// Polls until the process has a mapped window (its id) or time is up ("").
std::string WaitForProcessWindow(pid_t pid, int timeoutMs, const std::string& display = "");
}  // namespace testsupport

namespace testsupport {
// Copies the data files that the build generated (palette, sheets, sounds,
// and readme.txt when asked) into `folder`, as an installation holds them.
// Returns the names that could not be copied (empty on success).
std::vector<std::string> CopyGeneratedData(const std::filesystem::path& folder, bool withReadme = false);
}  // namespace testsupport
