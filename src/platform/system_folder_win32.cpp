#include <shlobj.h>

#include <cstdlib>

#include "platform/system_folder.h"
#include "platform/windows_text_win32.h"

namespace {

// An environment variable that names an absolute folder ("C:\..." or "\\..."),
// else "".
std::string FolderVariable(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (value == nullptr || value[0] == L'\0' || (value[1] != L':' && value[0] != L'\\')) return {};
  return Utf8Path(value);
}

std::string KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return Utf8Path(path);
}

}  // namespace

std::string DefaultSystemFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH + 1);
  return n == 0 || n > MAX_PATH ? "C:/Windows" : Utf8Path(path);
}

std::string UserFolder() {
  std::string local = FolderVariable(L"LOCALAPPDATA");
  if (local.empty()) local = KnownFolder(CSIDL_LOCAL_APPDATA);
  return JoinPath(local.empty() ? HomeFolder() : local, "zuk_rer1");
}

std::string HomeFolder() {
  const std::string profile = FolderVariable(L"USERPROFILE");
  return profile.empty() ? KnownFolder(CSIDL_PROFILE) : profile;
}

bool IsPackageFolder(const std::string&) { return false; }
