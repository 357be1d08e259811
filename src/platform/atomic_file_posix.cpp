#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// Takes the writer's lock, waiting out a cleaner that holds it a moment. A
// file system without locks keeps the file from cleaners as well: they
// can't take it either.
void LockFile(int fd) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// A new temporary file of `path`, its name in `temp`, locked for as long as
// it is open; invalid on failure.
FileHandle CreateTempFile(const std::string& path, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TempFileName(path);
    // O_EXCL: a link planted at the name is not followed, the name is taken anew.
    FileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.Valid()) {
      if (errno != EEXIST) return file;
      continue;
    }
    LockFile(static_cast<int>(file.Get()));
    // A cleaner that found it before the lock has removed it: another name.
    struct stat st {};
    if (::fstat(static_cast<int>(file.Get()), &st) == 0 && st.st_nlink > 0) return file;
  }
  errno = EEXIST;
  return FileHandle();
}

// Fills and flushes the temporary file, which stays open (and locked) until
// its rename; false (errno kept) on failure.
bool FillTempFile(FileHandle& file, const std::function<bool(FileHandle&)>& write, int mode) {
  if (!write(file)) return false;
  const int fd = static_cast<int>(file.Get());
  if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) return false;
  return ::fsync(fd) == 0;
}

// Whether the entry `name` of the folder is the file open as `fd`.
bool NamesFile(int dirFd, const char* name, int fd) {
  struct stat byName {}, open {};
  return ::fstatat(dirFd, name, &byName, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 &&
         byName.st_dev == open.st_dev && byName.st_ino == open.st_ino;
}

// Removes the temporary file `name` unless its writer still holds it. The
// lock is held over the removal, so a writer that locks it next sees it gone.
void RemoveIfUnheld(int dirFd, const char* name) {
  FileHandle file(::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!file.Valid()) return;
  const int fd = static_cast<int>(file.Get());
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesFile(dirFd, name, fd)) ::unlinkat(dirFd, name, 0);
}

}  // namespace

int SystemRename(const char* from, const char* to) { return std::rename(from, to); }

void RemoveDeadTempFiles(const std::string& folder, std::initializer_list<std::string_view> names) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    for (std::string_view base : names) {
      if (IsTempFileOf(e->d_name, base)) RemoveIfUnheld(::dirfd(dir), e->d_name);
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
    ::unlink(temp.c_str());
    file.Close();
    errno = saved;
    return false;
  }
  file.Close();  // its data are on the disk already
  SyncFolder(FolderOf(path));
  return true;
}
