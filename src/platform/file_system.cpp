#include "platform/file_system.h"

#include <cerrno>
#include <system_error>

#include "platform/fs_path.h"

namespace fs = std::filesystem;

namespace {

// errno's value for a std::filesystem error (Windows' own codes mapped).
int ErrnoOf(const std::error_code& ec) {
  const std::error_condition condition = ec.default_error_condition();
  return condition.category() == std::generic_category() ? condition.value() : EIO;
}

}  // namespace

FileHandle::~FileHandle() {
  const int saved = errno;
  Close();
  errno = saved;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    native_ = other.Release();
  }
  return *this;
}

FileHandle::Native FileHandle::Release() {
  const Native native = native_;
  native_ = kInvalid;
  return native;
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(FsPath(path), ec);
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(FsPath(path), ec);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(FsPath(path), ec);
}

bool CreateFolders(const std::string& folder) {
  std::error_code ec;
  const fs::path path = FsPath(folder);
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  if (!ec && fs::is_directory(path, ec)) return true;
  errno = ec ? ErrnoOf(ec) : ENOTDIR;
  return false;
}

bool RemoveTree(const std::string& folder) {
  std::error_code ec;
  fs::remove_all(FsPath(folder), ec);
  if (ec) errno = ErrnoOf(ec);
  return !ec;
}

std::string CurrentFolder() {
  std::error_code ec;
  const fs::path current = fs::current_path(ec);
  if (ec) errno = ErrnoOf(ec);
  return ec ? std::string() : PathText(current);
}

std::string ResolvedPath(const std::string& path) {
  std::error_code ec;
  const fs::path resolved = fs::canonical(FsPath(path), ec);
  if (ec) errno = ErrnoOf(ec);
  return ec ? std::string() : PathText(resolved);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}
