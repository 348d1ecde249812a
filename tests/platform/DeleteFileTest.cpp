#include <sys/stat.h>

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::Exists;
using test::TempDir;
using test::WriteBytes;

TEST(PosixFileSystemDelete, RefusesReadOnlyFilesAndFolders) {
  TempDir t;
  WriteBytes(t / "ro.url", "x");
  ASSERT_EQ(::chmod((t / "ro.url").c_str(), 0444), 0);
  test::MakeDirs(t / "dir");
  PosixFileSystem pfs;
  EXPECT_FALSE(pfs.DeleteFile(t / "ro.url"));
  EXPECT_TRUE(Exists(t / "ro.url"));
  EXPECT_FALSE(pfs.DeleteFile(t / "dir"));
  EXPECT_TRUE(fs::is_directory(t / "dir"));
  EXPECT_FALSE(pfs.DeleteFile(t / "missing"));
  WriteBytes(t / "rw.url", "x");
  EXPECT_TRUE(pfs.DeleteFile(t / "rw.url"));
  EXPECT_FALSE(Exists(t / "rw.url"));
}

TEST(PosixFileSystemDelete, RemovesALinkNeverItsTarget) {
  TempDir t;
  WriteBytes(t / "target", "keep");
  ASSERT_EQ(::chmod((t / "target").c_str(), 0444), 0);
  fs::create_symlink(t / "target", t / "link.url");
  fs::create_symlink(t / "nowhere", t / "dangling.url");
  PosixFileSystem pfs;
  EXPECT_TRUE(pfs.DeleteFile(t / "link.url"));
  EXPECT_TRUE(pfs.DeleteFile(t / "dangling.url"));
  EXPECT_FALSE(Exists(t / "link.url"));
  EXPECT_FALSE(Exists(t / "dangling.url"));
  EXPECT_EQ(test::ReadBytes(t / "target"), "keep");
}

}  // namespace
}  // namespace quillet
