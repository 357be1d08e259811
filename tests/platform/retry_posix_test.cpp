// A system call that a signal interrupts is made again; any other failure
// or a result is handed back as it came.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/retry_posix.h"

TEST(RetryInterrupted, CallsAgainOnlyWhileInterrupted) {
  struct Case {
    int interruptions;
    int finalErrno;  // 0: the last call succeeds and answers 7
    long expected;
    int calls;
  };
  for (const Case c : {Case{0, 0, 7, 1}, Case{3, 0, 7, 4}, Case{2, EIO, -1, 3}, Case{0, EAGAIN, -1, 1}}) {
    int calls = 0;
    const long result = RetryInterrupted([&]() -> long {
      ++calls;
      if (calls <= c.interruptions) {
        errno = EINTR;
        return -1;
      }
      errno = c.finalErrno;
      return c.finalErrno == 0 ? 7 : -1;
    });
    EXPECT_EQ(result, c.expected) << c.interruptions << " " << c.finalErrno;
    EXPECT_EQ(calls, c.calls);
    if (c.finalErrno != 0) {
      EXPECT_EQ(errno, c.finalErrno);
    }
  }
}
