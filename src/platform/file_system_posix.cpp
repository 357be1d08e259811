#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"
#include "platform/fs_path.h"
#include "platform/retry_posix.h"

bool FileHandle::Close() {
  if (!Valid()) return true;
  return ::close(static_cast<int>(Release())) == 0;
}

bool FileHandle::WriteAll(std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = RetryInterrupted([&] { return ::write(static_cast<int>(native_), data.data(), data.size()); });
    if (n < 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool WriteWholeFile(const std::string& path, std::string_view data) {
  FileHandle file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  return file.Valid() && file.WriteAll(data) && file.Close();
}

bool CanWrite(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

bool CanExecute(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

int PermissionBits(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int>(st.st_mode & 07777);
}

std::string CreateTempFolder(const std::string& tag) {
  std::string pattern = "/tmp/" + tag + "-XXXXXX";
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

bool LinkFile(const std::string& target, const std::string& link) { return ::symlink(target.c_str(), link.c_str()) == 0; }

std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(path); }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

std::string NativePath(const std::string& path) { return path; }

std::string PathFromStoredText(std::string_view text) { return std::string(text); }
