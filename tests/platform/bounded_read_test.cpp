// The shared reader of data files: only regular files, never blocking on a
// FIFO or a device, never more than its limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/bounded_read.h"

namespace fs = std::filesystem;

namespace {

struct BoundedReadTest : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    char tmpl[] = "/tmp/zuk_bounded_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST_F(BoundedReadTest, ReadsARegularFileUpToTheLimit) {
  std::ofstream(dir / "f", std::ios::binary) << "0123456789";
  EXPECT_EQ(ReadRegularFile((dir / "f").string(), 4), "0123");
  EXPECT_EQ(ReadRegularFile((dir / "f").string(), 100), "0123456789");
  std::ofstream(dir / "empty").close();
  EXPECT_EQ(ReadRegularFile((dir / "empty").string(), 100), "");
  errno = 0;
  EXPECT_FALSE(ReadRegularFile((dir / "missing").string(), 100));
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(BoundedReadTest, RefusesFifosDevicesAndFoldersWithoutBlocking) {
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_directory(dir / "folder");
  for (const char* name : {"fifo", "zero", "folder"}) {
    errno = 0;
    EXPECT_FALSE(ReadRegularFile((dir / name).string(), 1 << 20)) << name;
    EXPECT_EQ(errno, EINVAL) << name;
  }
}

}  // namespace
