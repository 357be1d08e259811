#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/atomic_file_parts.h"
#include "platform/windows_text_win32.h"

namespace {

// A new temporary file of `path`, its name in `temp`; invalid on failure.
FileHandle CreateTempFile(const std::string& path, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TempFileName(path);
    // CREATE_NEW: whatever lies at the name (a link too) makes it fail, and
    // the name is taken anew.
    const HANDLE h = CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return FileHandle(reinterpret_cast<FileHandle::Native>(h));
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  SetErrnoFromLastError();
  return FileHandle();
}

// Fills and flushes the temporary file; false (errno kept) on failure.
// Windows has no permission bits to give it: the folder's rights apply.
bool FillTempFile(FileHandle& file, const std::function<bool(FileHandle&)>& write) {
  if (!write(file)) return false;
  if (!FlushFileBuffers(reinterpret_cast<HANDLE>(file.Get()))) return SetErrnoFromLastError();
  return file.Close();
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
      if (IsDeadLeftover(name, base)) DeleteFileW(Wide(JoinPath(dir, name)).c_str());
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
    file.Close();
    DeleteFileW(Wide(temp).c_str());
    errno = saved;
    return false;
  }
  return true;
}
