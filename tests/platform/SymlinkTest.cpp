// Telling a symbolic link from what it leads to.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

TEST(IsSymlink, SeesTheLinkItselfDanglingOrNot) {
  test::TempDir tmp;
  test::MakeDirs(tmp / "dir");
  test::WriteBytes(tmp / "file", "x");
  std::filesystem::create_directory_symlink(tmp / "dir", tmp / "dirlink");
  std::filesystem::create_symlink(tmp / "missing", tmp / "dangling");
  PosixFileSystem fs;
  // The port's own answer (lstat) and its fallback through the listing agree.
  for (bool viaListing : {false, true}) {
    auto is = [&](const std::string& p) { return viaListing ? fs.FileSystem::IsSymlink(p) : fs.IsSymlink(p); };
    EXPECT_TRUE(is(tmp / "dirlink"));
    EXPECT_TRUE(is(tmp / "dirlink/"));  // the trailing delimiter does not follow the link
    EXPECT_TRUE(is(tmp / "dangling"));
    EXPECT_FALSE(is(tmp / "dir"));
    EXPECT_FALSE(is(tmp / "file"));
    EXPECT_FALSE(is(tmp / "nothing"));
  }
}

}  // namespace
}  // namespace quillet
