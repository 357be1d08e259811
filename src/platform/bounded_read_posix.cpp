#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/retry_posix.h"

namespace {

// Opens `path` for reading and keeps it only when it is a regular file;
// errno EINVAL for a file of another kind.
FileHandle OpenRegularFile(const std::string& path, bool followLink) {
  // O_NONBLOCK: opening a FIFO without a writer, or a device, returns at
  // once instead of waiting; fstat then tells what was opened.
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (followLink ? 0 : O_NOFOLLOW);
  FileHandle file(::open(path.c_str(), flags));
  if (!file.Valid()) return file;
  struct stat st {};
  const bool stated = ::fstat(static_cast<int>(file.Get()), &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    const int err = stated ? EINVAL : errno;
    file.Close();
    errno = err;
  }
  return file;
}

}  // namespace

std::optional<std::string> ReadRegularFileFromDisk(const std::string& path, size_t limit, bool followLink) {
  FileHandle file = OpenRegularFile(path, followLink);
  if (!file.Valid()) return std::nullopt;
  const int fd = static_cast<int>(file.Get());
  struct stat st {};
  ::fstat(fd, &st);
  std::string bytes;
  // The size is only a hint: the file may grow or shrink while it is read.
  bytes.resize(std::min(limit, static_cast<size_t>(std::max<off_t>(st.st_size, 0))));
  size_t got = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (got >= limit) break;
      bytes.resize(std::min(limit, got + 4096));
    }
    const ssize_t n = RetryInterrupted([&] { return ::read(fd, bytes.data() + got, bytes.size() - got); });
    if (n < 0) return std::nullopt;  // the handle's close keeps errno
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}
