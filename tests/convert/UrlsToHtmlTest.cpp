#include "convert/UrlsToHtml.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "bookmarks/BookmarkFormat.h"

#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::Shortcut;

using test::MakeDirs;
using test::TempDir;
using test::WriteBytes;

class UrlsToHtmlTest : public ::testing::Test {
 protected:
  TempDir dir;
  test::TestContext t;
  std::string Top() const { return dir / "Fav"; }
};

TEST_F(UrlsToHtmlTest, WritesTheBlocksInOrderWithIndentation) {
  WriteBytes(Top() + "/b.url", Shortcut("http://b/"));
  WriteBytes(Top() + "/a.url", Shortcut("http://a/"));
  WriteBytes(Top() + "/News/c.url", Shortcut("http://c/"));
  WriteBytes(Top() + "/News/Deep/d.url", Shortcut("http://d/"));
  t.Ctx.Config.IndentHtml = true;
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{
                                 "<DL><p>",
                                 "    <DT><A HREF=\"http://a/\">a</A>",
                                 "    <DT><A HREF=\"http://b/\">b</A>",
                                 "  <DL><p>",
                                 "    <DT><H3>News</H3>",
                                 "      <DT><A HREF=\"http://c/\">c</A>",
                                 "    <DL><p>",
                                 "      <DT><H3>Deep</H3>",
                                 "        <DT><A HREF=\"http://d/\">d</A>",
                                 "    </DL><p>",
                                 "  </DL><p>",
                                 "</DL><p>",
                             }));
  EXPECT_EQ(t.Ctx.Config.FavoritesDir, Top());
  EXPECT_EQ(t.UI.BusyCount, 1);
  EXPECT_EQ(t.UI.BusyDepth, 0);
}

TEST_F(UrlsToHtmlTest, EmptyFolderDoubleSpacedAndTrailingDelimiter) {
  MakeDirs(Top());
  t.Ctx.Config.DoubleSpaceLines = true;
  t.Ctx.Config.CurrentFile = "old.htm";
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top() + "/"));
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{"<DL><p>", "", "</DL><p>", ""}));
  EXPECT_EQ(t.Ctx.Config.FavoritesDir, Top());
  EXPECT_EQ(t.Ctx.Config.CurrentFile, "");
}

TEST_F(UrlsToHtmlTest, MissingFolderChangesNothing) {
  t.Ctx.HtmlLines = {"keep"};
  t.Ctx.Config.FavoritesDir = "before";
  int reloads = 0;
  t.Ctx.ReloadSettings = [&](Context&) { ++reloads; };
  EXPECT_FALSE(UrlsToHtml(t.Ctx, dir / "nope"));
  EXPECT_EQ(t.UI.Messages, std::vector<std::string>{"Directory not found"});
  EXPECT_EQ(t.Ctx.HtmlLines, TextLines{"keep"});
  EXPECT_EQ(t.Ctx.Config.FavoritesDir, "before");
  EXPECT_EQ(reloads, 0);
  // A file is not a folder.
  WriteBytes(dir / "file", "x");
  EXPECT_FALSE(UrlsToHtml(t.Ctx, dir / "file"));
}

TEST_F(UrlsToHtmlTest, ReloadsSettingsAfterTheWalk) {
  MakeDirs(Top());
  t.Ctx.Config.IndentHtml = true;
  t.Ctx.ReloadSettings = [](Context& c) { c.Config.IndentHtml = false; };
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_FALSE(t.Ctx.Config.IndentHtml);
}

