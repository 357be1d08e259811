#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

int SystemRename(const char* from, const char* to) { return ::rename(from, to); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the rename itself durable; a failure here does not undo the write.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Whether `name` is a temporary file of `base` ("<base>.<pid>.<n>.tmp")
// made by a process that no longer exists.
bool IsDeadLeftover(std::string_view name, std::string_view base) {
  if (name.size() <= base.size() || name.substr(0, base.size()) != base || name[base.size()] != '.') return false;
  std::string_view rest = name.substr(base.size() + 1);
  auto digits = [&rest] {
    size_t k = 0;
    while (k < rest.size() && rest[k] >= '0' && rest[k] <= '9') ++k;
    const std::string_view d = rest.substr(0, k);
    rest.remove_prefix(k);
    return d;
  };
  const std::string_view pidText = digits();
  if (pidText.empty() || pidText.size() > 9 || rest.empty() || rest[0] != '.') return false;
  rest.remove_prefix(1);
  if (digits().empty() || rest != ".tmp") return false;
  const pid_t pid = static_cast<pid_t>(std::stol(std::string(pidText)));
  return pid > 0 && ::kill(pid, 0) == -1 && errno == ESRCH;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int (*AtomicFileRename)(const char* from, const char* to) = &SystemRename;

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

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

bool ReplaceFileAtomically(const std::string& path, std::string_view data, int mode) {
  return ReplaceFileAtomically(path, [data](int fd) { return WriteAll(fd, data); }, mode);
}

bool ReplaceFileAtomically(const std::string& path, const std::function<bool(int fd)>& write, int mode) {
  static unsigned counter = 0;
  RemoveDeadTempFiles(FolderOf(path), {BaseName(path)});
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    // O_EXCL: a link planted at the name is not followed, the name is taken anew.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  // Closes and removes the temporary file, keeping the first error's errno.
  auto fail = [&](bool open) {
    const int saved = errno;
    if (open) ::close(fd);
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  };
  if (!write(fd)) return fail(true);
  if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) return fail(true);
  if (::fsync(fd) != 0) return fail(true);
  if (::close(fd) != 0) return fail(false);
  if (AtomicFileRename(temp.c_str(), path.c_str()) != 0) return fail(false);
  SyncFolder(FolderOf(path));
  return true;
}
