#include "app/startup.h"

#include <cstdlib>

#include "platform/file_system.h"
#include "platform/process.h"

std::string StartedProgramPath(const char* argv0) {
  const std::string name = argv0 != nullptr ? argv0 : "";
  if (name.find('/') != std::string::npos) return name;
  if (!name.empty()) {
    // As the shell found it: the first executable file of that name on PATH
    // (an empty entry is the current folder).
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "";
    size_t start = 0;
    for (;;) {
      const size_t end = dirs.find(':', start);
      const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
      const std::string candidate = JoinPath(dir.empty() ? std::string(".") : dir, name);
      if (IsRegularFile(candidate) && CanExecute(candidate)) return candidate;
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return ProgramFilePath();
}

