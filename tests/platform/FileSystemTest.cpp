#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <tuple>
#include <vector>

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
  fs.WriteFile(dir / "f", "two", FileSystem::Flush::AtomicOnly);
  fs.WriteFile(dir / "f", "three");
  std::vector<DirEntry> e;
  ASSERT_TRUE(fs.ListDir(dir.Path(), e));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(test::ReadBytes(dir / "f"), "three");
}

// What a failed replace leaves: the old file byte for byte, or no file, and
// never a temporary.
std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PosixFileSystem, AFileInAReadOnlyFolderIsRefusedNotRewrittenInPlace) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "ro/a.htm", "old contents");
  ASSERT_EQ(::chmod((dir / "ro").c_str(), 0555), 0);
  try {
    fs.WriteFile(dir / "ro/a.htm", "new");
    FAIL() << "no failure";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Reason().find("read-only"), std::string::npos) << e.Reason();
  }
  EXPECT_EQ(test::ReadBytes(dir / "ro/a.htm"), "old contents");
  EXPECT_EQ(Names(dir / "ro"), std::vector<std::string>{"a.htm"});
}

TEST(PosixFileSystem, AFailedWriteLeavesTheOldFileOrNone) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "old.htm", "old");
  const auto failing = [] {
    int piece = 0;
    return [piece]() mutable -> std::string_view {
      if (++piece > 3) throw std::runtime_error("the source failed");
      return "part ";
    };
  };
  EXPECT_THROW(fs.WriteFileFrom(dir / "old.htm", failing()), std::runtime_error);
  EXPECT_THROW(fs.WriteFileFrom(dir / "new.htm", failing()), std::runtime_error);
  EXPECT_EQ(test::ReadBytes(dir / "old.htm"), "old");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"old.htm"});
}

TEST(PosixFileSystem, ReplacingKeepsTheModeAndTakesAnyLengthOfName) {
  TempDir dir;
  PosixFileSystem fs;
  // As long as a name may be: the temporary name cannot be derived from it.
  const std::string longest = dir / (std::string(251, 'n') + ".htm");
  WriteBytes(longest, "old");
  ASSERT_EQ(::chmod(longest.c_str(), 0640), 0);
  fs.WriteFile(longest, "new");
  EXPECT_EQ(test::ReadBytes(longest), "new");
  struct stat st;
  ASSERT_EQ(::stat(longest.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // A new file takes the usual mode.
  const mode_t mask = ::umask(022);
  fs.WriteFile(dir / "fresh", "x");
  ::umask(mask);
  ASSERT_EQ(::stat((dir / "fresh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  // A device is written to as it stands.
  fs.WriteFile("/dev/null", "into nothing");
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(PosixFileSystem, ALockWaitsAndFollowsAFileReplacedMeanwhile) {
  TempDir dir;
  PosixFileSystem fs;
  const std::string file = dir / "a.htm";
  WriteBytes(file, "first");
  int waits = 0;
  auto first = fs.LockFile(file, [&] { ++waits; });
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(waits, 0);
  // A second lock finds the first held; while it waits, the holder saves a
  // new file over the path and lets go. The lock then holds the new file.
  auto second = fs.LockFile(file, [&] {
    ++waits;
    fs.WriteFile(file, "second");
    first.reset();
  });
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(waits, 1);
  // The new file is the one locked: a third lock has to wait for it.
  auto third = fs.LockFile(file, [&] {
    ++waits;
    second.reset();
  });
  EXPECT_NE(third, nullptr);
  EXPECT_EQ(waits, 2);
  EXPECT_EQ(fs.LockFile(dir / "missing.htm", {}), nullptr);
  EXPECT_EQ(fs.LockFile(dir.Path(), {}), nullptr);
}

TEST(PosixFileSystem, SubfoldersOfAHeldFolderByWhatStandsThere) {
  TempDir dir;
  PosixFileSystem fs;
  test::MakeDirs(dir / "top/in");
  test::MakeDirs(dir / "top/ro");
  test::MakeDirs(dir / "out");
  ::chmod((dir / "top/ro").c_str(), 0555);
  WriteBytes(dir / "top/file", "");
  ASSERT_EQ(::mkfifo((dir / "top/fifo").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("in", (dir / "top/near").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "out").c_str(), (dir / "top/far").c_str()), 0);
  ASSERT_EQ(::symlink("file", (dir / "top/tofile").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (dir / "top/dangling").c_str()), 0);
  const auto top = fs.OpenFolder(dir / "top");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->Path(), dir / "top/");
  auto ro = fs.OpenSubfolder(*top, "ro", *top);
  ASSERT_NE(ro.Dir, nullptr);
  using O = FileSystem::SubfolderOutcome;
  const std::vector<std::tuple<FileSystem::Folder*, std::string, O, std::string>> cases = {
      {top.get(), "in", O::Opened, ""},          {top.get(), "new", O::Opened, ""},
      {top.get(), "near", O::Opened, ""},        {top.get(), "far", O::LeadsOutside, ""},
      {top.get(), "file", O::NotAFolder, ""},    {top.get(), "fifo", O::NotAFolder, ""},
      {top.get(), "tofile", O::NotAFolder, ""},  {top.get(), "dangling", O::NotAFolder, ""},
      {top.get(), "..", O::Failed, "that is no folder name"},
      {ro.Dir.get(), "sub", O::Failed, "its folder is read-only"},
  };
  for (const auto& [parent, name, outcome, reason] : cases) {
    const FileSystem::Subfolder sub = fs.OpenSubfolder(*parent, name, *top);
    EXPECT_EQ(sub.Outcome, outcome) << name;
    EXPECT_EQ(sub.Reason, reason) << name;
    EXPECT_EQ(sub.Dir != nullptr, outcome == O::Opened) << name;
  }
  EXPECT_TRUE(fs.DirectoryExists(dir / "top/new"));
  // The same folder reached through a link is the same folder.
  EXPECT_EQ(fs.OpenSubfolder(*top, "near", *top).Dir->Identity(), fs.OpenSubfolder(*top, "in", *top).Dir->Identity());
  EXPECT_EQ(fs.OpenFolder(dir / "top/file"), nullptr);
}

TEST(PosixFileSystem, ReadsUpToALimit) {
  TempDir dir;
  PosixFileSystem fs;
  WriteBytes(dir / "ten", "0123456789");
  using O = FileSystem::ReadOutcome;
  std::string data;
  const std::vector<std::tuple<std::string, size_t, O>> cases = {
      {dir / "ten", 10, O::Read},
      {dir / "ten", 9, O::TooLarge},
      {dir / "none", 10, O::Missing},
      {dir.Path(), 10, O::Unreadable},
      // A system file reports no size: it is read until it passes the limit.
      {"/proc/self/status", 16, O::TooLarge},
      {"/proc/self/status", 1 << 20, O::Read},
  };
  for (const auto& [path, limit, outcome] : cases) {
    EXPECT_EQ(fs.ReadFileUpTo(path, limit, data).Outcome, outcome) << path << " " << limit;
    EXPECT_LE(data.size(), limit);
  }
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
