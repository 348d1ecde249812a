#include "convert/Netscape.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "convert/ShortcutText.h"
#include "platform/TextCodec.h"
#include "platform/WineRegistry.h"
#include "tests/support/NetscapePrefix.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::RegKey;
using test::RegString;
using test::TempDir;
using test::WriteBytes;
using Strings = std::vector<std::string>;

const std::string kNav = test::kNavigatorKey;
const char* const kBookmarks = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n"
                               "<DT><A HREF=\"https://old.example/\">Old</A>\r\n</DL><p>\r\n";

std::string Real(const std::string& p) { return std::filesystem::weakly_canonical(p).string(); }

RegKey CurrentUser(const std::string& user) { return {kNav + "\\biff", {RegString("CurrentUser", user)}}; }
RegKey PopState(const std::string& user, const std::string& path) {
  return {kNav + "\\biff\\users\\" + user + "\\servers\\mail", {RegString("popStatePath", path)}};
}
RegKey DirRoot(const std::string& user, const std::string& path) {
  return {kNav + "\\Users\\" + user, {RegString("DirRoot", path)}};
}

// A context whose registry is the Wine prefix built in the test's folder.
struct NetscapeFixture {
  TempDir dir;
  test::TestContext t;
  std::unique_ptr<WineRegistry> reg;
  std::string driveC;

  void Prefix(const std::vector<RegKey>& user, const std::vector<RegKey>& machine = {},
              const std::string& name = "wine") {
    driveC = test::MakeNetscapePrefix(dir / name, user, machine);
    reg = std::make_unique<WineRegistry>(t.Fs, dir / name);
    t.Ctx.Services.Reg = reg.get();
  }
  std::string Find() { return FindNetscapeBookmarks(t.Ctx); }
};

TEST(BookmarkLocationFromPrefs, TakesTheQuotedPathOfTheFirstLineWithTheKey) {
  EXPECT_EQ(BookmarkLocationFromPrefs({"// prefs", R"(user_pref("browser.bookmark_location", "C:\\NS\\bookmark.htm");)",
                                       R"(user_pref("browser.bookmark_location", "D:\\other.htm");)"}),
            R"(C:\\NS\\bookmark.htm)");
  // Blanks around the value go; commas and doubled quotes inside quotes belong to it.
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(user_pref("browser.bookmark_location",   "C:\\a, b\\x.htm");  )"}),
            R"(C:\\a, b\\x.htm)");
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(user_pref("browser.bookmark_location","C:\\say ""hi"".htm");)"}),
            R"(C:\\say "hi".htm)");
  // A field quoted at both ends loses those quotes before the cut.
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(key="browser.bookmark_location","xC:\b.htmabc")"}), R"(C:\b.htm)");
}

TEST(BookmarkLocationFromPrefs, AKeyWithoutAUsableFieldGivesEmptyAndNoKeyGivesNothing) {
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(user_pref("browser.bookmark_location" "C:\\x.htm");)"}), "");
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(user_pref("browser.bookmark_location", "");)"}), "");
  EXPECT_EQ(BookmarkLocationFromPrefs({"browser.bookmark_location,"}), "");
  EXPECT_EQ(BookmarkLocationFromPrefs({R"(user_pref("browser.cache.directory", "C:\\x");)"}), std::nullopt);
  EXPECT_EQ(BookmarkLocationFromPrefs({}), std::nullopt);
}

TEST(PrefsFields, CutsAtCommasOutsideQuotes) {
  EXPECT_EQ(PrefsFields("a,\"b,c\",d"), (Strings{"a", "\"b,c\"", "d"}));
  EXPECT_EQ(PrefsFields("\"x\"\"y\",z"), (Strings{"\"x\"y\"", "z"}));
  EXPECT_EQ(PrefsFields("\"open, never closed"), (Strings{"\"open, never closed"}));
  EXPECT_EQ(PrefsFields(",,"), (Strings{"", "", ""}));
}

TEST(JoinNamesQuoted, QuotesNamesWithBlanksCommasQuotesOrControls) {
  EXPECT_EQ(JoinNamesQuoted({"ann", "bob", "c d"}), "ann,bob,\"c d\"");
  EXPECT_EQ(JoinNamesQuoted({"a,b", "say \"hi\"", "tab\there", "\xC3\xA9mile"}),
            "\"a,b\",\"say \"\"hi\"\"\",\"tab\there\",\xC3\xA9mile");
  EXPECT_EQ(JoinNamesQuoted({}), "");
}

