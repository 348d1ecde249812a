#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace quillet {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// The trash lives in a temporary XDG_DATA_HOME for the test's length.
class Trash : public ::testing::Test {
 protected:
  TempDir dir;
  PosixFileSystem fs;
  std::string old;
  bool had = false;
  void SetUp() override {
    if (const char* v = std::getenv("XDG_DATA_HOME")) had = true, old = v;
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  }
  void TearDown() override {
    if (had)
      ::setenv("XDG_DATA_HOME", old.c_str(), 1);
    else
      ::unsetenv("XDG_DATA_HOME");
  }
};

TEST_F(Trash, MovesFilesWithWhereTheyCameFromAndNeverOverwrites) {
  const std::string a = dir / "x/My page #1.url", b = dir / "y/My page #1.url";
  WriteBytes(a, "first");
  WriteBytes(b, "second");
  std::string reason;
  ASSERT_TRUE(fs.MoveToTrash(a, reason)) << reason;
  ASSERT_TRUE(fs.MoveToTrash(b, reason)) << reason;
  EXPECT_FALSE(Exists(a) || Exists(b));
  const std::string trash = dir / "data/Trash/";
  EXPECT_EQ(ReadBytes(trash + "files/My page #1.url"), "first");
  EXPECT_EQ(ReadBytes(trash + "files/My page #1.2.url"), "second");
  const std::string info = ReadBytes(trash + "info/My page #1.2.url.trashinfo");
  EXPECT_TRUE(std::regex_match(info, std::regex("\\[Trash Info\\]\nPath=" + dir.Path() +
                                                "/y/My%20page%20%231.url\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
      << info;
}

TEST_F(Trash, AFileThatCannotGoStaysWhereItWas) {
  std::string reason;
  EXPECT_FALSE(fs.MoveToTrash(dir / "none.url", reason));
  EXPECT_FALSE(reason.empty());
  // No trash can be made where a file stands in its way.
  WriteBytes(dir / "data/Trash", "a file");
  WriteBytes(dir / "keep.url", "k");
  reason.clear();
  EXPECT_FALSE(fs.MoveToTrash(dir / "keep.url", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(ReadBytes(dir / "keep.url"), "k");
}

}  // namespace
}  // namespace quillet
