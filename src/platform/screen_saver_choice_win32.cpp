#include "platform/screen_saver_choice.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cerrno>
#include <cwchar>

namespace {

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
  out.pop_back();
  return out;
}

bool InWindowsDirectory(const std::wstring& program) {
  wchar_t windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  const size_t slash = program.find_last_of(L"\\/");
  if (n == 0 || n >= MAX_PATH || slash == std::wstring::npos) return false;
  return CompareStringOrdinal(program.c_str(), static_cast<int>(slash), windows, static_cast<int>(n), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace

bool ChooseAsUsersScreenSaver(const std::string& program) {
  std::wstring path = Wide(program);
  if (InWindowsDirectory(path)) return true;
  // Windows starts the saver by this value: its short form holds no blank.
  wchar_t shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (n > 0 && n < MAX_PATH) path = shortPath;
  HKEY desktop = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &desktop,
                      nullptr) != ERROR_SUCCESS) {
    errno = EACCES;
    return false;
  }
  const LONG set = RegSetValueExW(desktop, L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                  static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(desktop);
  if (set != ERROR_SUCCESS) errno = EACCES;
  return set == ERROR_SUCCESS;
}

std::string UsersScreenSaverSetting() { return "HKEY_CURRENT_USER\\Control Panel\\Desktop\\SCRNSAVE.EXE"; }
