#include "platform/file_system.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

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
  return fs::exists(path, ec);
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool CreateFolders(const std::string& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  if (!ec && fs::is_directory(folder, ec)) return true;
  errno = ec ? ec.value() : ENOTDIR;
  return false;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}
