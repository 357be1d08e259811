#include <algorithm>
#include <cerrno>

#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/windows_text_win32.h"

namespace {

// Whether the open file is a regular file on a disk; errno ELOOP for a
// reparse point that was not followed, EINVAL for a file of another kind.
bool IsPlainDiskFile(HANDLE h, bool followLink) {
  if (GetFileType(h) != FILE_TYPE_DISK) {
    errno = EINVAL;  // a pipe, a console, a device
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return SetErrnoFromLastError();
  if (!followLink && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    errno = ELOOP;
    return false;
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    errno = EINVAL;
    return false;
  }
  return true;
}

// Opens `path` for reading and keeps it only when it is a regular file.
// Without `followLink`, a link or junction is opened itself and refused.
FileHandle OpenRegularFile(const std::string& path, bool followLink) {
  // Backup semantics: a folder opens too, and is then refused as Linux does.
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    SetErrnoFromLastError();
    return FileHandle();
  }
  FileHandle file(reinterpret_cast<FileHandle::Native>(h));
  if (!IsPlainDiskFile(h, followLink)) file.Close();  // keeps errno
  return file;
}

}  // namespace

std::optional<std::string> ReadRegularFileFromDisk(const std::string& path, size_t limit, bool followLink) {
  FileHandle file = OpenRegularFile(path, followLink);
  if (!file.Valid()) return std::nullopt;
  const HANDLE h = reinterpret_cast<HANDLE>(file.Get());
  std::string bytes;
  size_t got = 0;
  while (got < limit) {
    bytes.resize(std::min(limit, got + 65536));
    DWORD n = 0;
    if (!ReadFile(h, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
      SetErrnoFromLastError();
      return std::nullopt;
    }
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}
