#include "platform/system_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

std::string SystemFolder() {
  std::string folder;
  if (const char* dir = std::getenv("ZUK_RER1_WINDIR"); dir != nullptr && *dir != '\0') {
    folder = dir;
  } else if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    folder = std::string(data) + "/zuk_rer1";
  } else {
    folder = HomeFolder() + "/.local/share/zuk_rer1";
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

std::string FolderWithDataFiles(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    struct stat st {};
    if (::stat(JoinPath(folder, "bmp1.bmp").c_str(), &st) == 0 && S_ISREG(st.st_mode)) return folder;
  }
  return {};
}

std::string ProgramFilePath() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}
