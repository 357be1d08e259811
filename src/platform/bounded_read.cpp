#include "platform/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

int OpenRegularFile(const std::string& path, int flags, int mode) {
  // O_NONBLOCK: opening a FIFO without a writer, or a device, returns at
  // once instead of waiting; fstat then tells what was opened.
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
  if (fd < 0) return -1;
  struct stat st {};
  const bool stated = ::fstat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    const int err = stated ? EINVAL : errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit, bool followLink) {
  const int fd = OpenRegularFile(path, O_RDONLY | (followLink ? 0 : O_NOFOLLOW));
  if (fd < 0) return std::nullopt;
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
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      errno = err;
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return bytes;
}
