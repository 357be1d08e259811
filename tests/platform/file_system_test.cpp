// The platform's files, folders and process, through its own functions
// only, so that this file builds for every system.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/bounded_read.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/system_folder.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

struct FileSystemTest : ::testing::Test {
  fs::path dir = testsupport::FreshDir("file_system");
  void TearDown() override { fs::remove_all(dir); }
  std::string At(const char* name) const { return (dir / name).string(); }
};

TEST_F(FileSystemTest, WhatLiesAtAPathAndMissingFolders) {
  WriteBytes(dir / "file", "x");
  fs::create_directory(dir / "folder");
  EXPECT_TRUE(IsRegularFile(At("file")));
  EXPECT_TRUE(IsFolder(At("folder")) && !IsFolder(At("file")));
  EXPECT_FALSE(PathExists(At("gone/deeper")) || CanWrite(At("gone/deeper")));
  EXPECT_TRUE(CanWrite(At("file")) && CanWrite(dir.string()));
  EXPECT_EQ(PermissionBits(At("folder")), -1);
  // A file in the way of a folder to make.
  errno = 0;
  EXPECT_FALSE(CreateFolders(At("file/sub")));
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_TRUE(CreateFolders(At("a/b/c")) && IsFolder(At("a/b/c")));
}

TEST_F(FileSystemTest, AHandleIsClosedOnceAndMovesWithItsFile) {
  ASSERT_TRUE(ReplaceFileAtomically(At("f"), [](FileHandle& file) {
    FileHandle moved(std::move(file));
    EXPECT_FALSE(file.Valid());
    const bool ok = moved.WriteAll("abc") && moved.WriteAll("");
    file = std::move(moved);
    return ok;
  }));
  EXPECT_EQ(ReadBytes(dir / "f"), "abc");
  FileHandle none;
  EXPECT_TRUE(none.Close());
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST_F(FileSystemTest, SeamsPutTheSystemBackWhenTheirScopeEnds) {
  {
    const ScopedFileRename failing(&FailingRename);
    errno = 0;
    EXPECT_FALSE(ReplaceFileAtomically(At("f"), "new"));
    EXPECT_EQ(errno, EIO);
    EXPECT_TRUE(fs::is_empty(dir));  // no temporary file left
  }
  EXPECT_TRUE(ReplaceFileAtomically(At("f"), "new"));
  {
    const ScopedFileReader failing([](const std::string&, size_t, bool) -> std::optional<std::string> {
      errno = EMFILE;
      return std::nullopt;
    });
    EXPECT_FALSE(ReadRegularFile(At("f"), 10));
    EXPECT_EQ(errno, EMFILE);
  }
  EXPECT_EQ(ReadRegularFile(At("f"), 10), "new");
  const std::string program = ProgramFilePath();
  EXPECT_TRUE(IsRegularFile(program)) << program;
  {
    const ScopedProgramFile standIn(At("f"));
    EXPECT_EQ(ProgramFilePath(), At("f"));
  }
  EXPECT_EQ(ProgramFilePath(), program);
  EXPECT_TRUE(ProcessExists(ProcessId()));
}

// One marker per machine: a second one, even in the same process, is
// turned away until the first goes.
TEST_F(FileSystemTest, ASecondInstanceLockIsTurnedAwayUntilTheFirstGoes) {
  testsupport::SetEnvironment("XDG_RUNTIME_DIR", nullptr);
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", At("win").c_str());
  {
    InstanceLock first;
    ASSERT_TRUE(first.Acquire());
    InstanceLock second;
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.Held());
  }
  InstanceLock again;
  EXPECT_TRUE(again.Acquire() && again.Held());
  testsupport::SetEnvironment("ZUK_RER1_WINDIR", nullptr);
}

TEST(DefaultPlatform, TickCountAdvancesInMilliseconds) {
  Platform& p = LinuxPlatform();
  const uint32_t t0 = p.GetTickCount();
  p.WaitForEvents(30);
  const uint32_t t1 = p.GetTickCount();
  EXPECT_GE(static_cast<int32_t>(t1 - t0), 25);
  EXPECT_LT(static_cast<int32_t>(t1 - t0), 2000);
}

}  // namespace
