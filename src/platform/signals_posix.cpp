#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "platform/signals.h"

namespace {

volatile sig_atomic_t g_endReceived = 0;
int g_pipe[2] = {-1, -1};

// Async-signal-safe: a flag and a write(2), errno kept.
void OnEndSignal(int) {
  const int saved = errno;
  g_endReceived = 1;
  if (g_pipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
  }
  errno = saved;
}

}  // namespace

void InstallEndSignalHandlers() {
  if (g_pipe[0] >= 0) return;
  if (::pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
  }
  struct sigaction sa {};
  sa.sa_handler = OnEndSignal;
  sigemptyset(&sa.sa_mask);
  // Interrupted reads and writes of files go on; waits (select, poll,
  // nanosleep) return early all the same, which is what wakes the loops.
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

void RaiseEndSignal() { OnEndSignal(SIGTERM); }

bool EndSignalReceived() { return g_endReceived != 0; }

int EndSignalFd() { return g_pipe[0]; }

void DrainEndSignalFd() {
  if (g_pipe[0] < 0) return;
  char buf[64];
  while (::read(g_pipe[0], buf, sizeof buf) > 0) {
  }
}
