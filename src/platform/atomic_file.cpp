#include "platform/atomic_file.h"

#include <utility>

#include "platform/atomic_file_parts.h"
#include "platform/process.h"

ScopedFileRename::Rename& CurrentRename() {
  static ScopedFileRename::Rename rename = &SystemRename;
  return rename;
}

ScopedFileRename::ScopedFileRename(Rename rename) : previous_(std::exchange(CurrentRename(), rename)) {}

ScopedFileRename::~ScopedFileRename() { CurrentRename() = previous_; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TempFileName(const std::string& path) {
  static unsigned counter = 0;
  return path + "." + std::to_string(ProcessId()) + "." + std::to_string(counter++) + ".tmp";
}

bool IsTempFileOf(std::string_view name, std::string_view base) {
  if (name.size() <= base.size() || name.substr(0, base.size()) != base || name[base.size()] != '.') return false;
  std::string_view rest = name.substr(base.size() + 1);
  auto digits = [&rest] {
    size_t k = 0;
    while (k < rest.size() && rest[k] >= '0' && rest[k] <= '9') ++k;
    const std::string_view d = rest.substr(0, k);
    rest.remove_prefix(k);
    return d;
  };
  const std::string_view pidText = digits();
  if (pidText.empty() || pidText.size() > 9 || rest.empty() || rest[0] != '.') return false;
  rest.remove_prefix(1);
  return !digits().empty() && rest == ".tmp";
}

bool ReplaceFileAtomically(const std::string& path, std::string_view data, int mode) {
  return ReplaceFileAtomically(path, [data](FileHandle& file) { return file.WriteAll(data); }, mode);
}
