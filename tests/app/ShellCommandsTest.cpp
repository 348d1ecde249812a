#include "app/ShellCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Addresses.h"
#include "platform/WineRegistry.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"
#include "tests/support/WinePrefix.h"
#include "viewer/document/LinkPath.h"

namespace quillet {
namespace {

using test::ShellCall;
using test::TempDir;
using test::TestContext;
using Titled = std::pair<std::string, std::string>;

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(FavoritesFolderFromRegistry, MapsTheRegistryValueToALocalFolder) {
  test::FakeRegistry reg;
  EXPECT_EQ(FavoritesFolderFromRegistry(reg), "");
  EXPECT_TRUE(reg.Mapped.empty());  // nothing to map when there is no value

  reg.SetString(RegRoot::CurrentUser, kShellFolders, "Favorites", "C:\\users\\ann\\Favorites");
  reg.Paths["C:\\users\\ann\\Favorites"] = "/home/ann/.wine/drive_c/users/ann/Favorites";
  EXPECT_EQ(FavoritesFolderFromRegistry(reg), "/home/ann/.wine/drive_c/users/ann/Favorites");

  reg.SetNonText(RegRoot::CurrentUser, kShellFolders, "Favorites", kRegMultiSz);
  EXPECT_THROW(FavoritesFolderFromRegistry(reg), ERegistryException);
}

TEST(FavoritesFolderFromRegistry, FindsTheFavoritesOfAWinePrefix) {
  TempDir dir;
  const std::string favorites = test::MakeWinePrefix(dir.Path(), test::UserRegWithShellFolders(test::kFavoritesLine));
  PosixFileSystem fs;
  WineRegistry reg(fs, dir.Path());
  EXPECT_EQ(FavoritesFolderFromRegistry(reg), std::filesystem::canonical(favorites).string());
}

TEST(LaunchDocument, ReportsARefusalWithTheName) {
  TestContext t;
  EXPECT_TRUE(LaunchDocument(t.Ctx, "/tmp/a.htm"));
  EXPECT_TRUE(t.UI.Messages.empty());
  t.Shell.Result = false;
  EXPECT_FALSE(LaunchDocument(t.Ctx, "/tmp/b.htm"));
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not launch /tmp/b.htm"}}));
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", "/tmp/a.htm", ""}, {"open", "/tmp/b.htm", ""}}));
}

TEST(OpenWebAddress, AsksFirstOnlyWhenToldAndReportsAFailedBrowser) {
  TestContext t;
  EXPECT_FALSE(OpenWebAddress(t.Ctx, "https://example.org/", true));  // the script answers No
  t.UI.Answers = {Answer::Dismissed};
  EXPECT_FALSE(OpenWebAddress(t.Ctx, "https://example.org/", true));
  EXPECT_TRUE(t.Shell.Calls.empty());
  EXPECT_TRUE(t.UI.Messages.empty());
  t.UI.Answers = {Answer::Yes};
  EXPECT_TRUE(OpenWebAddress(t.Ctx, "https://example.org/", true));
  EXPECT_EQ(t.UI.Questions, (std::vector<std::string>(3, "Connect to the Internet now?")));

  t.Shell.Result = false;
  EXPECT_FALSE(OpenWebAddress(t.Ctx, "https://example.org/", false));
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not start your Internet browser"}}));
}

TEST(HelpMenuAddresses, OpenTheFixedAddresses) {
  TestContext t;
  OpenProductPage(t.Ctx);
  EXPECT_TRUE(OpenMakerPage(t.Ctx));
  EmailFeedback(t.Ctx);  // answered No: nothing opened
  t.UI.Answers = {Answer::Yes};
  EmailFeedback(t.Ctx);
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", kProductPage, ""},
                                                    {"open", kMakerPage, ""},
                                                    {"open", kFeedbackAddress, ""}}));
  EXPECT_EQ(t.UI.Questions,
            (std::vector<std::string>(2, "Have you searched the help and web site before requesting support?")));
  EXPECT_EQ(std::string(kFeedbackAddress).rfind("mailto:", 0), 0u);

  // Without a browser the maker's page reports the failure and lets the
  // window fall back to its help topic.
  t.Shell.Result = false;
  EXPECT_FALSE(OpenMakerPage(t.Ctx));
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not start your Internet browser"}}));
}

TEST(ViewPageInBrowser, AnEmptyDocumentWritesNothing) {
  TempDir dir;
  TestContext t(dir.Path() + "/");
  ViewPageInBrowser(t.Ctx);
  EXPECT_EQ(t.UI.Messages, std::vector<std::string>{"There is no Html to test."});
  EXPECT_FALSE(test::Exists(dir / "quillettemp.htm"));
  EXPECT_TRUE(t.Shell.Calls.empty());
}

