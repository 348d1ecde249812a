#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(PosixFileSystem, ListsSortedIgnoringCaseWithAttributes) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "b", "");
  WriteBytes(dir / "B", "");
  WriteBytes(dir / "a", "");
  WriteBytes(dir / ".hid", "");
  test::MakeDirs(dir / "C");
  ASSERT_EQ(::symlink((dir / "C").c_str(), (dir / "d").c_str()), 0);
  std::vector<DirEntry> e;
  ASSERT_TRUE(fs.ListDir(dir.Path(), e));
  ASSERT_EQ(e.size(), 6u);
  std::vector<std::string> names;
  for (auto& x : e) names.push_back(x.Name);
  EXPECT_EQ(names, (std::vector<std::string>{".hid", "a", "B", "b", "C", "d"}));
  EXPECT_TRUE(e[0].Hidden);
  EXPECT_FALSE(e[1].Hidden);
  EXPECT_TRUE(e[4].IsDirectory);
  EXPECT_FALSE(e[4].IsSymlink);
  EXPECT_TRUE(e[5].IsDirectory);
  EXPECT_TRUE(e[5].IsSymlink);
  EXPECT_FALSE(fs.ListDir(dir / "none", e));
}

TEST(PosixFileSystem, ExistenceTests) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "f", "");
  EXPECT_TRUE(fs.FileExists(dir / "f"));
  EXPECT_FALSE(fs.DirectoryExists(dir / "f"));
  EXPECT_TRUE(fs.DirectoryExists(dir.Path()));
  EXPECT_FALSE(fs.FileExists(dir.Path()));
  EXPECT_FALSE(fs.FileExists(""));
  EXPECT_FALSE(fs.DirectoryExists(""));
}

TEST(PosixFileSystem, ReadsWholeFilesOfEverySize) {
  TempDir dir;
  PosixFileSystem fs;
  std::string data = "old";
  for (const size_t size : {size_t{0}, size_t{1}, size_t{65536}, size_t{200001}}) {
    std::string bytes(size, 'x');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    WriteBytes(dir / "f", bytes);
    ASSERT_TRUE(fs.TryReadFile(dir / "f", data));
    EXPECT_EQ(data, bytes) << size;
  }
  // A system file that reports no size is still read to its end.
  ASSERT_TRUE(fs.TryReadFile("/proc/self/status", data));
  EXPECT_NE(data.find("Pid:"), std::string::npos);
  EXPECT_FALSE(fs.TryReadFile(dir / "missing", data));
  EXPECT_TRUE(data.empty());
}

TEST(PosixFileSystem, ForceDirectoriesAndCreateDir) {
  TempDir dir;
  PosixFileSystem fs;
  EXPECT_TRUE(fs.ForceDirectories(dir / "a/b/c/"));
  EXPECT_TRUE(fs.DirectoryExists(dir / "a/b/c"));
  WriteBytes(dir / "file", "");
  EXPECT_FALSE(fs.ForceDirectories(dir / "file/x"));
  EXPECT_THROW(fs.CreateDir(dir / "file"), EOSError);
  EXPECT_THROW(fs.CreateDir(dir / "x/y"), EOSError);
}

TEST(PosixFileSystem, ReadOnlyFilesRefuseWritesEvenForRoot) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "ro", "old");
  ::chmod((dir / "ro").c_str(), 0444);
  EXPECT_THROW(fs.WriteFile(dir / "ro", "new"), EFCreateError);
  EXPECT_FALSE(fs.DeleteFile(dir / "ro"));
  test::MakeDirs(dir / "rodir");
  ::chmod((dir / "rodir").c_str(), 0555);
  EXPECT_THROW(fs.WriteFile(dir / "rodir/new", "x"), EFCreateError);
  EXPECT_FALSE(fs.IsWritableDir(dir / "rodir"));
  EXPECT_TRUE(fs.IsWritableDir(dir.Path()));
}

TEST(PosixFileSystem, ReplacingAFileLeavesNoTemporaryBehind) {
  TempDir dir;
  PosixFileSystem fs;
  fs.WriteFile(dir / "f", "one");
  fs.WriteFile(dir / "f", "two");
  std::vector<DirEntry> e;
  ASSERT_TRUE(fs.ListDir(dir.Path(), e));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(test::ReadBytes(dir / "f"), "two");
}

TEST(PosixFileSystem, WritingThroughALinkKeepsTheLink) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "real.ini", "old");
  ASSERT_EQ(::symlink("real.ini", (dir / "link.ini").c_str()), 0);
  fs.WriteFile(dir / "link.ini", "new");
  struct stat st;
  ASSERT_EQ(::lstat((dir / "link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(test::ReadBytes(dir / "real.ini"), "new");
}

}  // namespace
}  // namespace quillet
