// The tree's writer prints what the folder walk prints, byte for byte, when
// given the same folders and shortcuts: the walk can hand its output over.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "bookmarks/TreeWriter.h"
#include "convert/ShortcutListing.h"
#include "convert/UrlsToHtml.h"
#include "platform/Path.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

void SetTime(const std::string& path, time_t t) {
  const timeval times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
}

// The folder as an outline, as the walk sees it: shortcuts first, then the
// visible subfolders, each dated by its modification time.
OutlineNode OutlineOfFolder(Context& ctx, const std::string& path, const std::string& title) {
  OutlineNode folder;
  folder.Title = title;
  auto dated = [&](OutlineNode& n, const std::string& p) {
    if (const auto t = ctx.Fs().ModificationTime(p); t && *t >= 0) n.Attributes.emplace_back("ADD_DATE", std::to_string(*t));
  };
  dated(folder, path);
  std::vector<DirEntry> entries;
  ctx.Fs().ListDir(path, entries);
  for (const DirEntry& e : entries) {
    if (!IsShortcutFileName(e.Name)) continue;
    OutlineNode link;
    link.Kind = NodeKind::Link;
    link.Title = e.Name.substr(0, e.Name.size() - 4);
    link.Address = ReadShortcutUrl(ctx.Fs(), path + PathDelim + e.Name);
    dated(link, path + PathDelim + e.Name);
    folder.Children.push_back(link);
  }
  for (const DirEntry& e : entries)
    if (IsVisibleSubfolder(e)) folder.Children.push_back(OutlineOfFolder(ctx, path + PathDelim + e.Name, e.Name));
  return folder;
}

TEST(TreeWriterEquivalence, WritesWhatTheFolderWalkWrites) {
  test::TempDir dir;
  const std::string top = dir / "Fav";
  test::WriteBytes(top + "/Q&A.url", test::Shortcut("https://q/?a=1&b=\"2\""));
  test::WriteBytes(top + "/plain.url", test::Shortcut("http://plain/"));
  test::WriteBytes(top + "/R&D <lab>/c.url", test::Shortcut("http://c/"));
  test::WriteBytes(top + "/R&D <lab>/Deeper/d.url", test::Shortcut("http://d/"));
  test::WriteBytes(top + "/Empty/.keep", "");
  test::WriteBytes(top + "/.hidden/e.url", test::Shortcut("http://e/"));
  for (const char* p : {"/Q&A.url", "/plain.url", "/R&D <lab>/c.url", "/R&D <lab>/Deeper/d.url", "/R&D <lab>/Deeper",
                        "/R&D <lab>", "/Empty", ""})
    SetTime(top + p, 1700000000);
  for (int variant = 0; variant < 32; ++variant) {
    SCOPED_TRACE(variant);
    // The last variants add a name that is not UTF-8: the header then names
    // windows-1252.
    if (variant == 16) test::WriteBytes(top + "/caf\xe9.url", test::Shortcut("http://cafe/"));
    test::TestContext t;
    t.Ctx.Config.BrowserLayout = variant & 1;
    t.Ctx.Config.IndentHtml = variant & 2;
    t.Ctx.Config.DoubleSpaceLines = variant & 4;
    const bool insertion = variant & 8;
    ASSERT_TRUE(UrlsToHtml(t.Ctx, top, insertion ? UrlsToHtmlFor::Insertion : UrlsToHtmlFor::File));
    OutlineNode outline = OutlineOfFolder(t.Ctx, top, FolderTitle(top));
    if (!t.Ctx.Config.BrowserLayout) outline.Attributes.clear();
    WriteOptions options;
    options.Layout = t.Ctx.Config.BrowserLayout ? WriteLayout::Browser : WriteLayout::Quillet;
    options.Indent = t.Ctx.Config.IndentHtml;
    options.DoubleSpace = t.Ctx.Config.DoubleSpaceLines;
    options.RootHeading = insertion;
    EXPECT_EQ(WriteOutline(outline, options), t.Ctx.HtmlLines);
  }
}

}  // namespace
}  // namespace quillet
