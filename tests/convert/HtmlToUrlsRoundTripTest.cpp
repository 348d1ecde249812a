// Generated outlines, written in either layout, come back as the folders and
// shortcut files they hold.
#include <gtest/gtest.h>

#include <random>

#include "bookmarks/TreeWriter.h"
#include "convert/HtmlToUrls.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace quillet {
namespace {

const char* const kWords[] = {"News", "Mail", "Work", "x", "Caf\xc3\xa9"};

OutlineNode RandomFolder(std::mt19937& rng, int depth) {
  OutlineNode folder;
  folder.Title = kWords[rng() % std::size(kWords)];
  for (int n = static_cast<int>(rng() % 6); n > 0; --n) {
    const unsigned what = rng() % 8;
    if (what < 2 && depth < 4) {
      folder.Children.push_back(RandomFolder(rng, depth + 1));
      continue;
    }
    OutlineNode item;
    item.Kind = what == 2 ? NodeKind::Separator : NodeKind::Link;
    item.Title = kWords[rng() % std::size(kWords)];
    item.Address = "https://e/" + std::to_string(rng() % 100) + "?a=1&b=\"2\"";
    if (rng() % 4 == 0) item.Description = "about it";
    if (rng() % 3 == 0) item.Attributes.emplace_back("ADD_DATE", "1700000000");
    folder.Children.push_back(item);
  }
  return folder;
}

// What the outline should give: a folder per title path (sibling folders of
// one title share it), a file per link, names given twice in a folder
// numbered in document order.
void Expect(const OutlineNode& folder, const std::string& path, std::map<std::string, std::string>& files,
            std::map<std::string, int>& used) {
  for (const OutlineNode& c : folder.Children) {
    if (c.Kind == NodeKind::Folder) {
      files[path + c.Title] = "<dir>";
      Expect(c, path + c.Title + "/", files, used);
    } else if (c.Kind == NodeKind::Link) {
      const int n = ++used[path + c.Title];
      files[path + c.Title + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".url"] = test::Shortcut(c.Address);
    }
  }
}

TEST(HtmlToUrlsRoundTrip, GeneratedOutlinesInEitherLayout) {
  std::mt19937 rng(31);
  for (int i = 0; i < 150; ++i) {
    const OutlineNode outline = RandomFolder(rng, 0);
    WriteOptions options;
    options.Layout = rng() % 2 ? WriteLayout::Browser : WriteLayout::Quillet;
    options.Indent = rng() % 2;
    options.DoubleSpace = rng() % 3 == 0;
    options.Header = rng() % 2;
    test::TempDir dir;
    test::TestContext t(dir / "");
    t.Ctx.HtmlLines = WriteOutline(outline, options);
    t.Ctx.UrlTargetDir = dir / "target";
    test::MakeDirs(t.Ctx.UrlTargetDir);
    ASSERT_EQ(HtmlToUrls(t.Ctx, true), HtmlToUrlsResult::Written) << i;
    std::map<std::string, std::string> want;
    std::map<std::string, int> used;
    Expect(outline, "", want, used);
    ASSERT_EQ(test::Tree(t.Ctx.UrlTargetDir), want) << i;
  }
}

}  // namespace
}  // namespace quillet
