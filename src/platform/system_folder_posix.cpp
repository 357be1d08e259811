#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "platform/system_folder.h"

namespace fs = std::filesystem;

std::string DefaultSystemFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    return std::string(data) + "/zuk_rer1";
  }
  return HomeFolder() + "/.local/share/zuk_rer1";
}

// The system folder is the user's own already.
std::string UserFolder() { return SystemFolder(); }

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
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
