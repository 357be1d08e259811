#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <string>

// A program without a console has no stderr to write to: the line goes to
// the debugger's output (DebugView, a debugger) and, when a stderr is
// attached (a console, a redirection), there as well.
void WriteProblemLine(const std::string& line) {
  const int size = static_cast<int>(line.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, line.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, line.data(), size, wide.data(), static_cast<int>(wide.size()));
  OutputDebugStringW(wide.c_str());
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}