TEST(ViewPageInBrowser, WritesThePreviewFileAndOpensIt) {
  TempDir dir;
  TestContext t(dir.Path() + "/");
  test::WriteBytes(dir / "quillettemp.htm", "an older preview that is longer than the new one");
  t.Ctx.HtmlLines = {"<DL><p>", "<DT><A HREF=\"https://example.org/\">Ex\xE9mple</A>", "</DL><p>"};
  t.Ctx.Config.CurrentFile = "/home/ann/bookmarks.htm";
  ViewPageInBrowser(t.Ctx);
  const std::string preview = dir / "quillettemp.htm";
  EXPECT_EQ(test::ReadBytes(preview),
            "<DL><p>\r\n<DT><A HREF=\"https://example.org/\">Ex\xE9mple</A>\r\n</DL><p>\r\n");
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", preview, ""}}));
  EXPECT_TRUE(t.UI.Messages.empty());
  EXPECT_EQ(t.Ctx.Config.CurrentFile, "/home/ann/bookmarks.htm");

  t.Shell.Result = false;
  ViewPageInBrowser(t.Ctx);
  EXPECT_EQ(t.UI.Messages, (std::vector<std::string>{"Could not launch " + preview,
                                                     "Could not start your Internet browser"}));
  EXPECT_EQ(t.UI.TitledMessages.size(), 1u);
}

TEST(ViewPageInBrowser, AnUnwritablePreviewIsAnError) {
  TestContext t("/nonexistent/folder/");
  t.Ctx.HtmlLines = {"<DL><p>"};
  EXPECT_THROW(ViewPageInBrowser(t.Ctx), EFCreateError);
  EXPECT_TRUE(t.Shell.Calls.empty());
}

TEST(FavoritesInFileManager, ExploresOrOpensTheFolderField) {
  TestContext t;
  ExploreFavorites(t.Ctx, "/home/ann/Favorites");
  OpenFavorites(t.Ctx, "/home/ann/Favorites");
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"explore", "/home/ann/Favorites", ""},
                                                    {"open", "/home/ann/Favorites", ""}}));
  t.Shell.Result = false;
  ExploreFavorites(t.Ctx, "/gone");
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not launch /gone"}}));
}

// The pane's expansion, with the document in /docs.
class HotSpot : public ::testing::Test {
 protected:
  TestContext t;
  LinkBase base{"", "", "/docs/bookmarks.htm"};
  std::vector<std::string> expanded;
  bool Click(const std::string& url) {
    return HotSpotClick(t.Ctx, url, [this](const std::string& link) {
      expanded.push_back(link);
      return ExpandLinkPath(link, base);
    });
  }
};

TEST_F(HotSpot, LaunchesSecureWebLinksToo) {
  EXPECT_TRUE(Click("Https://example.org/"));
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", "Https://example.org/", ""}}));
}

TEST_F(HotSpot, LaunchesWebAndMailLinksWhateverTheirCase) {
  EXPECT_TRUE(Click("MailTo:ann@example.org"));
  EXPECT_TRUE(Click("HTTP://example.org/"));
  t.Shell.Result = false;
  EXPECT_TRUE(Click("mailto:bob@example.org"));  // handled also when the launch fails
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", "MailTo:ann@example.org", ""},
                                                    {"open", "HTTP://example.org/", ""},
                                                    {"open", "mailto:bob@example.org", ""}}));
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not launch mailto:bob@example.org"}}));
  EXPECT_TRUE(expanded.empty());
}

TEST_F(HotSpot, PlaysMediaGivenWithADriveLetterAtItsExpandedPath) {
  t.Reg.Paths["C:/Media/Clip.avi"] = "/wine/drive_c/Media/Clip.avi";
  EXPECT_TRUE(Click("C:\\Media\\Clip.avi"));
  EXPECT_TRUE(Click("song.MID"));
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"open", "/wine/drive_c/Media/Clip.avi", ""},
                                                    {"open", "/docs/song.MID", ""}}));
}

TEST_F(HotSpot, StartsProgramsWithTheirParameters) {
  EXPECT_TRUE(Click("setup.exe -q"));
  EXPECT_EQ(expanded, std::vector<std::string>{"setup.exe"});
  EXPECT_EQ(t.Shell.Calls, (std::vector<ShellCall>{{"start", "/docs/setup.exe", "-q"}}));
  EXPECT_TRUE(t.UI.Messages.empty());

  t.Shell.Result = false;
  EXPECT_TRUE(Click("file:///docs/tool.exe?x"));
  EXPECT_EQ(t.Shell.Calls.back(), (ShellCall{"start", "/docs/tool.exe", "x"}));
  EXPECT_EQ(t.UI.TitledMessages, (std::vector<Titled>{{"Launch Error", "Could not launch /docs/tool.exe"}}));
}

TEST_F(HotSpot, LeavesOtherLocalLinksToThePane) {
  EXPECT_FALSE(Click("page.htm?x=1"));
  EXPECT_EQ(expanded, std::vector<std::string>{"page.htm"});
  EXPECT_FALSE(Click("#anchor"));
  EXPECT_FALSE(Click("movie.avi5"));  // a five-character extension matches nothing
  EXPECT_FALSE(Click("archive.exe.d/readme"));
  EXPECT_FALSE(Click("news:comp.lang"));
  EXPECT_TRUE(t.Shell.Calls.empty());
}

}  // namespace
}  // namespace quillet
