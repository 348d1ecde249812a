// The document as browsers import it: each heading of the program's own
// layout moved before its list, everything else as it was.
#include <gtest/gtest.h>

#include <random>

#include "app/BrowserImport.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/TreeWriter.h"
#include "bookmarks/TreeReader.h"

namespace quillet {
namespace {

TextLines WithHeader(TextLines body) {
  TextLines out = BrowserHeaderLines(true);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TEST(ForBrowserImport, MovesOwnLayoutHeadingsAndLeavesTheBrowsersLayout) {
  struct Row {
    const char* name;
    TextLines in, out;
  };
  const TextLines browser = {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "    <DT><H3 ADD_DATE=\"1\">A</H3>",
                             "    <DL><p>",  // A's first entry is a folder: its heading follows A's list
                             "        <DT><H3>B</H3>", "        <DL><p>", "            <DT><A HREF=\"http://b/\">b</A>",
                             "        </DL><p>", "    </DL><p>", "</DL><p>"};
  const Row rows[] = {
      {"own layout, indented and double spaced",
       {"<DL><p>", "", "  <DL><p>", "", "    <DT><H3>News &amp; more</H3>", "", "    <DT><A HREF=\"http://n/\">N</A>", "",
        "  </DL><p>", "", "</DL><p>"},
       WithHeader({"<DL><p>", "", "  <DT><H3>News &amp; more</H3>", "  <DL><p>", "", "",
                   "    <DT><A HREF=\"http://n/\">N</A>", "", "  </DL><p>", "", "</DL><p>"})},
      {"own layout, a folder whose first entry is a folder",
       {"<DL><p>", "<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DT><A HREF=\"http://b/\">b</A>",
        "</DL><p>", "</DL><p>", "</DL><p>"},
       WithHeader({"<DL><p>", "<DT><H3>A</H3>", "<DL><p>", "<DT><H3>B</H3>", "<DL><p>",
                   "<DT><A HREF=\"http://b/\">b</A>", "</DL><p>", "</DL><p>", "</DL><p>"})},
      {"browsers' layout, unchanged", browser, browser},
      {"a browser file with a block of the own layout appended",
       {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>Kept</H3>", "<DL><p>", "<DT><H3>Inner</H3>",
        "<DL><p>", "</DL><p>", "</DL><p>", "<DL><p>", "<DT><H3>Favorites</H3>", "<DT><A HREF=\"http://f/\">f</A>",
        "</DL><p>", "</DL><p>"},
       {"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>Kept</H3>", "<DL><p>", "<DT><H3>Inner</H3>",
        "<DL><p>", "</DL><p>", "</DL><p>", "<DT><H3>Favorites</H3>", "<DL><p>", "<DT><A HREF=\"http://f/\">f</A>",
        "</DL><p>", "</DL><p>"}},
      {"not UTF-8: the header says windows-1252", {"<DL><p>", "<DT><A HREF=\"http://c/\">Caf\xE9</A>", "</DL><p>"},
       [] {
         TextLines t = BrowserHeaderLines(false);
         t.insert(t.end(), {"<DL><p>", "<DT><A HREF=\"http://c/\">Caf\xE9</A>", "</DL><p>"});
         return t;
       }()},
  };
  for (const Row& r : rows) EXPECT_EQ(ForBrowserImport(r.in), r.out) << r.name;
}

// Random outlines in the program's own layout, with folders first in their
// folders, empty ones, deep ones, and descriptions of one line or two on
// links and folders: the browsers read back the same tree, every folder with
// its heading before its list, and a second pass changes nothing.
TEST(ForBrowserImport, RandomOwnLayoutDocumentsReadBackAsTheSameTreeInTheBrowsersLayout) {
  std::mt19937 rng(7);
  const auto pick = [&](unsigned n) { return rng() % n; };
  int count = 0;
  const std::function<void(OutlineNode&, int)> fill = [&](OutlineNode& folder, int depth) {
    for (unsigned i = 0, n = pick(4); i < n; ++i) {
      OutlineNode node;
      node.Kind = depth < 4 && pick(2) ? NodeKind::Folder : NodeKind::Link;
      node.Title = (node.Kind == NodeKind::Folder ? "F" : "L") + std::to_string(++count);
      node.Address = "http://x/" + node.Title;
      if (pick(4) == 0) node.Description = "about " + node.Title + (pick(2) ? "\nand more" : "");
      if (node.Kind == NodeKind::Folder) fill(node, depth + 1);
      folder.Children.push_back(std::move(node));
    }
  };
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    OutlineNode root;
    fill(root, 0);
    WriteOptions own;
    own.Indent = pick(2);
    own.DoubleSpace = pick(2);
    const TextLines in = WriteOutline(root, own);
    const TextLines out = ForBrowserImport(in);
    const BookmarkTree read = ReadBookmarkTree(out);
    // The same folders, links and descriptions, written alike.
    EXPECT_EQ(WriteOutline(OutlineOf(read), own), in);
    read.ForEachNode([&](NodeId id) {
      if (id != kRootNode && read.Kind(id) == NodeKind::Folder) {
        EXPECT_EQ(read.Layout(id), FolderLayout::Browser);
      }
    });
    EXPECT_EQ(ForBrowserImport(out), out);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace quillet
