#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/atomic_file_parts.h"

namespace {

// Makes the rename itself durable; a failure here does not undo the write.
void SyncFolder(const std::string& folder) {
  FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) ::fsync(static_cast<int>(dir.Get()));
}

// A new temporary file of `path`, its name in `temp`; invalid on failure.
FileHandle CreateTempFile(const std::string& path, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TempFileName(path);
    // O_EXCL: a link planted at the name is not followed, the name is taken anew.
    FileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.Valid() || errno != EEXIST) return file;
  }
  return FileHandle();
}

// Fills and flushes the temporary file; false (errno kept) on failure.
bool FillTempFile(FileHandle& file, const std::function<bool(FileHandle&)>& write, int mode) {
  if (!write(file)) return false;
  const int fd = static_cast<int>(file.Get());
  if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) return false;
  return ::fsync(fd) == 0 && file.Close();
}

}  // namespace

int SystemRename(const char* from, const char* to) { return std::rename(from, to); }

void RemoveDeadTempFiles(const std::string& folder, std::initializer_list<std::string_view> names) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    for (std::string_view base : names) {
      if (IsDeadLeftover(e->d_name, base)) ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
  }
  ::closedir(dir);
}

bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FileHandle& file)>& write, int mode) {
  RemoveDeadTempFiles(FolderOf(path), {BaseName(path)});
  std::string temp;
  FileHandle file = CreateTempFile(path, temp);
  if (!file.Valid()) return false;
  if (!FillTempFile(file, write, mode) || CurrentRename()(temp.c_str(), path.c_str()) != 0) {
    // The temporary file goes, the first error's errno stays.
    const int saved = errno;
    file.Close();
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}
