#include "app/SortCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Doc(std::initializer_list<const char*> titles) {
  std::string doc = "<DL><p>\r\n  <DT><H3>Tools</H3>\r\n  <DL><p>\r\n  </DL><p>\r\n";
  for (const char* t : titles) doc += std::string("  <DT><A HREF=\"http://x.org/\">") + t + "</A>\r\n";
  return doc + "</DL><p>\r\n";
}

class SortCommand : public ::testing::Test {
 protected:
  TempDir dir;
  test::TestContext t{dir.Path() + "/"};
  std::string out, err;
  int Run(std::vector<std::string> args) {
    std::ostringstream o, e;
    const int status = RunSortCommand(t.Ctx, args, o, e);
    out = o.str(), err = e.str();
    return status;
  }
};

TEST_F(SortCommand, SortsOverTheFileAfterABackupOrToOut) {
  const std::string file = dir / "b.htm";
  const std::string doc = Doc({"Part 10", "part 9", "Tools"});
  WriteBytes(file, doc);
  ASSERT_EQ(Run({file, "-o", dir / "o.htm", "--folders", "last", "--no-natural"}), 0) << err;
  EXPECT_EQ(ReadBytes(dir / "o.htm"), "<DL><p>\r\n  <DT><A HREF=\"http://x.org/\">Part 10</A>\r\n"
                                       "  <DT><A HREF=\"http://x.org/\">part 9</A>\r\n"
                                       "  <DT><A HREF=\"http://x.org/\">Tools</A>\r\n"
                                       "  <DT><H3>Tools</H3>\r\n  <DL><p>\r\n  </DL><p>\r\n</DL><p>\r\n");
  EXPECT_EQ(ReadBytes(file), doc);
  ASSERT_EQ(Run({file}), 0) << err;
  EXPECT_EQ(out, "Sorted 2 folders: 2 items moved in 1 folder; written to " + file + " (the old text is in " + file +
                     ".bak).\n");
  EXPECT_EQ(ReadBytes(file), Doc({"part 9", "Part 10", "Tools"}));
  EXPECT_EQ(ReadBytes(file + ".bak"), doc);
  ASSERT_EQ(Run({file}), 0);
  EXPECT_EQ(out, "Already in order: " + file + " was left as it was.\n");
}

TEST_F(SortCommand, TheLocaleDecidesWhereAccentedLettersGo) {
  WriteBytes(dir / "b.htm", Doc({"\xc3\x96l", "Zucker", "Ofen"}));
  ASSERT_EQ(Run({dir / "b.htm", "--locale", "de_DE.UTF-8", "-o", dir / "de.htm"}), 0) << err;
  ASSERT_EQ(Run({dir / "b.htm", "--locale", "sv", "-o", dir / "sv.htm"}), 0) << err;
  EXPECT_EQ(ReadBytes(dir / "de.htm"), Doc({"Ofen", "\xc3\x96l", "Zucker"}));
  EXPECT_EQ(ReadBytes(dir / "sv.htm"), Doc({"Ofen", "Zucker", "\xc3\x96l"}));
}

TEST_F(SortCommand, StatusForMistakesAndFilesThatCannotBeRead) {
  const std::string file = dir / "b.htm", doc = Doc({"b", "a"});
  WriteBytes(file, doc);
  WriteBytes(dir / "nul.htm", std::string("<DL><p>\0x", 9));
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"--help"}, 0},
      {{file, "--by", "size"}, 2},
      {{file, "--then", "title"}, 2},
      {{file, "--folders", "middle"}, 2},
      {{file, "--locale", "xx_NOWHERE"}, 2},
      {{file, "--folder", "Nowhere"}, 2},
      {{file, "--keep-order", "Nowhere"}, 2},
      {{}, 2},
      {{dir / "none.htm"}, 1},
      {{dir / "nul.htm", "-o", dir / "o.htm"}, 1},
      {{file, "-o", dir / "no/such/dir/o.htm"}, 1},
  };
  for (const auto& [args, status] : cases) {
    EXPECT_EQ(Run(args), status) << (args.empty() ? "" : args.back()) << "\n" << err;
    EXPECT_EQ(err.empty(), status == 0);
  }
  EXPECT_EQ(ReadBytes(file), doc);
  EXPECT_FALSE(Exists(dir / "o.htm"));
  ASSERT_EQ(Run({"--help"}), 0);
  for (const char* option : {"--by", "--then", "--reverse", "--folders", "--no-natural", "--case-sensitive", "--locale",
                             "--folder", "--no-recursive", "--keep-order", "--keep-toolbar-order"})
    EXPECT_NE(out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace quillet
