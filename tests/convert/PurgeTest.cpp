#include "convert/Purge.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

using test::Shortcut;

namespace fs = std::filesystem;
using test::Exists;
using test::TempDir;
using test::TestContext;
using test::WriteBytes;

const char* const kNotAll = "Not all Urls could be removed.";

void MakeReadOnly(const std::string& path) { ASSERT_EQ(::chmod(path.c_str(), 0444), 0); }

TEST(DeleteUrls, DeletesShortcutsAndKeepsEverythingElse) {
  TempDir t;
  const std::string root = t / "Favs";
  WriteBytes(root + "/a.url", Shortcut("http://a/"));
  WriteBytes(root + "/B.URL", Shortcut("http://b/"));
  WriteBytes(root + "/.hidden.url", Shortcut("http://h/"));
  WriteBytes(root + "/notes.txt", "keep");
  WriteBytes(root + "/x.lnk", "keep");
  WriteBytes(root + "/url", "keep");
  WriteBytes(root + "/a.url.bak", "keep");
  WriteBytes(root + "/Sub/c.url", Shortcut("http://c/"));
  WriteBytes(root + "/Sub/Deep/d.url", Shortcut("http://d/"));
  WriteBytes(root + "/.hiddendir/e.url", Shortcut("http://e/"));
  WriteBytes(root + "/Folder.lnk/f.url", Shortcut("http://f/"));
  test::MakeDirs(root + "/Empty");

  PosixFileSystem fs;
  EXPECT_TRUE(DeleteUrls(fs, root));

  for (const char* gone : {"a.url", "B.URL", ".hidden.url", "Sub/c.url", "Sub/Deep/d.url"})
    EXPECT_FALSE(Exists(root + "/" + gone)) << gone;
  for (const char* kept : {"notes.txt", "x.lnk", "url", "a.url.bak", ".hiddendir/e.url", "Folder.lnk/f.url"})
    EXPECT_TRUE(Exists(root + "/" + kept)) << kept;
  for (const char* dir : {"Sub", "Sub/Deep", "Empty", ".hiddendir", "Folder.lnk"})
    EXPECT_TRUE(fs::is_directory(root + "/" + dir)) << dir;
  // Running again finds nothing more to do.
  EXPECT_TRUE(DeleteUrls(fs, root));
}

TEST(DeleteUrls, ReadOnlyShortcutStaysAndTheRestGoes) {
  TempDir t;
  WriteBytes(t / "a.url", Shortcut("http://a/"));
  WriteBytes(t / "Sub/locked.url", Shortcut("http://l/"));
  WriteBytes(t / "Sub/z.url", Shortcut("http://z/"));
  WriteBytes(t / "Later/y.url", Shortcut("http://y/"));
  MakeReadOnly(t / "Sub/locked.url");

  PosixFileSystem fs;
  EXPECT_FALSE(DeleteUrls(fs, t.Path()));
  EXPECT_TRUE(Exists(t / "Sub/locked.url"));
  EXPECT_EQ(test::ReadBytes(t / "Sub/locked.url"), Shortcut("http://l/"));
  EXPECT_FALSE(Exists(t / "a.url"));
  EXPECT_FALSE(Exists(t / "Sub/z.url"));
  EXPECT_FALSE(Exists(t / "Later/y.url"));
}

TEST(DeleteUrls, FolderNamedLikeAShortcutStaysButIsPurged) {
  TempDir t;
  WriteBytes(t / "odd.url/inner.url", Shortcut("http://i/"));
  PosixFileSystem fs;
  EXPECT_FALSE(DeleteUrls(fs, t.Path()));
  EXPECT_TRUE(fs::is_directory(t / "odd.url"));
  EXPECT_FALSE(Exists(t / "odd.url/inner.url"));
}

TEST(DeleteUrls, NeverLeavesTheTreeThroughLinks) {
  TempDir t;
  const std::string root = t / "Favs";
  const std::string outside = t / "Elsewhere";
  WriteBytes(outside + "/o.url", Shortcut("http://o/"));
  WriteBytes(outside + "/target.url", Shortcut("http://t/"));
  WriteBytes(root + "/Sub/s.url", Shortcut("http://s/"));
  fs::create_directory_symlink(outside, root + "/Linked");
  fs::create_directory_symlink(outside, root + "/Linked.url");
  fs::create_directory_symlink(root, root + "/Sub/Up");  // a loop back to the top
  fs::create_symlink(outside + "/target.url", root + "/Sub/alias.url");
  fs::create_symlink(outside + "/nowhere", root + "/dangling.url");
  MakeReadOnly(outside + "/target.url");

  PosixFileSystem fs;
  // The link to a folder named like a shortcut is a folder of that name: it stays.
  EXPECT_FALSE(DeleteUrls(fs, root));
  EXPECT_TRUE(Exists(outside + "/o.url"));
  EXPECT_EQ(test::ReadBytes(outside + "/target.url"), Shortcut("http://t/"));
  EXPECT_TRUE(fs::is_symlink(root + "/Linked"));
  EXPECT_TRUE(fs::is_symlink(root + "/Linked.url"));
  EXPECT_TRUE(fs::is_symlink(root + "/Sub/Up"));
  // A shortcut entry that is itself a link goes, whatever it points to; the
  // target stays, read-only or not.
  EXPECT_FALSE(Exists(root + "/Sub/alias.url"));
  EXPECT_FALSE(Exists(root + "/dangling.url"));
  EXPECT_FALSE(Exists(root + "/Sub/s.url"));
}

