// The one retry of a system call that a signal interrupted (EINTR).
#pragma once

#include <cerrno>

// Calls `call` again while it fails with EINTR; its last result.
template <typename Call>
auto RetryInterrupted(Call call) {
  for (;;) {
    const auto result = call();
    if (!(result < 0 && errno == EINTR)) return result;
  }
}