TEST(FindNetscapeBookmarks, FindsNothingWithoutAnySource) {
  test::TestContext t;
  EXPECT_EQ(FindNetscapeBookmarks(t.Ctx), "");
  EXPECT_TRUE(t.UI.Questions.empty());
}

TEST(FindNetscapeBookmarks, TakesTheMailUsersProfileWithoutReadingPrefsOrOtherKeys) {
  NetscapeFixture f;
  f.Prefix({CurrentUser("ann"), PopState("ann", "C:\\NS\\Users\\ann\\mail\\popstate.dat"),
            {kNav + "\\Bookmark List", {RegString("File Location", "C:\\elsewhere.htm")}}},
           {DirRoot("ann", "C:\\other"), DirRoot("bob", "C:\\other")});
  WriteBytes(f.driveC + "/NS/Users/ann/bookmark.htm", kBookmarks);
  WriteBytes(f.driveC + "/NS/Users/ann/prefs.js",
             R"(user_pref("browser.bookmark_location", "C:\\elsewhere.htm");)");
  WriteBytes(f.driveC + "/elsewhere.htm", kBookmarks);
  EXPECT_EQ(f.Find(), Real(f.driveC + "/NS/Users/ann/bookmark.htm"));
  EXPECT_TRUE(f.t.UI.Questions.empty());  // two users, yet no question
}

TEST(FindNetscapeBookmarks, FollowsPrefsJsWithItsDoubledBackslashes) {
  NetscapeFixture f;
  // The prefix's folders are matched without regard to case, as Wine does.
  f.Prefix({CurrentUser("ann"), PopState("ann", "C:\\NS\\Users\\ann\\mail\\popstate.dat")});
  WriteBytes(f.driveC + "/NS/Users/ann/prefs.js",
             "// Netscape User Preferences\r\n"
             R"(user_pref("browser.bookmark_location", "c:\\My Stuff\\Book marks.htm");)"
             "\r\n");
  WriteBytes(f.driveC + "/my stuff/Book marks.htm", kBookmarks);
  EXPECT_EQ(f.Find(), Real(f.driveC + "/my stuff/Book marks.htm"));
}

TEST(FindNetscapeBookmarks, APrefsLineWithoutACommaFallsThroughToTheUsersKey) {
  NetscapeFixture f;
  f.Prefix({CurrentUser("ann"), PopState("ann", "C:\\NS\\Users\\ann\\mail\\popstate.dat")},
           {DirRoot("zoe", "C:\\NS\\Users\\zoe")});
  WriteBytes(f.driveC + "/NS/Users/ann/prefs.js", R"(user_pref("browser.bookmark_location" "C:\\x.htm");)");
  WriteBytes(f.driveC + "/NS/Users/zoe/bookmark.htm", kBookmarks);
  EXPECT_EQ(f.Find(), Real(f.driveC + "/NS/Users/zoe/bookmark.htm"));
  EXPECT_TRUE(f.t.UI.Questions.empty());  // one user: taken without asking
}

TEST(FindNetscapeBookmarks, AsksWhichOfSeveralUsersAndGoesOnWhenCancelled) {
  NetscapeFixture f;
  f.Prefix({{kNav + "\\Bookmark List", {RegString("File Location", "C:\\fallback.htm")}}},
           {DirRoot("bob", "C:\\NS\\bob"), DirRoot("ann", "C:\\NS\\ann"), DirRoot("c d", "C:\\NS\\cd")});
  WriteBytes(f.driveC + "/NS/bob/bookmark.htm", kBookmarks);
  WriteBytes(f.driveC + "/fallback.htm", kBookmarks);

  f.t.UI.Texts = {"bob", ""};
  EXPECT_EQ(f.Find(), Real(f.driveC + "/NS/bob/bookmark.htm"));
  ASSERT_EQ(f.t.UI.Questions.size(), 1u);
  EXPECT_EQ(f.t.UI.Questions[0],
            "Enter User Name: The following Netscape users were found: ann,bob,\"c d\".  "
            "Enter the username of the bookmarks you wish to use:");
  // Nothing is remembered: the next search asks again; cancelled, the later
  // sources are tried.
  EXPECT_EQ(f.Find(), Real(f.driveC + "/fallback.htm"));
  EXPECT_EQ(f.t.UI.Questions.size(), 2u);
}

