// The Netscape rows of the batch, run on a Wine-style prefix and a fake home.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/BrowserExports.h"
#include "tests/support/NetscapePrefix.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

namespace quillet::test {
namespace {

using test::Shortcut;

const std::string kNav = kNavigatorKey;
const char* const kNotLocated =
    "Could not locate Netscape Bookmark location in registry.  You will have to manually load the file yourself.";
const char* const kBookmarks = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n"
                               "<DT><A HREF=\"https://zeta.example/\" ADD_DATE=\"1\">Zeta</A>\r\n"
                               "<DT><A HREF=\"https://alpha.example/\">Alpha</A>\r\n"
                               "<DT><A HREF=\"https://zeta.example/\">Zeta again</A>\r\n"
                               "</DL><p>\r\n";

// A prefix whose registry names drive_c/NS/bookmark.htm (File Location), or
// the users' profile folders when users are given; HOME is a fake home.
struct NetscapeCli {
  TempDir dir;
  std::string program = PortableCopy(dir.Path());
  std::string driveC;
  std::string file;
  std::string favorites;

  explicit NetscapeCli(const std::vector<std::string>& users = {}) {
    std::vector<RegKey> machine;
    for (const auto& u : users) machine.push_back({kNav + "\\Users\\" + u, {RegString("DirRoot", "C:\\NS\\" + u)}});
    driveC = MakeNetscapePrefix(dir / "wine", {{kNav + "\\Bookmark List", {RegString("File Location", "C:\\NS\\bookmark.htm")}}},
                                machine);
    driveC = std::filesystem::canonical(driveC).string();
    file = driveC + "/NS/bookmark.htm";
    favorites = driveC + "/users/ann/Favorites";
    MakeDirs(dir / "home");
  }
  ProgramResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProgram(program, args, input, dir.Path(), {"WINEPREFIX=" + (dir / "wine"), "HOME=" + (dir / "home")});
  }
};

TEST(NetscapeCli, Ns2urlsAndNs2ieWriteTheBookmarksAsShortcuts) {
  NetscapeCli c;
  WriteBytes(c.file, kBookmarks);
  MakeDirs(c.dir / "Links");
  auto r = c.Run({"ns2urls", c.dir / "Links"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.dir / "Links/Alpha.url"), Shortcut("https://alpha.example/"));
  EXPECT_TRUE(Exists(c.dir / "Links/Zeta.url"));

  r = c.Run({"NS2IE"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.favorites + "/Alpha.url"), Shortcut("https://alpha.example/"));
  EXPECT_EQ(ReadBytes(c.file), kBookmarks);  // read, never written
}

TEST(NetscapeCli, Ns2urlsAndNs2ieRefuseWithoutATargetOrAFile) {
  NetscapeCli c;
  auto r = c.Run({"ns2ie"});  // nothing to load
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find(kNotLocated), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("There is no HTML to convert."), std::string::npos) << r.Err;

