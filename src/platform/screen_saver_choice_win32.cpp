#include "platform/screen_saver_choice.h"

#include <cerrno>

#include "platform/windows_text_win32.h"

namespace {

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
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  if (InWindowsDirectory(path)) return true;
  // Windows starts the saver by this value: its short form holds no blank.
  wchar_t shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (n > 0 && n < MAX_PATH) path = shortPath;
  HKEY desktop = nullptr;
  const LONG opened = RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                                      nullptr, &desktop, nullptr);
  if (opened != ERROR_SUCCESS) return SetErrnoFrom(static_cast<DWORD>(opened));
  const LONG set = RegSetValueExW(desktop, L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                  static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(desktop);
  return set == ERROR_SUCCESS || SetErrnoFrom(static_cast<DWORD>(set));
}

std::string UsersScreenSaverSetting() { return "HKEY_CURRENT_USER\\Control Panel\\Desktop\\SCRNSAVE.EXE"; }
