#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/process.h"

long ProcessId() { return static_cast<long>(::getpid()); }

bool ProcessExists(long pid) { return !(::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH); }

std::string ProgramShortName() { return program_invocation_short_name; }

std::string RunningProgramFile() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

void SetEnvironmentValue(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }
