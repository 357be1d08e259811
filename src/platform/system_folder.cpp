#include "platform/system_folder.h"

#include <filesystem>

#include "platform/fs_path.h"
#include "platform/process.h"

namespace fs = std::filesystem;

// The system's folder when $ZUK_RER1_WINDIR doesn't name one
// (system_folder_posix.cpp, system_folder_win32.cpp).
std::string DefaultSystemFolder();

std::string SystemFolder() {
  std::string folder = EnvironmentValue("ZUK_RER1_WINDIR");
  if (folder.empty()) folder = DefaultSystemFolder();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool EnsureSystemFolder() { return CreateFolders(SystemFolder()); }

std::vector<std::string> InstalledDataFolders(const std::string& programFile) {
  std::vector<std::string> folders;
  const fs::path own = FsPath(programFile).parent_path();
  for (fs::path dir = own; dir.has_relative_path(); dir = dir.parent_path()) {
    const std::string name = PathText(dir.filename());
    if (name == "lib" || name == "lib64" || name == "libexec" || name == "bin" || name == "games") {
      folders.push_back(PathText(dir.parent_path() / "share" / "zuk_rer1"));
    }
  }
  if (!own.empty()) folders.push_back(PathText(own));
  return folders;
}

std::vector<std::string> SettingsFolders() {
  std::vector<std::string> folders{SystemFolder()};
  if (UserFolder() != folders.front()) folders.push_back(UserFolder());
  return folders;
}

std::string FolderWithDataFiles(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (IsRegularFile(JoinPath(folder, "bmp1.bmp"))) return folder;
  }
  return {};
}
