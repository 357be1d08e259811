#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/system_folder.h"

namespace fs = std::filesystem;

namespace {

struct EnvGuard {
  std::string name;
  std::string old;
  bool had;
  EnvGuard(const char* n, const char* value) : name(n) {
    const char* o = std::getenv(n);
    had = o != nullptr;
    if (had) old = o;
    if (value != nullptr) {
      setenv(n, value, 1);
    } else {
      unsetenv(n);
    }
  }
  ~EnvGuard() {
    if (had) {
      setenv(name.c_str(), old.c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
};

fs::path TempDir(const std::string& tag) {
  fs::path dir = fs::temp_directory_path() / ("zuk_platform_" + tag + "_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(SystemFolderTest, EnvironmentDecidesAndNoLengthLimit) {
  const std::string longDir = "/tmp/" + std::string(150, 'x') + "/win";
  {
    EnvGuard a("ZUK_RER1_WINDIR", (longDir + "//").c_str());
    EXPECT_EQ(SystemFolder(), longDir);
  }
  {
    EnvGuard a("ZUK_RER1_WINDIR", nullptr);
    EnvGuard b("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(SystemFolder(), "/data/home/zuk_rer1");
  }
  {
    EnvGuard a("ZUK_RER1_WINDIR", nullptr);
    EnvGuard b("XDG_DATA_HOME", nullptr);
    EnvGuard c("HOME", "/home/someone");
    EXPECT_EQ(SystemFolder(), "/home/someone/.local/share/zuk_rer1");
    // Without HOME, the user's home folder of the password database.
    EnvGuard d("HOME", nullptr);
    EXPECT_EQ(SystemFolder(), std::string(getpwuid(getuid())->pw_dir) + "/.local/share/zuk_rer1");
  }
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

TEST(SystemFolderTest, CreatedWhenMissing) {
  const fs::path dir = TempDir("mk") / "deep" / "win";
  EnvGuard a("ZUK_RER1_WINDIR", dir.c_str());
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_TRUE(EnsureSystemFolder());
  EXPECT_TRUE(fs::is_directory(dir));
  EXPECT_TRUE(EnsureSystemFolder());
  fs::remove_all(dir.parent_path().parent_path());
}

// Runs Acquire() in a child process and returns whether it got the marker.
bool ChildAcquires() {
  const pid_t pid = fork();
  if (pid == 0) {
    InstanceLock lock;
    _exit(lock.Acquire() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLockTest, ASecondProcessIsTurnedAwayUntilTheFirstEnds) {
  const fs::path dir = TempDir("lock");
  EnvGuard run("XDG_RUNTIME_DIR", dir.c_str());
  EnvGuard win("ZUK_RER1_WINDIR", (dir / "win").c_str());
  EXPECT_EQ(InstanceLock::LockPath(), (dir / "ZUK_RER1.lock").string());
  {
    InstanceLock first;
    ASSERT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(ChildAcquires());
  }
  // Released with its holder.
  EXPECT_TRUE(ChildAcquires());

  // A holder that dies without cleaning up does not block the next start.
  const pid_t holder = fork();
  if (holder == 0) {
    InstanceLock lock;
    lock.Acquire();
    _exit(0);  // the kernel drops the lock
  }
  int status = 0;
  waitpid(holder, &status, 0);
  EXPECT_TRUE(ChildAcquires());
  fs::remove_all(dir);
}

// A start with the runtime folder and one without it see each other,
// whichever came first.
TEST(InstanceLockTest, StartsWithAndWithoutARuntimeFolderExcludeEachOther) {
  const fs::path dir = TempDir("both");
  EnvGuard win("ZUK_RER1_WINDIR", (dir / "win").c_str());
  for (const bool firstHasIt : {true, false}) {
    InstanceLock first;
    {
      EnvGuard run("XDG_RUNTIME_DIR", firstHasIt ? dir.c_str() : nullptr);
      ASSERT_TRUE(first.Acquire());
    }
    EnvGuard run("XDG_RUNTIME_DIR", firstHasIt ? nullptr : dir.c_str());
    EXPECT_FALSE(ChildAcquires()) << firstHasIt;
  }
  fs::remove_all(dir);
}

TEST(InstanceLockTest, ARelativeRuntimeDirFallsBackToTheSystemFolder) {
  const fs::path dir = TempDir("rel") / "win";
  EnvGuard run("XDG_RUNTIME_DIR", "relative/run");
  EnvGuard win("ZUK_RER1_WINDIR", dir.c_str());
  EXPECT_EQ(InstanceLock::LockPath(), (dir / "ZUK_RER1.lock").string());
  {
    InstanceLock lock;
    ASSERT_TRUE(lock.Acquire());
    EXPECT_TRUE(lock.Held());  // the system folder was created for it
    EXPECT_FALSE(ChildAcquires());
  }
  fs::remove_all(dir.parent_path());
}

TEST(InstanceLockTest, AMissingRuntimeDirFallsBackToTheSystemFolder) {
  const fs::path dir = TempDir("missing") / "win";
  EnvGuard run("XDG_RUNTIME_DIR", "/nonexistent/zuk/run");
  EnvGuard win("ZUK_RER1_WINDIR", dir.c_str());
  {
    InstanceLock lock;
    ASSERT_TRUE(lock.Acquire());
    EXPECT_TRUE(lock.Held());
    EXPECT_FALSE(ChildAcquires());
  }
  fs::remove_all(dir.parent_path());
  // Where no marker can be made at all, the run goes on without one.
  EnvGuard nowhere("ZUK_RER1_WINDIR", "/proc/zuk");
  InstanceLock lock;
  EXPECT_TRUE(lock.Acquire());
  EXPECT_FALSE(lock.Held());
}

}  // namespace
