#include "support/process.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace testsupport {

std::vector<std::string> WindowsNamed(const std::string& name) {
  std::vector<std::string> ids;
  std::istringstream list(Shell("xdotool search --onlyvisible --name . 2>/dev/null"));
  std::string id;
  while (list >> id) {
    std::string title = Shell("xdotool getwindowname " + id + " 2>/dev/null");
    while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
    if (title == name) ids.push_back(id);
  }
  return ids;
}

bool WaitForWindow(const std::string& name, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!WindowsNamed(name).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::filesystem::path FreshDir(const std::string& tag) {
  auto dir = std::filesystem::temp_directory_path() /
             ("zuk_test_" + tag + "_" + std::to_string(OwnProcessId()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace testsupport

namespace testsupport {

std::vector<std::string> WindowsOfProcess(pid_t pid, const std::string& display) {
  std::vector<std::string> ids;
  const std::string prefix = display.empty() ? "" : "DISPLAY=" + display + " ";
  std::istringstream list(Shell(prefix + "xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
  std::string id;
  while (list >> id) ids.push_back(id);
  return ids;
}

std::string WaitForProcessWindow(pid_t pid, int timeoutMs, const std::string& display) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto ids = WindowsOfProcess(pid, display);
    if (!ids.empty()) return ids.front();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "";
}

}  // namespace testsupport

namespace testsupport {

std::vector<std::string> CopyGeneratedData(const std::filesystem::path& folder, bool withReadme) {
  const std::filesystem::path generated = std::filesystem::path(ZUK_BINARY_DIR) / "data";
  std::vector<std::string> names = {"pal256.pal", "bmp1.bmp", "bmp2.bmp", "bmp3.bmp",
                                    "bmp4.bmp",   "fire.wav", "dokan.wav"};
  if (withReadme) names.push_back("readme.txt");
  std::vector<std::string> missing;
  std::filesystem::create_directories(folder);
  for (const std::string& name : names) {
    std::error_code ec;
    std::filesystem::copy_file(generated / name, folder / name, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) missing.push_back(name);
  }
  return missing;
}

}  // namespace testsupport