TEST(FindNetscapeBookmarks, AFolderNeverCountsAsTheFile) {
  NetscapeFixture f;
  f.Prefix({CurrentUser("ann"), PopState("ann", "C:\\NS\\ann\\mail\\popstate.dat"),
            {kNav + "\\Bookmark List", {RegString("File Location", "C:\\NS\\dir.htm")}},
            {"Software\\Netscape\\Netscape\\Bookmark List", {RegString("File Location", "C:\\NS\\real.htm")}}});
  test::MakeDirs(f.driveC + "/NS/ann/bookmark.htm");
  test::MakeDirs(f.driveC + "/NS/dir.htm");
  EXPECT_EQ(f.Find(), "");
  WriteBytes(f.driveC + "/NS/real.htm", kBookmarks);
  EXPECT_EQ(f.Find(), Real(f.driveC + "/NS/real.htm"));
}

TEST(FindNetscapeBookmarks, LooksInTheLinuxBrowsersFolderLast) {
  NetscapeFixture f;
  f.Prefix({});
  f.t.Ctx.HomeDir = f.dir / "home";
  EXPECT_EQ(f.Find(), "");

  WriteBytes(f.dir / "home/.netscape/preferences.js",
             "user_pref(\"browser.bookmark_location\", \"" + (f.dir / "kept.html") + "\");\n");
  WriteBytes(f.dir / "kept.html", kBookmarks);
  EXPECT_EQ(f.Find(), f.dir / "kept.html");

  WriteBytes(f.dir / "home/.netscape/bookmarks.html", kBookmarks);
  EXPECT_EQ(f.Find(), f.dir / "home/.netscape/bookmarks.html");

  // A file the registry names comes first.
  f.Prefix({{kNav + "\\Bookmark List", {RegString("File Location", "C:\\b.htm")}}}, {}, "wine2");
  WriteBytes(f.driveC + "/b.htm", kBookmarks);
  EXPECT_EQ(f.Find(), Real(f.driveC + "/b.htm"));
}

TEST(FindNetscapeBookmarks, AWindowsPathThatCannotBePlacedIsNotLookedUpHere) {
  NetscapeFixture f;
  f.Prefix({{kNav + "\\Bookmark List", {RegString("File Location", "bookmark.htm")}}});
  // A relative name must not find a file of the current folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(f.dir.Path());
  WriteBytes(f.dir / "bookmark.htm", kBookmarks);
  const std::string found = f.Find();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(found, "");
}

TEST(FindNetscapeBookmarks, AValueThatIsNotTextStopsTheSearch) {
  test::TestContext t;
  t.Reg.SetNonText(RegRoot::CurrentUser, kNav + "\\biff", "CurrentUser");
  EXPECT_THROW(FindNetscapeBookmarks(t.Ctx), ERegistryException);
}

TEST(LoadNetscapeBookmarks, LoadsTheFileAndMakesItCurrent) {
  NetscapeFixture f;
  f.Prefix({{kNav + "\\Bookmark List", {RegString("File Location", "C:\\b.htm")}}});
  WriteBytes(f.driveC + "/b.htm", kBookmarks);
  f.t.Ctx.Config.BoldHtml = f.t.Ctx.Config.ItalicHtml = true;
  ASSERT_TRUE(LoadNetscapeBookmarks(f.t.Ctx));
  EXPECT_EQ(f.t.Ctx.Config.NetscapeFile, Real(f.driveC + "/b.htm"));
  EXPECT_EQ(f.t.Ctx.Config.CurrentFile, f.t.Ctx.Config.NetscapeFile);
  EXPECT_FALSE(f.t.Ctx.Config.BoldHtml || f.t.Ctx.Config.ItalicHtml);
  ASSERT_EQ(f.t.Ctx.HtmlLines.size(), 5u);
  EXPECT_EQ(f.t.Ctx.HtmlLines[3], "<DT><A HREF=\"https://old.example/\">Old</A>");
  EXPECT_TRUE(f.t.UI.Messages.empty());
}

TEST(LoadNetscapeBookmarks, NotLocatedLeavesTheDocument) {
  test::TestContext t;
  t.Ctx.HtmlLines = {"mine"};
  t.Ctx.Config.CurrentFile = "/x/mine.htm";
  t.Ctx.Config.NetscapeFile = "/x/earlier.htm";
  EXPECT_FALSE(LoadNetscapeBookmarks(t.Ctx));
  EXPECT_EQ(t.UI.Messages, Strings{kNetscapeNotLocated});
  EXPECT_EQ(t.Ctx.HtmlLines, Strings{"mine"});
  EXPECT_EQ(t.Ctx.Config.CurrentFile, "/x/mine.htm");
  EXPECT_EQ(t.Ctx.Config.NetscapeFile, "");
}