  WriteBytes(c.file, kBookmarks);
  r = c.Run({"ns2urls"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No target folder given"), std::string::npos) << r.Err;

  // Without a prefix there is neither a bookmark file nor a Favorites folder:
  // nothing may land in the root folder.
  r = RunProgram(c.program, {"ns2ie"}, "", c.dir.Path(), {"HOME=" + (c.dir / "home")});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("No Favorites folder found"), std::string::npos) << r.Err;
}

TEST(NetscapeCli, Urls2nsAndIe2nsAppendAndKeepTheFirstVersion) {
  NetscapeCli c;
  WriteBytes(c.file, kBookmarks);
  WriteBytes(c.dir / "Fav/Debian.url", Shortcut("https://www.debian.org/"));
  WriteBytes(c.favorites + "/Wine.url", Shortcut("https://www.winehq.org/"));

  auto r = c.Run({"urls2ns", c.dir / "Fav"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  r = c.Run({"ie2ns"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string text = ReadBytes(c.file);
  const auto debian = text.find("<DT><A HREF=\"https://www.debian.org/\">Debian</A>\r\n");
  const auto wine = text.find("<DT><A HREF=\"https://www.winehq.org/\">Wine</A>\r\n");
  ASSERT_NE(debian, std::string::npos) << text;
  ASSERT_NE(wine, std::string::npos) << text;
  EXPECT_LT(debian, wine);
  EXPECT_EQ(text.substr(text.size() - 20), "</DL><p>\r\n</DL><p>\r\n");
  // Each run keeps the file as it found it.
  EXPECT_NE(ReadBytes(c.file + ".bak").find("debian"), std::string::npos);

  // A folder that does not exist appends nothing.
  const std::string before = ReadBytes(c.file);
  r = c.Run({"urls2ns", c.dir / "nowhere"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Directory not found"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadBytes(c.file), before);
}

TEST(NetscapeCli, Urls2nsWithoutABookmarkFileWritesNothing) {
  NetscapeCli c;
  WriteBytes(c.dir / "Fav/Debian.url", Shortcut("https://www.debian.org/"));
  const auto r = c.Run({"urls2ns", c.dir / "Fav"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find(kNotLocated), std::string::npos) << r.Err;
  EXPECT_FALSE(Exists(c.file));
  EXPECT_FALSE(Exists(c.file + ".bak"));
}

TEST(NetscapeCli, NsSortAndNodupesCleanTheBookmarkFile) {
  NetscapeCli c;
  WriteBytes(c.file, kBookmarks);
  auto r = c.Run({"Ns", "/nodupes"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  std::string text = ReadBytes(c.file);
  EXPECT_EQ(text.find("Zeta again"), std::string::npos) << text;
  EXPECT_EQ(ReadBytes(c.file + ".bak"), kBookmarks);

  r = c.Run({"ns", "/sort", "/nodupes"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  text = ReadBytes(c.file);
  EXPECT_LT(text.find("Alpha"), text.find("Zeta")) << text;

  // "ns" alone is no command; with /nsstrip it names a file called "ns".
  r = c.Run({"ns"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_EQ(ReadBytes(c.file), text);
  WriteBytes(c.dir / "ns", kBookmarks);
  r = c.Run({"ns", "/nsstrip"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.dir / "ns").find("ADD_DATE"), std::string::npos);
  EXPECT_EQ(ReadBytes(c.file), text);
}

TEST(NetscapeCli, TheUserNameIsAskedOnTheTerminalOnce) {
  NetscapeCli c({"ann", "bob", "c d"});
  for (const char* u : {"ann", "bob"}) WriteBytes(c.driveC + "/NS/" + u + "/bookmark.htm", kBookmarks);

  auto r = c.Run({"ns", "/nodupes"}, "bob\nann\n");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("The following Netscape users were found: ann,bob,\"c d\".  Enter the username"),
            std::string::npos)
      << r.Err;
  EXPECT_EQ(r.Err.find("Enter User Name"), r.Err.rfind("Enter User Name")) << r.Err;
  EXPECT_EQ(ReadBytes(c.driveC + "/NS/bob/bookmark.htm").find("Zeta again"), std::string::npos);
  EXPECT_EQ(ReadBytes(c.driveC + "/NS/ann/bookmark.htm"), kBookmarks);

  // At the end of input the name is empty: no user's file is touched.
  r = c.Run({"ns", "/sort"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.driveC + "/NS/ann/bookmark.htm"), kBookmarks);
}

TEST(NetscapeCli, ALockedBookmarkFileIsReportedAndLeftAsItWas) {
  NetscapeCli c;
  WriteBytes(c.file, kBookmarks);
  ::chmod(c.file.c_str(), 0444);
  const auto r = c.Run({"ns", "/sort"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("Bookmarks cannot be saved, close Netscape if it is open."), std::string::npos) << r.Err;
  EXPECT_EQ(ReadBytes(c.file), kBookmarks);
}

TEST(NetscapeCli, FindsTheLinuxBrowsersFileInTheHomeFolder) {
  NetscapeCli c;
  WriteBytes(c.dir / "home/.netscape/bookmarks.html", kBookmarks);
  const auto r = c.Run({"ns", "/nodupes"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.dir / "home/.netscape/bookmarks.html").find("Zeta again"), std::string::npos);
}

// Browsers' exports as the bookmark file: short titles first, the appended
// block a folder; and html2urls reads links that keep their attributes.
TEST(NetscapeCli, BrowserExportsSortAppendAndConvert) {
  NetscapeCli c;
  WriteBytes(c.dir / "Fav/Wine.url", Shortcut("https://www.winehq.org/"));
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> inOrder;
  } cases[] = {
      {{"ns", "/sort"}, {"//wiki.debian.org/", "//www.debian.org/\"", ">Debian News</A>"}},
      {{"urls2ns", c.dir / "Fav"},
       {"Bookmarks bar</H3>", ">Debian News</A>",
        "</DL><p>\r\n<DL><p>\r\n<DT><H3>Fav</H3>\r\n<DT><A HREF=\"https://www.winehq.org/\">Wine</A>\r\n</DL><p>\r\n</DL><p>\r\n"}},
  };
  for (const auto& k : cases) {
    WriteBytes(c.file, JoinLines(kChromiumExport));
    const auto r = c.Run(k.args);
    ASSERT_EQ(r.ExitCode, 0) << k.args[0] << " " << k.args[1] << ": " << r.Err;
    const std::string text = ReadBytes(c.file);
    size_t at = 0;
    for (const std::string& snippet : k.inOrder) {
      at = text.find(snippet, at);
      ASSERT_NE(at, std::string::npos) << k.args[1] << ": " << snippet << "\n" << text;
    }
  }

  // html2urls reads the links whatever attributes it keeps.
  WriteBytes(c.dir / "ff.htm", JoinLines(kFirefoxExport));
  const auto r = c.Run({"html2urls", c.dir / "ff.htm", c.dir / "Links"}, "y\n");
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadBytes(c.dir / "Links/Bookmarks Toolbar/Python docs.url"), Shortcut("https://docs.python.org/3/"));
  EXPECT_EQ(ReadBytes(c.dir / "Links/News/News archive.url"), Shortcut("https://news.example/archive"));
}

}  // namespace
}  // namespace quillet::test
