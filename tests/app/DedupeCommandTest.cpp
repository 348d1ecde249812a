#include "app/DedupeCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::Exists;
using test::ReadBytes;
using test::Shortcut;
using test::TempDir;
using test::WriteBytes;

const std::string kDoc =
    "<DL><p>\r\n"
    "<DT><H3>Work</H3>\r\n"
    "<DL><p>\r\n"
    "<DT><A HREF=\"http://a.org/\">A</A>\r\n"
    "</DL><p>\r\n"
    "<DT><A HREF=\"https://a.org\" ADD_DATE=\"1\">A again</A>\r\n"
    "<DD>its description\r\n"
    "<DT><A HREF=\"http://b.org/\">B</A>\r\n"
    "</DL><p>\r\n";

class DedupeCommand : public ::testing::Test {
 protected:
  TempDir dir;
  test::TestContext t{dir.Path() + "/"};
  std::string out, err;
  int Run(std::vector<std::string> args) {
    std::ostringstream o, e;
    const int status = RunDedupeCommand(t.Ctx, args, o, e);
    out = o.str(), err = e.str();
    return status;
  }
};

TEST_F(DedupeCommand, ADryRunShowsTheGroupsAndChangesNothing) {
  const std::string file = dir / "b.htm";
  WriteBytes(file, kDoc);
  ASSERT_EQ(Run({file, "--rules", "slash,scheme", "--report", dir / "r.json"}), 0) << err;
  EXPECT_NE(out.find("keep    line 4  Work  \"A\"  http://a.org/"), std::string::npos) << out;
  EXPECT_NE(out.find("remove  line 6  (top level)  \"A again\"  https://a.org  (slash, scheme)"), std::string::npos);
  EXPECT_NE(out.find("Nothing was changed"), std::string::npos);
  EXPECT_EQ(ReadBytes(file), kDoc);
  EXPECT_FALSE(Exists(file + ".bak"));
  EXPECT_EQ(nlohmann::json::parse(ReadBytes(dir / "r.json"))["removed"], 1);
  // Without rules the two addresses differ.
  ASSERT_EQ(Run({file}), 0);
  EXPECT_NE(out.find("No duplicates found; 3 links looked at."), std::string::npos) << out;
}

TEST_F(DedupeCommand, ApplySavesOverTheFileAfterABackupOrToOut) {
  const std::string file = dir / "b.htm", want = [] {
    std::string w = kDoc;
    w.erase(w.find("<DT><A HREF=\"https"), w.find("<DT><A HREF=\"http://b") - w.find("<DT><A HREF=\"https"));
    return w;
  }();
  WriteBytes(file, kDoc);
  ASSERT_EQ(Run({file, "--rules", "all", "--apply", "-o", dir / "out.htm", "--report", dir / "r.csv"}), 0) << err;
  EXPECT_EQ(ReadBytes(dir / "out.htm"), want);
  EXPECT_EQ(ReadBytes(file), kDoc);
  EXPECT_FALSE(Exists(file + ".bak"));
  EXPECT_NE(ReadBytes(dir / "r.csv").find("\r\n6,,A again,https://a.org,4,Work,http://a.org/,slash scheme\r\n"),
            std::string::npos);
  ASSERT_EQ(Run({file, "--rules", "all", "--keep", "newest", "--apply"}), 0) << err;
  EXPECT_EQ(out, "Removed 1 copy; 2 links kept in " + file + " (the old text is in " + file + ".bak).\n");
  EXPECT_EQ(ReadBytes(file + ".bak"), kDoc);
  EXPECT_EQ(ReadBytes(file).find("http://a.org/"), std::string::npos);  // the dated copy stayed
}

TEST_F(DedupeCommand, StatusForMistakesAndFilesThatCannotBeRead) {
  WriteBytes(dir / "b.htm", kDoc);
  WriteBytes(dir / "nul.htm", std::string("<DL><p>\0x", 9));
  const std::string file = dir / "b.htm";
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"--help"}, 0},
      {{file, "--rules", "slash,nope"}, 2},
      {{file, "--keep", "middle"}, 2},
      {{file, "-o", dir / "o.htm"}, 2},  // -o without --apply
      {{file, "--report", dir / "r.txt"}, 2},
      {{file, "--protect", "Nowhere"}, 2},
      {{file, "--unknown"}, 2},
      {{}, 2},
      {{dir / "none.htm"}, 1},
      {{dir / "nul.htm", "--apply"}, 1},
      {{file, "--report", dir / "no/such/dir/r.json"}, 1},
  };
  for (const auto& [args, status] : cases) {
    EXPECT_EQ(Run(args), status) << (args.empty() ? "" : args.back()) << "\n" << err;
    EXPECT_EQ(err.empty(), status == 0);
  }
  EXPECT_EQ(ReadBytes(file), kDoc);
  EXPECT_EQ(ReadBytes(dir / "nul.htm"), std::string("<DL><p>\0x", 9));
  ASSERT_EQ(Run({"--help"}), 0);
  for (const char* option : {"--rules", "--tracking-params", "--scope", "--keep", "--protect", "--apply", "--report"})
    EXPECT_NE(out.find(option), std::string::npos) << option;
}

TEST_F(DedupeCommand, ShortcutCopiesGoToTheTrash) {
  const std::string data = dir / "data";
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  const std::string fav = dir / "Fav";
  WriteBytes(fav + "/A.url", Shortcut("http://a.org/"));
  WriteBytes(fav + "/Sub/A copy.url", Shortcut("https://a.org"));
  WriteBytes(fav + "/Sub/B.url", Shortcut("http://b.org/"));
  WriteBytes(fav + "/Keep/A kept.url", Shortcut("http://A.org/"));
  WriteBytes(fav + "/broken1.url", "[Other]\r\n");
  WriteBytes(fav + "/broken2.url", "[Other]\r\n");
  ASSERT_EQ(::symlink((fav + "/Sub/B.url").c_str(), (fav + "/B link.url").c_str()), 0);
  ASSERT_EQ(Run({fav, "--rules", "all", "--protect", "Keep"}), 0) << err;
  EXPECT_NE(out.find("remove  Sub/A copy.url  https://a.org  (slash, scheme, host-case)"), std::string::npos) << out;
  ASSERT_EQ(Run({fav, "--rules", "all", "--protect", "Keep", "--apply", "--report", dir / "r.json"}), 0) << err;
  // The protected copy stays; the others are in the trash, never deleted; a
  // link to a kept file, and broken shortcuts, are no copies.
  EXPECT_TRUE(Exists(fav + "/Keep/A kept.url") && Exists(fav + "/B link.url") && Exists(fav + "/Sub/B.url"));
  EXPECT_TRUE(Exists(fav + "/broken1.url") && Exists(fav + "/broken2.url"));
  EXPECT_FALSE(Exists(fav + "/A.url") || Exists(fav + "/Sub/A copy.url"));
  EXPECT_EQ(ReadBytes(data + "/Trash/files/A copy.url"), Shortcut("https://a.org"));
  EXPECT_TRUE(Exists(data + "/Trash/info/A.url.trashinfo"));
  const nlohmann::json j = nlohmann::json::parse(ReadBytes(dir / "r.json"));
  EXPECT_EQ(j["removed"], 2);
  EXPECT_EQ(j["groups"][0]["kept"]["file"], "Keep/A kept.url");
  EXPECT_EQ(j["groups"][0]["kept"]["line"], nullptr);
  EXPECT_EQ(Run({fav, "--apply", "-o", dir / "o.htm"}), 2);
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace quillet
