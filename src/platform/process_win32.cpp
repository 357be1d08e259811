#include <string>

#include "platform/process.h"
#include "platform/windows_text_win32.h"

long ProcessId() { return static_cast<long>(GetCurrentProcessId()); }

// A process that can't be opened for lack of rights still runs; only an id
// that names no process (ERROR_INVALID_PARAMETER) or one that has ended is gone.
bool ProcessExists(long pid) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool running = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

std::string RunningProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return Utf8Path(path.substr(0, n));
    path.resize(path.size() * 2);
  }
}

std::string ProgramShortName() {
  const std::string program = RunningProgramFile();
  return program.substr(program.rfind('/') + 1);
}

std::string EnvironmentValue(const char* name) {
  const wchar_t* value = _wgetenv(Wide(name).c_str());
  return value != nullptr ? Utf8(value) : "";
}

void SetEnvironmentValue(const char* name, const std::string& value) {
  _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}
