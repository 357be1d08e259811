#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "support/process.h"

namespace testsupport {

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// One argument quoted as the C runtime splits a command line.
std::wstring Quoted(const std::string& arg) {
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : Wide(arg)) {
    if (c == L'\\') {
      ++slashes;
    } else {
      out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
      slashes = 0;
    }
    out += c;
  }
  return out.append(slashes, L'\\') + L"\"";
}

// The current environment with `env` added or replaced, as CreateProcessW
// takes it.
std::wstring EnvironmentBlock(const std::map<std::string, std::string>& env) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* e = strings; *e != L'\0'; e += wcslen(e) + 1) {
    const std::wstring entry = e;
    const size_t eq = entry.find(L'=', 1);  // past the leading "=" of "=C:=..."
    bool replaced = false;
    for (const auto& [k, v] : env) replaced = replaced || _wcsicmp(entry.substr(0, eq).c_str(), Wide(k).c_str()) == 0;
    if (!replaced) block += entry + L'\0';
  }
  FreeEnvironmentStringsW(strings);
  for (const auto& [k, v] : env) block += Wide(k + "=" + v) + L'\0';
  return block + L'\0';
}

}  // namespace

bool Child::Wait(int timeoutMs, int& exitCode) {
  const HANDLE process = reinterpret_cast<HANDLE>(handle);
  if (WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  exitCode = static_cast<int>(code);
  CloseHandle(process);
  handle = 0;
  pid = -1;
  return true;
}

void Child::Kill() {
  if (handle == 0) return;
  TerminateProcess(reinterpret_cast<HANDLE>(handle), 137);
  int code = 0;
  Wait(INFINITE, code);
}

Child Start(const std::string& program, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& env, const std::string& workingDir) {
  std::wstring commandLine = Quoted(program);
  for (const std::string& arg : args) commandLine += L" " + Quoted(arg);
  std::wstring block = EnvironmentBlock(env);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Child child;
  const std::wstring dir = Wide(workingDir);
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                     dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    child.pid = static_cast<pid_t>(info.dwProcessId);
    child.handle = reinterpret_cast<std::intptr_t>(info.hProcess);
  }
  return child;
}

// Through cmd.exe.
std::string Shell(const std::string& command, int* exitCode) {
  std::string out;
  FILE* p = _popen(command.c_str(), "rb");
  if (p == nullptr) return out;
  std::array<char, 4096> buf{};
  size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  const int status = _pclose(p);
  if (exitCode != nullptr) *exitCode = status;
  return out;
}

std::string BuiltProgram(const std::string& name) { return std::string(ZUK_BINARY_DIR) + "/bin/" + name + ".exe"; }

long OwnProcessId() { return static_cast<long>(GetCurrentProcessId()); }

// UTF-8 in, as the program reads its variables (the narrow _putenv_s would
// take the value in the ANSI code page).
void SetEnvironment(const std::string& name, const char* value) {
  _wputenv_s(Wide(name).c_str(), Wide(value != nullptr ? value : "").c_str());
}

long DeadProcessId() {
  Child child = Start("C:\\windows\\system32\\cmd.exe", {"/c", "exit"});
  const long pid = child.pid;
  int code = 0;
  child.Wait(30000, code);
  return pid;
}

bool MakeFifo(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

std::string DeviceFile() { return "NUL"; }

bool LongPathsWork() { return false; }

bool IsRoot() { return false; }

bool RunAsUser(unsigned, const std::function<bool()>&) { return false; }

}  // namespace testsupport
