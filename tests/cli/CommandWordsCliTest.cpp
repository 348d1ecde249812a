// The dedupe and sort command words through the built program.
#include <gtest/gtest.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet::test {
namespace {

TEST(CommandWordsCli, DedupeAndSortRunFromTheCommandLine) {
  TempDir dir;
  const std::string doc =
      "<DL><p>\r\n<DT><A HREF=\"http://b.org/\">Part 10</A>\r\n<DT><A HREF=\"https://b.org\">Part 9</A>\r\n</DL><p>\r\n";
  WriteBytes(dir / "a.htm", doc);
  ProgramResult r = RunQuillet({"sort", dir / "a.htm", "-o", dir / "sorted.htm"}, "", "", {"LC_ALL=C"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(dir / "sorted.htm"),
            "<DL><p>\r\n<DT><A HREF=\"https://b.org\">Part 9</A>\r\n<DT><A HREF=\"http://b.org/\">Part 10</A>\r\n</DL><p>\r\n");
  r = RunQuillet({"dedupe", dir / "a.htm", "--rules", "slash,scheme", "--apply"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "Removed 1 copy; 1 link kept in " + (dir / "a.htm") + " (the old text is in " + (dir / "a.htm") +
                       ".bak).\n");
  EXPECT_EQ(ReadBytes(dir / "a.htm.bak"), doc);
  r = RunQuillet({"dedupe", dir / "a.htm", "--rules", "nope"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("unknown rule \"nope\""), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace quillet::test
