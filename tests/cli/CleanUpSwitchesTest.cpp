// The "/sort" and "/nodupes" switches on an HTML file, through the built program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet::test {
namespace {

std::string Link(const std::string& address, const std::string& description) {
  return "<DT><A HREF=\"" + address + "\">" + description + "</A>\r\n";
}

class CleanUpSwitchesTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string program = PortableCopy(dir.Path());
  const std::string beta = Link("http://b/", "beta"), alpha = Link("http://a/", "Alpha");
  // An unsorted file with a duplicate; each switch changes it its own way.
  const std::string unsorted = "<DL><p>\r\n" + beta + alpha + "\n" + beta + "</DL><p>\r\n";
  const std::string sorted = "<DL><p>\r\n" + alpha + beta + beta + "</DL><p>\r\n";
  const std::string deduplicated = "<DL><p>\r\n" + beta + alpha + "\r\n" + "</DL><p>\r\n";

  ProgramResult Run(const std::vector<std::string>& args,
                    const std::vector<std::string>& env = {"LC_ALL=C"}) {
    return RunProgram(program, args, "", dir.Path(), env);
  }
};

TEST_F(CleanUpSwitchesTest, SortAndNodupesRewriteTheFileInPlace) {
  WriteBytes(dir / "a.htm", unsorted);
  ProgramResult r = Run({"a.htm", "/sort"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "a.htm"), sorted);

  WriteBytes(dir / "b.htm", unsorted);
  r = Run({"b.htm", "/nodupes"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "b.htm"), deduplicated);
  EXPECT_EQ(r.Err, "");
}

TEST_F(CleanUpSwitchesTest, ADescriptionLineStaysWithItsLink) {
  const std::string file = "<DL><p>\r\n" + beta + "<DD>about beta\r\n" + alpha + "<DD>about alpha\r\n" + beta +
                           "<DD>about beta again\r\n</DL><p>\r\n";
  WriteBytes(dir / "a.htm", file);
  ProgramResult r = Run({"a.htm", "/sort"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  // Equal lines swap, as they always do: each with its own description.
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "<DL><p>\r\n" + alpha + "<DD>about alpha\r\n" + beta +
                                          "<DD>about beta again\r\n" + beta + "<DD>about beta\r\n</DL><p>\r\n");
  WriteBytes(dir / "b.htm", file);
  r = Run({"b.htm", "/nodupes"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "b.htm"),
            "<DL><p>\r\n" + beta + "<DD>about beta\r\n" + alpha + "<DD>about alpha\r\n</DL><p>\r\n");
}

TEST_F(CleanUpSwitchesTest, SwitchIsAnExactSubstringAndSortWinsOverNodupes) {
  WriteBytes(dir / "a.htm", unsorted);
  EXPECT_EQ(Run({"a.htm", "/SORT"}).ExitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "a.htm"), unsorted);
  EXPECT_EQ(Run({"a.htm", "/sorted"}).ExitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "a.htm"), sorted);

  WriteBytes(dir / "b.htm", unsorted);
  EXPECT_EQ(Run({"b.htm", "/sort", "/nodupes"}).ExitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "b.htm"), sorted);

  // Inside another argument it counts too.
  WriteBytes(dir / "c.htm", unsorted);
  EXPECT_EQ(Run({"c.htm", "x/nodupes/y"}).ExitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "c.htm"), deduplicated);
}

TEST_F(CleanUpSwitchesTest, MissingFileEndsSilently) {
  for (const char* sw : {"/sort", "/nodupes"}) {
    const ProgramResult r = Run({"missing.htm", sw});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_FALSE(Exists(dir / "missing.htm"));
  }
  // A folder of that name is no file either.
  MakeDirs(dir / "folder.htm");
  EXPECT_EQ(Run({"folder.htm", "/nodupes"}).ExitCode, 0);
  // The switch first: the switch itself is taken as the file name.
  WriteBytes(dir / "a.htm", unsorted);
  EXPECT_EQ(Run({"/sort", "a.htm"}).ExitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "a.htm"), unsorted);
}

TEST_F(CleanUpSwitchesTest, UnwritableFileIsReportedAndKept) {
  WriteBytes(dir / "a.htm", unsorted);
  ASSERT_EQ(::chmod((dir / "a.htm").c_str(), 0444), 0);
  for (const char* sw : {"/sort", "/nodupes"}) {
    const ProgramResult r = Run({"a.htm", sw});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find("HTML cannot be saved."), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(dir / "a.htm"), unsorted);
  }
}

TEST_F(CleanUpSwitchesTest, SortFollowsTheLocaleOfTheEnvironment) {
  const std::string ol = Link("http://o/", "\xC3\x96l"), zebra = Link("http://z/", "Zebra");
  const struct {
    std::vector<std::string> env;
    std::string want;
  } cases[] = {
      {{"LC_ALL=C", "LANG=sv_SE.UTF-8"}, ol + zebra},
      {{"LC_ALL=sv_SE.UTF-8"}, zebra + ol},
      {{"LC_ALL=", "LC_COLLATE=sv_SE.UTF-8", "LANG=C"}, zebra + ol},
      {{"LC_ALL=", "LC_COLLATE=", "LANG=sv_SE.UTF-8"}, zebra + ol},
      {{"LC_ALL=POSIX", "LANG=sv_SE.UTF-8"}, ol + zebra},
  };
  for (const auto& c : cases) {
    WriteBytes(dir / "a.htm", zebra + ol);
    EXPECT_EQ(Run({"a.htm", "/sort"}, c.env).ExitCode, 0);
    EXPECT_EQ(ReadBytes(dir / "a.htm"), c.want) << c.env[0];
  }
}

}  // namespace
}  // namespace quillet::test
