// What only Windows has: the Windows directory, the per-user folder, links
// made by the system's own call, the named mutex.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/system_folder.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

TEST(WindowsFolders, TheWindowsDirectoryThenTheUsersOwn) {
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", nullptr);
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(fs::path(SystemFolder()), fs::path(windows));
  testsupport::SetEnvironment("LOCALAPPDATA", "C:\\Users\\someone\\AppData\\Local");
  EXPECT_EQ(UserFolder(), "C:/Users/someone/AppData/Local/zuk_rer1");
  EXPECT_EQ(SettingsFolders(), (std::vector<std::string>{SystemFolder(), UserFolder()}));
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", "C:/elsewhere/");
  EXPECT_EQ(SystemFolder(), "C:/elsewhere");
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", nullptr);
}

TEST(WindowsInstanceLock, AMutexOfThatNameMadeByAnyoneCountsAsRunning) {
  const HANDLE other = CreateMutexW(nullptr, TRUE, L"ZUK_RER1");
  ASSERT_NE(other, nullptr);
  InstanceLock lock;
  EXPECT_FALSE(lock.Acquire());
  CloseHandle(other);
  EXPECT_TRUE(lock.Acquire());
}

// A link at a file's place is neither read nor written through.
TEST(WindowsLinks, ALinkIsNeitherReadNorWrittenThrough) {
  const fs::path dir = testsupport::FreshDir("win_links");
  WriteBytes(dir / "private", "a private file");
  const fs::path link = dir / "score.dat";
  const bool made = CreateSymbolicLinkW(link.wstring().c_str(), (dir / "private").wstring().c_str(), 0x2);
  if (!made || !IsRegularFile(link.string())) {
    fs::remove_all(dir);
    GTEST_SKIP() << "this system makes no symbolic link that resolves (Wine 8 does not)";
  }
  errno = 0;
  EXPECT_FALSE(ReadRegularFile(link.string(), 100, false));
  EXPECT_EQ(errno, ELOOP);
  EXPECT_EQ(ReadRegularFile(link.string(), 100, true), "a private file");
  EXPECT_TRUE(ReplaceFileAtomically(link.string(), "new"));
  EXPECT_EQ(ReadBytes(dir / "private"), "a private file");
  EXPECT_EQ(ReadBytes(link), "new");
  fs::remove_all(dir);
}

}  // namespace