// Appending: a bookmark file found through File Location, and a Favorites
// folder with one shortcut.
struct AppendFixture : NetscapeFixture {
  std::string file;
  AppendFixture() {
    Prefix({{kNav + "\\Bookmark List", {RegString("File Location", "C:\\b.htm")}}});
    file = Real(driveC + "/b.htm");
    WriteBytes(dir / "Fav/Debian.url", "[InternetShortcut]\r\nURL=https://www.debian.org/\r\n");
    t.Ctx.Config.FavoritesDir = dir / "Fav";
  }
  std::string Appended() {
    return "<DL><p>\r\n<DT><H3>Fav</H3>\r\n<DT><A HREF=\"https://www.debian.org/\">Debian</A>\r\n</DL><p>\r\n";
  }
};

TEST(AppendUrlsToNetscape, InsertsBeforeTheLastListEndAndKeepsTheFirstVersionAsBak) {
  AppendFixture f;
  WriteBytes(f.file, kBookmarks);
  ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
  const std::string head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n"
                           "<DT><A HREF=\"https://old.example/\">Old</A>\r\n";
  EXPECT_EQ(test::ReadBytes(f.file), head + f.Appended() + "</DL><p>\r\n");
  // The document is the Favorites HTML, belonging to no file.
  EXPECT_EQ(f.t.Ctx.HtmlLines.size(), 4u);
  EXPECT_EQ(f.t.Ctx.Config.CurrentFile, "");

  ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
  EXPECT_EQ(test::ReadBytes(f.file), head + f.Appended() + f.Appended() + "</DL><p>\r\n");
  EXPECT_EQ(test::ReadBytes(f.file + ".bak"), kBookmarks);
  EXPECT_TRUE(f.t.UI.Messages.empty());
}

TEST(AppendUrlsToNetscape, InTheBrowserLayoutInsertsTheBlockWithoutASecondHeader) {
  AppendFixture f;
  WriteBytes(f.file, kBookmarks);
  f.t.Ctx.Config.BrowserLayout = true;
  ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
  const std::string text = test::ReadBytes(f.file);
  EXPECT_EQ(text.find("<!DOCTYPE"), text.rfind("<!DOCTYPE"));
  EXPECT_EQ(text.find("<TITLE>"), text.rfind("<TITLE>"));
  EXPECT_NE(text.find("\r\n<DL><p>\r\n<DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\""), std::string::npos) << text;
  // Its heading makes it a folder in the browser.
  EXPECT_NE(text.find("<DT><A HREF=\"https://old.example/\">Old</A>\r\n<DT><H3 ADD_DATE=\""), std::string::npos) << text;
}

// The links of a bookmark file as a reader that believes its charset label
// sees them: titles and addresses in UTF-8, references decoded.
Strings LinksUnderTheLabel(const std::string& bytes, bool labelUtf8) {
  const std::string text = labelUtf8 ? bytes : Utf16ToUtf8(DecodeToUtf16(bytes, TextEncoding::Windows1252));
  const BookmarkTree tree = ReadBookmarkTree(SplitDocumentText(text));
  Strings links;
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) == NodeKind::Link) links.push_back(tree.Title(id) + " " + tree.Address(id));
  });
  return links;
}

// A folder with names and addresses outside ASCII goes into a file in the
// encoding its label names, and reads back the same under that label and
// under the program's own reading of the bytes.
TEST(AppendUrlsToNetscape, UnicodeGoesInInTheEncodingOfTheFile) {
  const std::string cafe = "Caf\xC3\xA9 \xE2\x98\x95", jp = "https://\xE4\xBE\x8B.jp/\xE2\x98\x95";
  auto file = [](const std::string& label, const std::string& title) {
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=" +
           label + "\">\r\n<DL><p>\r\n<DT><A HREF=\"https://old.example/\">" + title + "</A>\r\n</DL><p>\r\n";
  };
  const struct {
    std::string Bytes;
    bool LabelUtf8;
    std::string OldTitle;
  } targets[] = {
      {file("windows-1252", "Cr\xE8me"), false, "Cr\xC3\xA8me"},
      {file("windows-1252", "Old"), false, "Old"},
      {file("ISO-8859-1", "Old"), false, "Old"},
      {file("UTF-8", "Cr\xC3\xA8me"), true, "Cr\xC3\xA8me"},
  };
  for (const auto& target : targets) {
    AppendFixture f;
    WriteBytes(f.dir / ("Fav/" + cafe + ".url"),
               test::Shortcut("x") + "[InternetShortcut.W]\r\nURL=" + Utf8ToUtf7(jp) + "\r\n");
    WriteBytes(f.file, target.Bytes);
    ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
    const std::string bytes = test::ReadBytes(f.file);
    const Strings want = {target.OldTitle + " https://old.example/", cafe + " " + jp, "Debian https://www.debian.org/"};
    EXPECT_EQ(LinksUnderTheLabel(bytes, target.LabelUtf8), want) << bytes;
    EXPECT_EQ(LinksUnderTheLabel(bytes, ReadBookmarkTree(SplitDocumentText(bytes)).Encoding() == TextEncoding::Utf8),
              want) << bytes;
  }
}