TEST_F(UrlsToHtmlTest, ShortcutReadingRules) {
  WriteBytes(Top() + "/no entry.url", "[InternetShortcut]\r\nIconIndex=0\r\n");
  WriteBytes(Top() + "/quoted.url", "[internetshortcut]\r\n  url =  \"http://q/\"  \r\n");
  WriteBytes(Top() + "/single.url", "[InternetShortcut]\nURL='http://s/'\n");
  WriteBytes(Top() + "/other section.url", "[Other]\r\nURL=http://wrong/\r\n[InternetShortcut]\r\nURL=http://right/\r\n");
  WriteBytes(Top() + "/long.url", Shortcut("http://x/" + std::string(3000, 'a')));
  WriteBytes(Top() + "/Fine Arts.URL", Shortcut("http://f/"));
  WriteBytes(Top() + "/a&b.url", Shortcut("http://amp/?a=1&b=2"));
  WriteBytes(Top() + "/.hidden.url", Shortcut("http://h/"));
  MakeDirs(Top() + "/dir.url");
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  const TextLines& l = t.Ctx.HtmlLines;
  ASSERT_EQ(l.size(), 14u);
  EXPECT_EQ(l[1], "<DT><A HREF=\"http://h/\">.hidden</A>");
  EXPECT_EQ(l[2], "<DT><A HREF=\"http://amp/?a=1&b=2\">a&b</A>");
  EXPECT_EQ(l[3], "<DT><A HREF=\"ERROR\">dir</A>");
  EXPECT_EQ(l[4], "<DT><A HREF=\"http://f/\">Fine Arts</A>");
  EXPECT_EQ(l[5], "<DT><A HREF=\"http://x/" + std::string(2047 - 9, 'a') + "\">long</A>");
  EXPECT_EQ(l[6], "<DT><A HREF=\"ERROR\">no entry</A>");
  EXPECT_EQ(l[7], "<DT><A HREF=\"http://right/\">other section</A>");
  EXPECT_EQ(l[8], "<DT><A HREF=\"http://q/\">quoted</A>");
  EXPECT_EQ(l[9], "<DT><A HREF=\"http://s/\">single</A>");
  // The folder named like a shortcut is walked too.
  EXPECT_EQ(l[10], "<DL><p>");
  EXPECT_EQ(l[11], "<DT><H3>dir.url</H3>");
}

TEST_F(UrlsToHtmlTest, SkipsHiddenDotAndLnkFoldersButNotOtherCase) {
  WriteBytes(Top() + "/.cache/x.url", Shortcut("http://x/"));
  WriteBytes(Top() + "/old.lnk/x.url", Shortcut("http://x/"));
  WriteBytes(Top() + "/Old.LNK/y.url", Shortcut("http://y/"));
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{"<DL><p>", "<DL><p>", "<DT><H3>Old.LNK</H3>",
                                        "<DT><A HREF=\"http://y/\">y</A>", "</DL><p>", "</DL><p>"}));
}

TEST_F(UrlsToHtmlTest, ShortcutsThatAreNotReadableFilesGiveErrorWithoutHanging) {
  MakeDirs(Top());
  ASSERT_EQ(::mkfifo((Top() + "/fifo.url").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("/dev/zero", (Top() + "/zero.url").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (Top() + "/dangling.url").c_str()), 0);
  // Read up to 64 KiB; past it a file is not read at all (3 GB cost no disk
  // here, nor memory in the walk).
  const std::string edge = "[InternetShortcut]\r\nURL=http://edge/\r\n";
  WriteBytes(Top() + "/edge.url", edge + std::string(64 * 1024 - edge.size(), ';'));
  WriteBytes(Top() + "/over.url", edge + std::string(64 * 1024 + 1 - edge.size(), ';'));
  WriteBytes(Top() + "/big.url", edge);
  ASSERT_EQ(::truncate((Top() + "/big.url").c_str(), 3LL << 30), 0);
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines, (TextLines{"<DL><p>", "<DT><A HREF=\"ERROR\">big</A>",
                                        "<DT><A HREF=\"ERROR\">dangling</A>",
                                        "<DT><A HREF=\"http://edge/\">edge</A>",
                                        "<DT><A HREF=\"ERROR\">fifo</A>", "<DT><A HREF=\"ERROR\">over</A>",
                                        "<DT><A HREF=\"ERROR\">zero</A>", "</DL><p>"}));
}

TEST_F(UrlsToHtmlTest, UnreadableShortcutAndFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteBytes(Top() + "/secret.url", Shortcut("http://s/"));
  WriteBytes(Top() + "/Locked/x.url", Shortcut("http://x/"));
  ::chmod((Top() + "/secret.url").c_str(), 0);
  ::chmod((Top() + "/Locked").c_str(), 0);
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines,
            (TextLines{"<DL><p>", "<DL><p>", "<DT><H3>Locked</H3>", "</DL><p>",
                       "<DT><A HREF=\"ERROR\">secret</A>", "</DL><p>"}));
}

