// Test support: an X server of the test's own, and the colours on a display.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/process.h"

namespace testsupport {

// An X server of the test's own, on the first free display number: one that
// the test may kill, or that an unprivileged user may use (no access
// control).
class OwnXServer {
 public:
  explicit OwnXServer(const std::string& screen = "1024x768x24") {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      // Quiet while it looks for a free display number.
      if (FILE* quiet = std::freopen("/dev/null", "w", stderr); quiet == nullptr) _exit(126);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~OwnXServer() { Kill(SIGTERM); }
  const std::string& Display() const { return display_; }
  void Kill(int sig) {
    if (pid_ <= 0) return;
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Distinct colours in a window's picture (xwd, then ImageMagick), with the
// display's size check: "<colours> <w>x<h>".
inline std::string PictureOf(const std::string& window, const std::string& display = "") {
  const std::string prefix = display.empty() ? "" : "DISPLAY=" + display + " ";
  const std::string which = window == "root" ? "-root" : "-id " + window;
  return Shell(prefix + "xwd -silent " + which + " | convert xwd:- -format '%k %wx%h' info: 2>/dev/null");
}

inline int ColoursIn(const std::string& picture) { return std::atoi(picture.c_str()); }

}  // namespace testsupport
