#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/process.h"

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

std::string BuiltProgram(const std::string& name) { return std::string(ZUK_BINARY_DIR) + "/bin/" + name; }


long OwnProcessId() { return static_cast<long>(getpid()); }

void SetEnvironment(const std::string& name, const char* value) {
  if (value != nullptr) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace testsupport

namespace testsupport {

long DeadProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return static_cast<long>(child);
}

bool MakeFifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

std::string DeviceFile() { return "/dev/zero"; }

bool LongPathsWork() { return true; }

bool IsRoot() { return geteuid() == 0; }

bool RunAsUser(unsigned uid, const std::function<bool()>& play) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(uid) != 0 || setuid(uid) != 0) _exit(2);
    _exit(play() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testsupport