TEST_F(UrlsToHtmlTest, NamesThatWouldBreakALineAreWrittenAsReferences) {
  WriteBytes(Top() + "/say \"hi\" <now>.url", Shortcut("http://x/?a=\"b\""));
  WriteBytes(Top() + "/A<B>/y.url", Shortcut("http://y/"));
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines[1],
            "<DT><A HREF=\"http://x/?a=&quot;b&quot;\">say &quot;hi&quot; &lt;now&gt;</A>");
  EXPECT_EQ(t.Ctx.HtmlLines[3], "<DT><H3>A&lt;B&gt;</H3>");
}

TEST_F(UrlsToHtmlTest, FollowsFolderLinksButNotIntoACycle) {
  WriteBytes(Top() + "/Sub/a.url", Shortcut("http://a/"));
  WriteBytes(dir / "Elsewhere/e.url", Shortcut("http://e/"));
  ASSERT_EQ(::symlink((dir / "Elsewhere").c_str(), (Top() + "/Linked").c_str()), 0);
  ASSERT_EQ(::symlink(Top().c_str(), (Top() + "/Sub/Loop").c_str()), 0);
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines,
            (TextLines{"<DL><p>", "<DL><p>", "<DT><H3>Linked</H3>", "<DT><A HREF=\"http://e/\">e</A>",
                       "</DL><p>", "<DL><p>", "<DT><H3>Sub</H3>", "<DT><A HREF=\"http://a/\">a</A>",
                       "</DL><p>", "</DL><p>"}));
}

// The browser layout: what browsers export and import.

void SetModificationTime(const std::string& path, time_t t) {
  const timeval times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(::utimes(path.c_str(), times), 0) << path;
}

