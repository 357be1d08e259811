#include "support/process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

extern char** environ;

namespace testsupport {

bool Child::Wait(int timeoutMs, int& exitCode) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      pid = -1;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void Child::Kill() {
  if (pid > 0) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
  }
}

Child Start(const std::string& program, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& env, const std::string& workingDir) {
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    const std::string key = entry.substr(0, entry.find('='));
    if (env.count(key) == 0) envStrings.push_back(entry);
  }
  for (const auto& [k, v] : env) envStrings.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : argStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  Child child;
  child.pid = fork();
  if (child.pid == 0) {
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  return child;
}

std::string Shell(const std::string& command, int* exitCode) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  std::array<char, 4096> buf{};
  size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  const int status = pclose(p);
  if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

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
             ("zuk_test_" + tag + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string BuiltProgram(const std::string& name) { return std::string(ZUK_BINARY_DIR) + "/bin/" + name; }

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
