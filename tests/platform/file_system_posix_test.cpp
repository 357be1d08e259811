// What only POSIX systems have: links, permission bits, package folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/system_folder.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

TEST(FileSystemLinks, LinksAreFollowedButNeverForPermissionBits) {
  const fs::path dir = testsupport::FreshDir("links");
  WriteBytes(dir / "file", "x");
  fs::create_symlink(dir / "file", dir / "link");
  fs::create_symlink(dir / "gone", dir / "dangling");
  EXPECT_TRUE(IsRegularFile((dir / "link").string()));
  EXPECT_FALSE(PathExists((dir / "dangling").string()) || IsRegularFile((dir / "dangling").string()));
  fs::permissions(dir / "file", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(PermissionBits((dir / "file").string()), 0600);
  EXPECT_EQ(PermissionBits((dir / "link").string()), -1);
  fs::remove_all(dir);
}

TEST(PackageFolders, UsrAndAnInstallationsDataFolderBelongToAPackage) {
  EXPECT_TRUE(IsPackageFolder("/usr/share/zuk_rer1/"));
  EXPECT_TRUE(IsPackageFolder("/usr/local/games/zuk"));
  EXPECT_TRUE(IsPackageFolder("/opt/zuk/share/zuk_rer1"));
  EXPECT_TRUE(IsPackageFolder("/opt/zuk/share/../share/zuk_rer1/"));
  EXPECT_FALSE(IsPackageFolder("/usrlocal/share/zuk"));
  EXPECT_FALSE(IsPackageFolder("/home/someone/zuk_rer1/"));
  EXPECT_FALSE(IsPackageFolder(""));
}

}  // namespace
