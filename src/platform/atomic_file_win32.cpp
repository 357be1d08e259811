#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/atomic_file_parts.h"
#include "platform/windows_text_win32.h"

namespace {

// A new temporary file of `path`, its name in `temp`; invalid on failure.
// While it is open, no other handle may write it, and so no cleaner's
// exclusive open gets it; it may be read, and renamed and deleted (by its
// writer, through names).
FileHandle CreateTempFile(const std::string& path, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TempFileName(path);
    // CREATE_NEW: whatever lies at the name (a link too) makes it fail, and
    // the name is taken anew.
    const HANDLE h = CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return FileHandle(reinterpret_cast<FileHandle::Native>(h));
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  SetErrnoFromLastError();
  return FileHandle();
}

// Fills and flushes the temporary file, which stays open until its rename;
// false (errno kept) on failure. Windows has no permission bits to give it:
// the folder's rights apply.
bool FillTempFile(FileHandle& file, const std::function<bool(FileHandle&)>& write) {
  if (!write(file)) return false;
  return FlushFileBuffers(reinterpret_cast<HANDLE>(file.Get())) || SetErrnoFromLastError();
}

// Removes the temporary file unless its writer still has it open: an open
// that shares nothing fails while any other handle is open.
void RemoveIfUnheld(const std::string& path) {
  const HANDLE h = CreateFileW(Wide(path).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

}  // namespace

// The directory entry at `to` is replaced: a link or junction there is
// replaced itself, never written through.
int SystemRename(const char* from, const char* to) {
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  SetErrnoFromLastError();
  return -1;
}

void RemoveDeadTempFiles(const std::string& folder, std::initializer_list<std::string_view> names) {
  const std::string dir = folder.empty() ? "." : folder;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW(Wide(JoinPath(dir, "*")).c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Utf8(entry.cFileName);
    for (std::string_view base : names) {
      if (IsTempFileOf(name, base)) RemoveIfUnheld(JoinPath(dir, name));
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FileHandle& file)>& write, int) {
  RemoveDeadTempFiles(FolderOf(path), {BaseName(path)});
  std::string temp;
  FileHandle file = CreateTempFile(path, temp);
  if (!file.Valid()) return false;
  if (!FillTempFile(file, write) || CurrentRename()(temp.c_str(), path.c_str()) != 0) {
    // The temporary file goes, the first error's errno stays.
    const int saved = errno;
    DeleteFileW(Wide(temp).c_str());
    file.Close();
    errno = saved;
    return false;
  }
  file.Close();  // its data are on the disk already
  return true;
}