TEST(DeleteUrls, MissingOrUnnamedFolderHasNothingToDelete) {
  TempDir t;
  PosixFileSystem fs;
  EXPECT_TRUE(DeleteUrls(fs, t / "missing"));
  WriteBytes(t / "file.url", Shortcut("http://f/"));
  EXPECT_TRUE(DeleteUrls(fs, t / "file.url"));  // a file, not a folder
  EXPECT_TRUE(Exists(t / "file.url"));

  // An empty name is not the working folder.
  const fs::path before = fs::current_path();
  fs::current_path(t.Path());
  const bool ok = DeleteUrls(fs, "");
  fs::current_path(before);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(Exists(t / "file.url"));
}

TEST(DeleteUrls, UnreadableSubfolderIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  TempDir t;
  WriteBytes(t / "Closed/c.url", Shortcut("http://c/"));
  WriteBytes(t / "a.url", Shortcut("http://a/"));
  ASSERT_EQ(::chmod((t / "Closed").c_str(), 0), 0);
  PosixFileSystem fs;
  EXPECT_FALSE(DeleteUrls(fs, t.Path()));
  EXPECT_FALSE(Exists(t / "a.url"));
  ::chmod((t / "Closed").c_str(), 0755);
  EXPECT_TRUE(Exists(t / "Closed/c.url"));
}

TEST(PurgeUrls, AsksFirstAndDoesNothingUnlessYes) {
  for (Answer answer : {Answer::No, Answer::Dismissed}) {
    TempDir t;
    WriteBytes(t / "a.url", Shortcut("http://a/"));
    TestContext c;
    c.Ctx.Config.FavoritesDir = "/before";
    c.UI.Answers = {answer};
    PurgeUrls(c.Ctx, t.Path());
    EXPECT_EQ(c.UI.Questions, std::vector<std::string>{"Are you sure you want to delete all Urls in " + t.Path() + "?"});
    EXPECT_TRUE(Exists(t / "a.url"));
    EXPECT_EQ(c.Ctx.Config.FavoritesDir, "/before");
    EXPECT_EQ(c.UI.BusyCount, 0);
    EXPECT_TRUE(c.UI.Messages.empty());
  }
}

TEST(PurgeUrls, TrailingDelimiterIsDroppedOnce) {
  TempDir t;
  WriteBytes(t / "Favs/a.url", Shortcut("http://a/"));
  WriteBytes(t / "Favs/Sub/b.url", Shortcut("http://b/"));
  TestContext c;
  c.Ctx.HtmlLines = {"<DL><p>"};
  c.UI.Answers = {Answer::Yes};
  PurgeUrls(c.Ctx, t / "Favs/");
  EXPECT_EQ(c.UI.Questions.at(0), "Are you sure you want to delete all Urls in " + t.Path() + "/Favs/?");
  EXPECT_EQ(c.Ctx.Config.FavoritesDir, t / "Favs");
  EXPECT_FALSE(Exists(t / "Favs/a.url"));
  EXPECT_FALSE(Exists(t / "Favs/Sub/b.url"));
  EXPECT_TRUE(c.UI.Messages.empty());
  EXPECT_EQ(c.UI.BusyCount, 1);
  EXPECT_EQ(c.UI.BusyDepth, 0);
  EXPECT_EQ(c.Ctx.HtmlLines, TextLines{"<DL><p>"});
}

TEST(PurgeUrls, ReadOnlyShortcutInASubfolderGivesTheMessage) {
  TempDir t;
  WriteBytes(t / "a.url", Shortcut("http://a/"));
  WriteBytes(t / "Sub/ro.url", Shortcut("http://r/"));
  MakeReadOnly(t / "Sub/ro.url");
  TestContext c;
  c.UI.Answers = {Answer::Yes};
  PurgeUrls(c.Ctx, t.Path());
  EXPECT_EQ(c.UI.Messages, std::vector<std::string>{kNotAll});
  EXPECT_TRUE(Exists(t / "Sub/ro.url"));
  EXPECT_FALSE(Exists(t / "a.url"));
  EXPECT_EQ(c.UI.BusyDepth, 0);
}

TEST(PurgeUrls, HiddenFolderAndMissingFolderGiveNoMessage) {
  TempDir t;
  WriteBytes(t / ".hidden/h.url", Shortcut("http://h/"));
  TestContext c;
  c.UI.Answers = {Answer::Yes, Answer::Yes};
  PurgeUrls(c.Ctx, t.Path());
  EXPECT_TRUE(Exists(t / ".hidden/h.url"));
  PurgeUrls(c.Ctx, t / "missing/");
  EXPECT_EQ(c.Ctx.Config.FavoritesDir, t / "missing");
  EXPECT_FALSE(Exists(t / "missing"));
  EXPECT_TRUE(c.UI.Messages.empty());
  EXPECT_TRUE(c.UI.Errors.empty());
}

}  // namespace
}  // namespace quillet
