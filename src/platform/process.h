// The running process: its id, its program file and name, and whether
// another process still runs.
#pragma once

#include <string>

// This process's id.
long ProcessId();
// Whether a process of id `pid` still runs (false only when it surely does
// not: a process of another user counts as running).
bool ProcessExists(long pid);
// The program's name as it was started, without its folder: what its lines
// on stderr begin with.
std::string ProgramShortName();
// The full path of the running program file; the one a ScopedProgramFile
// names while it lives.
std::string ProgramFilePath();

// The value of the environment variable `name`, as UTF-8 on Windows (where
// the narrow getenv gives it in the ANSI code page); empty when it is unset.
std::string EnvironmentValue(const char* name);
// Sets the environment variable `name` to `value` (UTF-8) for this process
// and the ones it starts.
void SetEnvironmentValue(const char* name, const std::string& value);

// Stands `path` in for the running program file for as long as it lives
// (tests: setup copying some other file), then the one before it.
class ScopedProgramFile {
 public:
  explicit ScopedProgramFile(std::string path);
  ~ScopedProgramFile();
  ScopedProgramFile(const ScopedProgramFile&) = delete;
  ScopedProgramFile& operator=(const ScopedProgramFile&) = delete;

 private:
  std::string previous_;
};
