// The shared reader of data files: only regular files, never blocking on a
// FIFO or a device, never more than its limit.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/bounded_read.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

struct BoundedReadTest : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = testsupport::FreshDir("bounded");
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
  ASSERT_TRUE(testsupport::MakeFifo((dir / "fifo").string()));
  fs::create_directory(dir / "folder");
  for (const std::string& path : {(dir / "fifo").string(), testsupport::DeviceFile(), (dir / "folder").string()}) {
    errno = 0;
    EXPECT_FALSE(ReadRegularFile(path, 1 << 20)) << path;
    EXPECT_EQ(errno, EINVAL) << path;
  }
}

}  // namespace
