#include "cleanup/TreeSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "bookmarks/TreeWriter.h"
#include "platform/IcuCollation.h"
#include "tests/support/RandomOutline.h"
#include "tests/support/TreeShape.h"

namespace quillet {
namespace {

// A browser's export: toolbar, separators, descriptions, numbers in
// titles, links without a date or a host.
const TextLines kExport = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks Menu</H1>",
    "",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"30\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://www.zeta.org/\" ADD_DATE=\"5\">zeta</A>",
    "        <DT><A HREF=\"https://yak.org/\" ADD_DATE=\"4\">Alpha</A>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://www.news.org/10\">Chapter 10</A>",
    "    <DD>ten, a description",
    "    <DT><A HREF=\"http://b.org/\" ADD_DATE=\"20\">Chapter 2</A>",
    "",
    "    <DT><H3 ADD_DATE=\"10\">Work</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://c.org/\" ADD_DATE=\"3\">c</A>",
    "        <DT><A HREF=\"https://a.org/\" ADD_DATE=\"3\">b</A>",
    "        <HR>",
    "        <DT><A HREF=\"javascript:go()\" ADD_DATE=\"1\">a</A>",
    "        <DT><H3 ADD_DATE=\"2\">Sub</H3>",
    "        <DL><p>",
    "            <DT><A HREF=\"https://y.org/\">y</A>",
    "            <DT><A HREF=\"https://x.org/\">x</A>",
    "        </DL><p>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://a.org/z\" ADD_DATE=\"15\">apple</A>",
    "</DL>",
};

TEST(TreeSort, GoldenTreesForEachOption) {
  struct Case {
    const char* Name;
    std::function<void(TreeSortOptions&, const BookmarkTree&)> Set;
    const char* Shape;
  };
  auto folder = [](const BookmarkTree& t, const char* path) { return FindFolders(t, path); };
  const Case cases[] = {
      {"defaults", [](auto&, auto&) {},
       "F:Toolbar{L:Alpha L:zeta} F:Work{L:b L:c S F:Sub{L:x L:y} L:a} L:apple L:Chapter 2 L:Chapter 10"},
      {"no natural", [](auto& o, auto&) { o.Text.Natural = false; },
       "F:Toolbar{L:Alpha L:zeta} F:Work{L:b L:c S F:Sub{L:x L:y} L:a} L:apple L:Chapter 10 L:Chapter 2"},
      {"folders last", [](auto& o, auto&) { o.Folders = FolderPlacement::Last; },
       "L:apple L:Chapter 2 L:Chapter 10 F:Toolbar{L:Alpha L:zeta} F:Work{L:b L:c S L:a F:Sub{L:x L:y}}"},
      {"folders mixed", [](auto& o, auto&) { o.Folders = FolderPlacement::Mixed; },
       "L:apple L:Chapter 2 L:Chapter 10 F:Toolbar{L:Alpha L:zeta} F:Work{L:b L:c S L:a F:Sub{L:x L:y}}"},
      {"url", [](auto& o, auto&) { o.By = SortKeyKind::Url; },
       "F:Toolbar{L:zeta L:Alpha} F:Work{L:b L:c S F:Sub{L:x L:y} L:a} L:Chapter 2 L:apple L:Chapter 10"},
      {"site, mixed", [](auto& o, auto&) { o.By = SortKeyKind::Site, o.Folders = FolderPlacement::Mixed; },
       "L:apple L:Chapter 2 L:Chapter 10 F:Toolbar{L:Alpha L:zeta} F:Work{L:b L:c S F:Sub{L:x L:y} L:a}"},
      {"added", [](auto& o, auto&) { o.By = SortKeyKind::Added; },
       "F:Work{L:c L:b S F:Sub{L:y L:x} L:a} F:Toolbar{L:Alpha L:zeta} L:apple L:Chapter 2 L:Chapter 10"},
      {"added then name", [](auto& o, auto&) { o.By = SortKeyKind::Added, o.Then = SortKeyKind::Name; },
       "F:Work{L:b L:c S F:Sub{L:x L:y} L:a} F:Toolbar{L:Alpha L:zeta} L:apple L:Chapter 2 L:Chapter 10"},
      {"added reversed", [](auto& o, auto&) { o.By = SortKeyKind::Added, o.Reverse = true; },
       "F:Toolbar{L:zeta L:Alpha} F:Work{L:c L:b S F:Sub{L:y L:x} L:a} L:Chapter 2 L:apple L:Chapter 10"},
      {"name reversed", [](auto& o, auto&) { o.Reverse = true; },
       "F:Work{L:c L:b S F:Sub{L:y L:x} L:a} F:Toolbar{L:zeta L:Alpha} L:Chapter 10 L:Chapter 2 L:apple"},
      {"toolbar kept", [](auto& o, auto&) { o.KeepToolbarOrder = true; },
       "F:Toolbar{L:zeta L:Alpha} F:Work{L:b L:c S F:Sub{L:x L:y} L:a} L:apple L:Chapter 2 L:Chapter 10"},
      {"Work kept", [&](auto& o, auto& t) { o.KeepOrder = folder(t, "Work"); },
       "F:Toolbar{L:Alpha L:zeta} F:Work{L:c L:b S L:a F:Sub{L:x L:y}} L:apple L:Chapter 2 L:Chapter 10"},
      {"Work alone", [&](auto& o, auto& t) { o.Within = folder(t, "Work"), o.Recursive = false; },
       "F:Toolbar{L:zeta L:Alpha} L:Chapter 10 L:Chapter 2 F:Work{L:b L:c S F:Sub{L:y L:x} L:a} L:apple"},
      {"Work and below", [&](auto& o, auto& t) { o.Within = folder(t, "Work"); },
       "F:Toolbar{L:zeta L:Alpha} L:Chapter 10 L:Chapter 2 F:Work{L:b L:c S F:Sub{L:x L:y} L:a} L:apple"},
  };
  IcuCollation collation("");
  for (const Case& c : cases) {
    BookmarkTree tree = ReadBookmarkTree(kExport);
    TreeSortOptions options;
    c.Set(options, tree);
    const TextPatch patch = SortTree(tree, options, collation).Patch;
    EXPECT_EQ(test::Shape(tree), c.Shape) << c.Name;
    // The patch turns the old text into the new; a sort without one gives
    // the same text.
    TextLines patched = kExport;
    ApplyPatch(patched, patch);
    EXPECT_EQ(patched, tree.Lines()) << c.Name;
    BookmarkTree unpatched = ReadBookmarkTree(kExport);
    EXPECT_TRUE(SortTree(unpatched, options, collation, PatchWanted::No).Patch.Empty());
    EXPECT_EQ(unpatched.Lines(), tree.Lines()) << c.Name;
    // Only places change: the same lines, each with its bytes; a description
    // goes with its link.
    TextLines before = kExport, after = tree.Lines();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before) << c.Name;
    const auto& lines = tree.Lines();
    const auto ten = std::find(lines.begin(), lines.end(), "    <DT><A HREF=\"https://www.news.org/10\">Chapter 10</A>");
    ASSERT_NE(ten, lines.end());
    EXPECT_EQ(ten[1], "    <DD>ten, a description") << c.Name;
  }
}