TEST_F(UrlsToHtmlTest, BrowserLayoutPutsHeadingsBeforeTheirListsWithDatesAndAHeader) {
  WriteBytes(Top() + "/a.url", Shortcut("http://a/?x=1&y=2"));
  WriteBytes(Top() + "/R&D <Labs>.url", Shortcut("http://r/"));
  WriteBytes(Top() + "/News/c.url", Shortcut("http://c/"));
  WriteBytes(Top() + "/News/Deep/d.url", Shortcut("http://d/"));
  SetModificationTime(Top() + "/a.url", 1700000001);
  SetModificationTime(Top() + "/R&D <Labs>.url", 1700000002);
  SetModificationTime(Top() + "/News/c.url", 1700000003);
  SetModificationTime(Top() + "/News/Deep/d.url", 1700000004);
  SetModificationTime(Top() + "/News/Deep", 1600000002);
  SetModificationTime(Top() + "/News", 1600000001);
  t.Ctx.Config.BrowserLayout = true;
  t.Ctx.Config.IndentHtml = true;
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  TextLines want = BrowserHeaderLines(true);
  EXPECT_EQ(want.at(4), "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">");
  want.insert(want.end(), {
                              "<DL><p>",
                              "    <DT><A HREF=\"http://a/?x=1&amp;y=2\" ADD_DATE=\"1700000001\">a</A>",
                              "    <DT><A HREF=\"http://r/\" ADD_DATE=\"1700000002\">R&amp;D &lt;Labs&gt;</A>",
                              "    <DT><H3 ADD_DATE=\"1600000001\">News</H3>",
                              "    <DL><p>",
                              "        <DT><A HREF=\"http://c/\" ADD_DATE=\"1700000003\">c</A>",
                              "        <DT><H3 ADD_DATE=\"1600000002\">Deep</H3>",
                              "        <DL><p>",
                              "            <DT><A HREF=\"http://d/\" ADD_DATE=\"1700000004\">d</A>",
                              "        </DL><p>",
                              "    </DL><p>",
                              "</DL><p>",
                          });
  EXPECT_EQ(t.Ctx.HtmlLines, want);

  // Without indenting nothing is indented; double spacing spaces every line.
  t.Ctx.Config = TConfig{};
  t.Ctx.Config.BrowserLayout = true;
  t.Ctx.Config.DoubleSpaceLines = true;
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  const TextLines& l = t.Ctx.HtmlLines;
  ASSERT_EQ(l.size(), 2 * want.size());
  const size_t headerSize = BrowserHeaderLines(true).size();
  for (size_t i = 0; i < want.size(); ++i) {
    std::string unindented = want[i];
    if (i >= headerSize) unindented.erase(0, unindented.find_first_not_of(' '));
    EXPECT_EQ(l[2 * i], unindented);
    EXPECT_EQ(l[2 * i + 1], "");
  }
}

TEST_F(UrlsToHtmlTest, BrowserLayoutNamesWindows1252ForTextThatIsNotUtf8) {
  WriteBytes(Top() + "/Caf\xE9.url", Shortcut("http://cafe/"));
  WriteBytes(Top() + "/\xC3\xBC" "ber.url", Shortcut("http://u/"));
  t.Ctx.Config.BrowserLayout = true;
  ASSERT_TRUE(UrlsToHtml(t.Ctx, Top()));
  EXPECT_EQ(t.Ctx.HtmlLines.at(4), BrowserHeaderLines(false).at(4));
  EXPECT_NE(t.Ctx.HtmlLines.at(4).find("charset=windows-1252\""), std::string::npos);
  // Only the header depends on it; the names stay as their bytes are.
  EXPECT_NE(t.Ctx.HtmlLines.at(8).find(">Caf\xE9</A>"), std::string::npos);
}

TEST_F(UrlsToHtmlTest, ABlockForInsertionIsAFolderNamedAfterTheConvertedOne) {
  WriteBytes(dir / "R&D <Labs>/a.url", Shortcut("http://a/"));
  WriteBytes(dir / "R&D <Labs>/Sub/b.url", Shortcut("http://b/"));
  SetModificationTime(dir / "R&D <Labs>/a.url", 1700000001);
  SetModificationTime(dir / "R&D <Labs>/Sub/b.url", 1700000002);
  SetModificationTime(dir / "R&D <Labs>/Sub", 1600000002);
  SetModificationTime(dir / "R&D <Labs>", 1600000001);
  // The heading is written as a subfolder's is, in each layout; no header.
  const struct {
    bool browser, indent;
    TextLines want;
  } cases[] = {
      {false, false, {"<DL><p>", "<DT><H3>R&D &lt;Labs&gt;</H3>", "<DT><A HREF=\"http://a/\">a</A>", "<DL><p>",
                      "<DT><H3>Sub</H3>", "<DT><A HREF=\"http://b/\">b</A>", "</DL><p>", "</DL><p>"}},
      {false, true, {"<DL><p>", "  <DT><H3>R&D &lt;Labs&gt;</H3>", "    <DT><A HREF=\"http://a/\">a</A>", "  <DL><p>",
                     "    <DT><H3>Sub</H3>", "      <DT><A HREF=\"http://b/\">b</A>", "  </DL><p>", "</DL><p>"}},
      {true, true, {"<DT><H3 ADD_DATE=\"1600000001\">R&amp;D &lt;Labs&gt;</H3>", "<DL><p>",
                    "    <DT><A HREF=\"http://a/\" ADD_DATE=\"1700000001\">a</A>", "    <DT><H3 ADD_DATE=\"1600000002\">Sub</H3>",
                    "    <DL><p>", "        <DT><A HREF=\"http://b/\" ADD_DATE=\"1700000002\">b</A>", "    </DL><p>",
                    "</DL><p>"}},
  };
  for (const auto& c : cases) {
    t.Ctx.Config.BrowserLayout = c.browser;
    t.Ctx.Config.IndentHtml = c.indent;
    ASSERT_TRUE(UrlsToHtml(t.Ctx, dir / "R&D <Labs>/", UrlsToHtmlFor::Insertion));
    EXPECT_EQ(t.Ctx.HtmlLines, c.want);
  }
  // A file of its own has no heading for its top folder.
  ASSERT_TRUE(UrlsToHtml(t.Ctx, dir / "R&D <Labs>"));
  EXPECT_EQ(std::count_if(t.Ctx.HtmlLines.begin(), t.Ctx.HtmlLines.end(), IsHeading), 1);
}

TEST(FolderTitle, IsTheLastComponentOfTheFolder) {
  const std::string here = std::filesystem::current_path().filename().string();
  for (const auto& [path, want] : std::vector<std::pair<std::string, std::string>>{
           {"/home/ann/Favorites", "Favorites"}, {"/home/ann/Favorites/", "Favorites"},
           {"/home/ann/Favorites/.", "Favorites"}, {"/home/ann/Favorites/Sub/..", "Favorites"},
           {"/home//ann", "ann"}, {"/", "/"}, {".", here}, {"Links", "Links"}})
    EXPECT_EQ(FolderTitle(path), want) << path;
}

}  // namespace
}  // namespace quillet
