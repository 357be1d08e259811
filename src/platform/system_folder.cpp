#include "platform/system_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string SystemFolder() {
  std::string folder;
  if (const char* dir = std::getenv("ZUK_RER1_WINDIR"); dir != nullptr && *dir != '\0') {
    folder = dir;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    folder = std::string(data) + "/zuk_rer1";
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home != nullptr ? home : "") + "/.local/share/zuk_rer1";
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool EnsureSystemFolder() {
  std::error_code ec;
  const std::string folder = SystemFolder();
  if (std::filesystem::is_directory(folder, ec)) return true;
  std::filesystem::create_directories(folder, ec);
  if (!ec && std::filesystem::is_directory(folder, ec)) return true;
  errno = ec ? ec.value() : ENOTDIR;
  return false;
}

std::string FolderForOwnFiles(const std::string& installFolder) {
  if (installFolder.empty() || ::access(installFolder.c_str(), W_OK) == 0) return installFolder;
  if (errno != EACCES && errno != EROFS && errno != EPERM) return installFolder;
  const int saved = errno;
  if (!EnsureSystemFolder()) {
    errno = saved;
    return installFolder;
  }
  return installFolder.back() == '/' ? SystemFolder() + '/' : SystemFolder();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::vector<std::string> InstalledDataFolders(const std::string& programFile) {
  std::vector<std::string> folders;
  const std::filesystem::path program(programFile);
  const std::filesystem::path own = program.parent_path();
  for (std::filesystem::path dir = own; dir.has_relative_path(); dir = dir.parent_path()) {
    const std::string name = dir.filename().string();
    if (name == "lib" || name == "lib64" || name == "libexec" || name == "bin" || name == "games") {
      folders.push_back((dir.parent_path() / "share" / "zuk_rer1").string());
    }
  }
  if (!own.empty()) folders.push_back(own.string());
  return folders;
}