// Random documents with many equal titles, sorted with random options.
TEST(TreeSort, PropertiesOverRandomDocuments) {
  std::mt19937 rng(36);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  IcuCollation collation("");
  const char* titles[] = {"b", "a", "c 2", "c 10", "d"};
  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE(round);
    OutlineNode root;
    for (int i = 0; i < 40; ++i) {
      OutlineNode n;
      n.Kind = pick(5) == 0 ? NodeKind::Folder : pick(6) == 0 ? NodeKind::Separator : NodeKind::Link;
      n.Title = titles[pick(std::size(titles))];
      n.Address = "https://" + std::string(pick(2) ? "www." : "") + titles[pick(std::size(titles))] + ".org/";
      if (pick(2)) n.Attributes.emplace_back("ADD_DATE", std::to_string(1700000000 + pick(3)));
      if (n.Kind == NodeKind::Link && pick(4) == 0) n.Description = "d" + std::to_string(i);
      test::AddToRandomFolder(root, std::move(n), rng);
    }
    BookmarkTree tree = ReadBookmarkTree(WriteOutline(root, test::RandomWriteOptions(rng)));
    TreeSortOptions options;
    options.By = static_cast<SortKeyKind>(pick(4));
    if (pick(2)) options.Then = static_cast<SortKeyKind>(pick(4));
    options.Reverse = pick(2);
    options.Folders = static_cast<FolderPlacement>(pick(3));
    options.Text.Natural = pick(2);

    std::map<NodeId, std::vector<NodeId>> before;
    tree.ForEachNode([&](NodeId id) {
      if (tree.Kind(id) == NodeKind::Folder) before[id] = tree.Children(id);
    });
    const TextLines text = tree.Lines();
    SortTree(tree, options, collation);
    for (const auto& [folder, children] : before) {
      const std::vector<NodeId>& now = tree.Children(folder);
      // The same items, and every separator (and every other node that is
      // no link or folder) in its place.
      EXPECT_TRUE(std::is_permutation(now.begin(), now.end(), children.begin(), children.end()));
      for (size_t i = 0; i < now.size() && i < children.size(); ++i) {
        const NodeKind k = tree.Kind(children[i]);
        if (k != NodeKind::Link && k != NodeKind::Folder) {
          EXPECT_EQ(now[i], children[i]);
        }
      }
      // Items of one kind equal in every key keep their order.
      for (size_t i = 0; i < now.size(); ++i)
        for (size_t j = i + 1; j < now.size(); ++j) {
          const NodeId a = now[i], b = now[j];
          if (tree.Kind(a) != tree.Kind(b) || tree.Title(a) != tree.Title(b) || tree.Address(a) != tree.Address(b) ||
              tree.AddDate(a) != tree.AddDate(b))
            continue;
          EXPECT_LT(std::find(children.begin(), children.end(), a), std::find(children.begin(), children.end(), b));
        }
    }
    // Nothing changes but the order of lines; a second sort changes nothing.
    TextLines x = text, y = tree.Lines();
    std::sort(x.begin(), x.end());
    std::sort(y.begin(), y.end());
    EXPECT_EQ(x, y);
    EXPECT_TRUE(PlanTreeSort(tree, options, collation).Orders.empty());
    EXPECT_TRUE(PlanTreeSort(ReadBookmarkTree(tree.Lines()), options, collation).Orders.empty());
  }
}

}  // namespace
}  // namespace quillet
