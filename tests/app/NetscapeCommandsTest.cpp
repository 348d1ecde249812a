#include "app/NetscapeCommands.h"

#include <gtest/gtest.h>

#include "cleanup/RemoveDuplicateLinks.h"
#include "convert/Netscape.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::TempDir;
using Strings = std::vector<std::string>;

const char* const kReplace = "Are you sure you want to replace your Netscape bookmarks?";
const char* const kAppend = "Are you sure you want to append Urls to your Netscape bookmarks?";
const std::string kNav = "Software\\Netscape\\Netscape Navigator";
const char* const kDupes = "<DL><p>\r\n<DT><A HREF=\"https://a/\">A</A>\r\n<DT><A HREF=\"https://a/\">A again</A>\r\n"
                           "</DL><p>\r\n";

// Two Netscape users, each with a bookmark file; the registry gives local
// paths directly.
struct TwoUsers {
  TempDir dir;
  test::TestContext t;
  TwoUsers() {
    for (const char* user : {"ann", "bob"}) {
      t.Reg.SetString(RegRoot::LocalMachine, kNav + "\\Users\\" + user, "DirRoot", dir / user);
      t.Reg.Paths[dir / user + "\\bookmark.htm"] = File(user);
      test::WriteBytes(dir / user + "/bookmark.htm", kDupes);
    }
  }
  std::string File(const std::string& user) { return dir / user + "/bookmark.htm"; }
};

// The window's "From Netscape Bookmarks": load, remove duplicates, save over.
void RemoveDuplicatesFromNetscape(Context& ctx) {
  LoadNetscapeBookmarks(ctx);
  RemoveDuplicateLinks(ctx);
  SaveOverNetscapeBookmarks(ctx);
}

TEST(SaveOverNetscapeBookmarks, AnEmptyDocumentIsNotSavedNorAskedAbout) {
  test::TestContext t;
  t.Ctx.Config.NetscapeFile = "/x/bookmark.htm";
  EXPECT_FALSE(SaveOverNetscapeBookmarks(t.Ctx));
  EXPECT_EQ(t.UI.Messages, Strings{"There are no bookmarks to save."});
  EXPECT_TRUE(t.UI.Questions.empty());
}

TEST(SaveOverNetscapeBookmarks, WithoutALoadedFileAsksThenDoesNothing) {
  test::TestContext t;
  t.Ctx.HtmlLines = {"x"};
  t.UI.Answers = {Answer::Yes};
  EXPECT_FALSE(SaveOverNetscapeBookmarks(t.Ctx));
  EXPECT_EQ(t.UI.Questions, Strings{kReplace});
  EXPECT_TRUE(t.UI.Messages.empty());
}

TEST(RemoveDuplicatesFromNetscape, AsksForTheUserOnceAndSavesToTheFileLoaded) {
  TwoUsers f;
  f.t.UI.Texts = {"bob", "ann"};  // a second search would pick ann's file
  f.t.UI.Answers = {Answer::Yes};
  RemoveDuplicatesFromNetscape(f.t.Ctx);
  EXPECT_EQ(f.t.UI.Questions.size(), 2u);  // the user name, then the replace question
  EXPECT_EQ(f.t.UI.Texts.size(), 1u);
  EXPECT_EQ(f.t.UI.Questions.back(), kReplace);
  EXPECT_EQ(test::ReadBytes(f.File("bob")), "<DL><p>\r\n<DT><A HREF=\"https://a/\">A</A>\r\n</DL><p>\r\n");
  EXPECT_EQ(test::ReadBytes(f.File("bob") + ".bak"), kDupes);
  EXPECT_EQ(test::ReadBytes(f.File("ann")), kDupes);
  EXPECT_EQ(f.t.Ctx.Config.CurrentFile, f.File("bob"));
}