// Text the file's encoding already holds goes in byte for byte, as before.
TEST(AppendUrlsToNetscape, Windows1252AndAsciiGoInUnchanged) {
  AppendFixture f;
  WriteBytes(f.dir / "Fav/Caf\xE9.url", test::Shortcut("http://caf\xE9.example/"));
  const std::string head = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\r\n"
                           "<DL><p>\r\n<DT><A HREF=\"https://old.example/\">Cr\xE8me</A>\r\n";
  WriteBytes(f.file, head + "</DL><p>\r\n");
  ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
  EXPECT_EQ(test::ReadBytes(f.file), head +
                                         "<DL><p>\r\n<DT><H3>Fav</H3>\r\n"
                                         "<DT><A HREF=\"http://caf\xE9.example/\">Caf\xE9</A>\r\n"
                                         "<DT><A HREF=\"https://www.debian.org/\">Debian</A>\r\n"
                                         "</DL><p>\r\n</DL><p>\r\n");
}

TEST(AppendUrlsToNetscape, WithoutAnExactListEndAfterTheFirstLineGoesToTheTop) {
  for (const std::string text : {"<DL><p>\r\n<DT>x\r\n</dl><p>\r\n", "</DL><p>\r\nrest\r\n", ""}) {
    AppendFixture f;
    WriteBytes(f.file, text);
    ASSERT_TRUE(AppendUrlsToNetscape(f.t.Ctx));
    EXPECT_EQ(test::ReadBytes(f.file), f.Appended() + text);
  }
}

TEST(AppendUrlsToNetscape, WritesNothingWhenTheFileOrTheFolderIsMissing) {
  AppendFixture f;
  f.t.Ctx.HtmlLines = {"the editor's text"};
  f.t.Ctx.Config.CurrentFile = f.dir / "mine.htm";
  EXPECT_FALSE(AppendUrlsToNetscape(f.t.Ctx));
  EXPECT_EQ(f.t.UI.Messages, Strings{kNetscapeNotLocated});
  EXPECT_EQ(f.t.Ctx.Config.CurrentFile, "");
  EXPECT_FALSE(test::Exists(f.file));

  WriteBytes(f.file, kBookmarks);
  f.t.Ctx.Config.CurrentFile = f.dir / "mine.htm";
  f.t.Ctx.Config.FavoritesDir = f.dir / "no such folder";
  EXPECT_FALSE(AppendUrlsToNetscape(f.t.Ctx));
  EXPECT_EQ(f.t.UI.Messages.back(), "Directory not found");
  EXPECT_EQ(test::ReadBytes(f.file), kBookmarks);
  EXPECT_FALSE(test::Exists(f.file + ".bak"));
  EXPECT_EQ(f.t.Ctx.HtmlLines, Strings{"the editor's text"});
  EXPECT_EQ(f.t.Ctx.Config.CurrentFile, f.dir / "mine.htm");
}

TEST(SaveNetscapeBookmarks, AFileThatCannotBeWrittenStaysAsItWas) {
  AppendFixture f;
  WriteBytes(f.file, kBookmarks);
  ::chmod(f.file.c_str(), 0444);
  EXPECT_FALSE(SaveNetscapeBookmarks(f.t.Ctx, {"new"}, f.file));
  EXPECT_EQ(f.t.UI.Messages,
            Strings{std::string(kNetscapeCannotSave) + "\nCannot create file " + f.file + ": the file is read-only"});
  EXPECT_EQ(test::ReadBytes(f.file), kBookmarks);
}

TEST(SaveNetscapeBookmarks, NoCopyNoChange) {
  AppendFixture f;
  WriteBytes(f.file, kBookmarks);
  test::MakeDirs(f.file + ".bak");  // the copy cannot be written
  EXPECT_THROW(SaveNetscapeBookmarks(f.t.Ctx, {"new"}, f.file), EFCreateError);
  EXPECT_EQ(test::ReadBytes(f.file), kBookmarks);
}

}  // namespace
}  // namespace quillet
