#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

#include "base/utf8.h"
#include "platform/file_system.h"
#include "platform/fs_path.h"
#include "platform/process.h"
#include "platform/windows_text_win32.h"

namespace {

HANDLE AsHandle(FileHandle::Native native) { return reinterpret_cast<HANDLE>(native); }

// The attributes of what lies at path itself (a link not followed), or
// INVALID_FILE_ATTRIBUTES with errno set.
DWORD AttributesAt(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) SetErrnoFromLastError();
  return attributes;
}

bool HasProgramExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == "exe" || ext == "scr" || ext == "com" || ext == "bat" || ext == "cmd";
}

// The code page of the system's ANSI text, as its locale says: with the
// manifest's UTF-8 code page, GetACP() answers UTF-8 and no longer tells
// which code page older files were written in.
UINT SystemAnsiCodePage() {
  wchar_t digits[8] = {};
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, 8) == 0) return CP_ACP;
  const UINT page = static_cast<UINT>(_wtoi(digits));
  return page == 0 ? CP_ACP : page;
}

std::string Utf8FromCodePage(std::string_view text, UINT page) {
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(page, 0, text.data(), size, wide.data(), n);
  return Utf8(wide);
}

// Whether a new file can be made in the folder: a probe that deletes itself.
bool CanCreateIn(const std::string& folder) {
  const std::string probe = JoinPath(folder, ".zuk_rer1." + std::to_string(ProcessId()) + ".probe");
  const HANDLE h = CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return SetErrnoFromLastError();
  CloseHandle(h);
  return true;
}

}  // namespace

bool FileHandle::Close() {
  if (!Valid()) return true;
  return CloseHandle(AsHandle(Release())) != 0 || SetErrnoFromLastError();
}

bool FileHandle::WriteAll(std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(AsHandle(native_), data.data(), chunk, &written, nullptr)) return SetErrnoFromLastError();
    data.remove_prefix(written);
  }
  return true;
}

bool WriteWholeFile(const std::string& path, std::string_view data) {
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return SetErrnoFromLastError();
  FileHandle file(reinterpret_cast<FileHandle::Native>(h));
  return file.WriteAll(data) && file.Close();
}

// A file: opening it for writing (which changes nothing) is allowed. A folder:
// a file can be made in it; Windows keeps no write bit on folders.
bool CanWrite(const std::string& path) {
  const DWORD attributes = AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return CanCreateIn(path);
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return SetErrnoFrom(ERROR_ACCESS_DENIED);
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return SetErrnoFromLastError();
  CloseHandle(h);
  return true;
}

// Windows runs a file by its extension; a folder can always be entered.
bool CanExecute(const std::string& path) {
  const DWORD attributes = AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || HasProgramExtension(path) ||
         SetErrnoFrom(ERROR_ACCESS_DENIED);
}

// What Windows has of the bits: read-only or not, and a program's extension.
int PermissionBits(const std::string& path) {
  const DWORD attributes = AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) return -1;
  const int bits = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
  return HasProgramExtension(path) ? bits | 0111 : bits;
}

std::string CreateTempFolder(const std::string& tag) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) {
    SetErrnoFromLastError();
    return {};
  }
  const std::string base = Utf8Path(temp) + tag + "-" + std::to_string(ProcessId()) + "-";
  const DWORD start = GetTickCount();
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    const std::string folder = base + std::to_string((start + attempt) % 1000000);
    if (CreateDirectoryW(Wide(folder).c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  SetErrnoFromLastError();
  return {};
}

bool LinkFile(const std::string& target, const std::string& link) {
  return CopyFileW(Wide(target).c_str(), Wide(link).c_str(), TRUE) || SetErrnoFromLastError();
}

std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(Wide(path)); }

std::string PathText(const std::filesystem::path& path) { return Utf8Path(path.wstring()); }

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native;
}

std::string PathFromStoredText(std::string_view text) {
  return IsValidUtf8(text) ? std::string(text) : Utf8FromCodePage(text, SystemAnsiCodePage());
}