TEST(RemoveDuplicatesFromNetscape, AnsweredNoLeavesTheFileAndKeepsTheCleanedText) {
  TwoUsers f;
  f.t.UI.Texts = {"ann"};
  f.t.UI.Answers = {Answer::No};
  RemoveDuplicatesFromNetscape(f.t.Ctx);
  EXPECT_EQ(test::ReadBytes(f.File("ann")), kDupes);
  EXPECT_FALSE(test::Exists(f.File("ann") + ".bak"));
  EXPECT_EQ(f.t.Ctx.HtmlLines.size(), 3u);
}

TEST(RemoveDuplicatesFromNetscape, NothingLoadedNothingSaved) {
  TwoUsers f;
  f.t.Ctx.HtmlLines = {"<DT><A HREF=\"https://mine/\">Mine</A>"};
  f.t.UI.Texts = {"nobody"};
  f.t.UI.Answers = {Answer::Yes};
  RemoveDuplicatesFromNetscape(f.t.Ctx);
  EXPECT_EQ(f.t.UI.Messages, Strings{kNetscapeNotLocated});
  EXPECT_EQ(test::ReadBytes(f.File("ann")), kDupes);
  EXPECT_EQ(test::ReadBytes(f.File("bob")), kDupes);
}

TEST(SaveOverNetscapeBookmarks, TheBakKeepsTheFileAsItWasBeforeTheRunsFirstChange) {
  TwoUsers f;
  f.t.UI.Texts = {"ann"};
  ASSERT_TRUE(LoadNetscapeBookmarks(f.t.Ctx));
  f.t.UI.Answers = {Answer::Yes, Answer::Yes, Answer::Dismissed};
  f.t.Ctx.HtmlLines = {"first"};
  EXPECT_TRUE(SaveOverNetscapeBookmarks(f.t.Ctx));
  f.t.Ctx.HtmlLines = {"second"};
  EXPECT_TRUE(SaveOverNetscapeBookmarks(f.t.Ctx));
  EXPECT_EQ(test::ReadBytes(f.File("ann")), "second\r\n");
  EXPECT_EQ(test::ReadBytes(f.File("ann") + ".bak"), kDupes);
  // A question closed without an answer replaces nothing.
  f.t.Ctx.HtmlLines = {"third"};
  EXPECT_FALSE(SaveOverNetscapeBookmarks(f.t.Ctx));
  EXPECT_EQ(test::ReadBytes(f.File("ann")), "second\r\n");
}

TEST(ImportUrlsIntoNetscape, AsksFirstThenOffersToSaveThenAppends) {
  TwoUsers f;
  test::WriteBytes(f.dir / "Fav/Debian.url", "[InternetShortcut]\r\nURL=https://www.debian.org/\r\n");
  f.t.Ctx.Config.FavoritesDir = f.dir / "Fav";
  int asked = 0;
  EXPECT_FALSE(ImportUrlsIntoNetscape(f.t.Ctx, [&] { return ++asked > 0; }));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(f.t.UI.Questions, Strings{kAppend});
  EXPECT_EQ(test::ReadBytes(f.File("ann")), kDupes);

  f.t.UI.Answers = {Answer::Yes};
  f.t.UI.Texts = {"ann"};
  EXPECT_TRUE(ImportUrlsIntoNetscape(f.t.Ctx, [&] {
    ++asked;
    EXPECT_EQ(f.t.UI.Texts.size(), 1u);  // before the search asks for the user
    return true;
  }));
  EXPECT_EQ(asked, 1);
  // Backing out of the save question appends nothing.
  const std::string appended = test::ReadBytes(f.File("ann"));
  f.t.UI.Answers = {Answer::Yes};
  EXPECT_FALSE(ImportUrlsIntoNetscape(f.t.Ctx, [] { return false; }));
  EXPECT_EQ(test::ReadBytes(f.File("ann")), appended);
  EXPECT_NE(test::ReadBytes(f.File("ann")).find("https://www.debian.org/"), std::string::npos);
  EXPECT_EQ(f.t.Ctx.HtmlLines, (Strings{"<DL><p>", "<DT><H3>Fav</H3>", "<DT><A HREF=\"https://www.debian.org/\">Debian</A>",
                                        "</DL><p>"}));
}

}  // namespace
}  // namespace quillet
