#include "bookmarks/TreeWriter.h"

#include <gtest/gtest.h>

#include "bookmarks/TreeEdit.h"
#include "bookmarks/TreeInvariants.h"
#include "tests/bookmarks/TreeTestSupport.h"

namespace quillet {
namespace {

void DropAttributes(OutlineNode& n) {
  n.Attributes.clear();
  for (OutlineNode& c : n.Children) DropAttributes(c);
}

// Every export, printed anew in either layout with every option, reads back
// as the same folders, links, separators, values and descriptions, and
// prints the same again.
TEST(TreeWriter, EveryExportPrintedInEitherLayoutReadsBackAsItself) {
  const char* files[] = {"firefox.html", "chromium.html", "safari.html",   "edge.html",          "pinboard.html",
                         "pocket.html",  "raindrop.html", "buku.html",     "quillet-layout.htm", "browser-layout.htm"};
  WriteOptions plain;
  plain.Layout = WriteLayout::Browser;
  for (const char* file : files) {
    const BookmarkTree tree = ReadBookmarkTree(SplitDocumentText(test::ReadBytes(test::ExportPath(file))));
    const OutlineNode outline = OutlineOf(tree);
    for (int variant = 0; variant < 8; ++variant) {
      SCOPED_TRACE(std::string(file) + " variant " + std::to_string(variant));
      WriteOptions o;
      o.Layout = variant & 1 ? WriteLayout::Browser : WriteLayout::Quillet;
      o.Indent = variant & 2;
      o.DoubleSpace = variant & 4;
      const TextLines lines = WriteOutline(outline, o);
      const BookmarkTree again = ReadBookmarkTree(lines);
      EXPECT_TRUE(again.Diagnostics().empty());
      EXPECT_EQ(test::Shape(again), test::Shape(tree));
      if (again.DocumentDialect() != Dialect::None) {
        EXPECT_EQ(again.DocumentDialect(), o.Layout == WriteLayout::Browser ? Dialect::Browser : Dialect::Quillet);
      }
      OutlineNode expected = outline;
      if (o.Layout == WriteLayout::Quillet) DropAttributes(expected);
      EXPECT_EQ(WriteOutline(OutlineOf(again), plain), WriteOutline(expected, plain));
      EXPECT_EQ(WriteOutline(OutlineOf(again), o), lines);
    }
  }
}

TEST(TreeWriter, LayoutsPutHeadingsListsAndDescriptionsInPlace) {
  OutlineNode root;
  OutlineNode link{NodeKind::Link, "Q&A", "https://q/?a=1&b=2", {{"ADD_DATE", "7"}}, "line one\nline <two>", {}};
  OutlineNode folder{NodeKind::Folder, "F", "", {{"ADD_DATE", "8"}}, "", {link, OutlineNode{NodeKind::Separator, "", "", {}, "", {}}}};
  root.Children = {folder};
  WriteOptions browser;
  browser.Layout = WriteLayout::Browser;
  browser.Indent = true;
  browser.Header = false;
  EXPECT_EQ(WriteOutline(root, browser),
            (TextLines{"<DL><p>", "    <DT><H3 ADD_DATE=\"8\">F</H3>", "    <DL><p>",
                       "        <DT><A HREF=\"https://q/?a=1&amp;b=2\" ADD_DATE=\"7\">Q&amp;A</A>",
                       "        <DD>line one", "line &lt;two&gt;", "        <HR>", "    </DL><p>", "</DL><p>"}));
  WriteOptions quillet;
  quillet.DoubleSpace = true;
  quillet.RootHeading = true;
  root.Title = "Top";
  EXPECT_EQ(WriteOutline(root, quillet),
            (TextLines{"<DL><p>", "", "<DT><H3>Top</H3>", "", "<DL><p>", "", "<DT><H3>F</H3>", "",
                       "<DT><A HREF=\"https://q/?a=1&b=2\">Q&A</A>", "", "<DD>line one", "line &lt;two&gt;", "",
                       "<HR>", "", "</DL><p>", "", "</DL><p>", ""}));
}

// Folders nested a hundred thousand deep are read, printed, edited and freed
// with stacks of their own, never the call stack.
TEST(TreeWriter, AnyDepthIsReadPrintedEditedAndFreed) {
  constexpr size_t kDepth = 100000;
  TextLines lines;
  for (size_t i = 0; i < kDepth; ++i) {
    lines.push_back("<DT><H3>f</H3>");
    lines.push_back("<DL><p>");
  }
  lines.push_back("<DT><A HREF=\"x\">deep</A>");
  lines.insert(lines.end(), kDepth, "</DL><p>");
  BookmarkTree tree = ReadBookmarkTree(lines);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  const NodeId deep = test::Named(tree, "deep");
  EXPECT_EQ(tree.Depth(deep), kDepth + 1);
  EXPECT_EQ(WriteOutline(OutlineOf(tree), WriteOptions{}).size(), 3 * kDepth + 3);
  MoveNodes(tree, {deep}, {kRootNode, kNoNode});
  DeleteNodes(tree, {tree.Children(kRootNode)[0]});
  EXPECT_EQ(tree.Lines(), (TextLines{"<DT><A HREF=\"x\">deep</A>"}));
}

}  // namespace
}  // namespace quillet
