#include "platform/system_folder.h"

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

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

bool EnsureSystemFolder() { return CreateFolders(SystemFolder()); }

std::vector<std::string> InstalledDataFolders(const std::string& programFile) {
  std::vector<std::string> folders;
  const fs::path program(programFile);
  const fs::path own = program.parent_path();
  for (fs::path dir = own; dir.has_relative_path(); dir = dir.parent_path()) {
    const std::string name = dir.filename().string();
    if (name == "lib" || name == "lib64" || name == "libexec" || name == "bin" || name == "games") {
      folders.push_back((dir.parent_path() / "share" / "zuk_rer1").string());
    }
  }
  if (!own.empty()) folders.push_back(own.string());
  return folders;
}

bool IsPackageFolder(const std::string& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  const fs::path dir = fs::weakly_canonical(folder, ec);
  if (ec) return false;
  const fs::path own = dir.has_filename() ? dir : dir.parent_path();
  const auto top = std::next(own.begin());
  return (top != own.end() && *top == "usr") ||
         (own.filename() == "zuk_rer1" && own.parent_path().filename() == "share");
}

std::string FolderWithDataFiles(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (IsRegularFile(JoinPath(folder, "bmp1.bmp"))) return folder;
  }
  return {};
}
