// The organizer's edits beyond one TreeEdit call, on the tree and its text.
#include "app/OrganizeEdits.h"

#include <gtest/gtest.h>

#include "bookmarks/TreeReader.h"
#include "tests/support/TreeShape.h"

namespace quillet {
namespace {

using test::Shape;

const TextLines kDoc = {
    "<DL><p>",
    "    <DT><H3>Work</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://d.example/\" ADD_DATE=\"5\">D</A>",
    "        <DT><H3>Deep</H3>",
    "        <DL><p>",
    "            <DT><A HREF=\"https://f.example/\">F</A>",
    "        </DL><p>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://a.example/\">A</A>",
    "    <HR>",
    "    <DT><A HREF=\"https://b.example/\">B</A>",
    "    <DT><A HREF=\"https://c.example/\">C</A>",
    "</DL><p>",
};

NodeId Named(const BookmarkTree& tree, const std::string& title) {
  NodeId found = kNoNode;
  tree.ForEachNode([&](NodeId id) {
    if (found == kNoNode && id != kRootNode && tree.Kind(id) != NodeKind::Opaque && tree.Title(id) == title) found = id;
  });
  return found;
}

TEST(OrganizeEdits, StepMovesTheSelectionWithinItsFolderAndStopsAtTheEnds) {
  struct Case {
    std::vector<std::string> chosen;
    int step;
    std::string shape;
  };
  const Case cases[] = {
      {{"B"}, -1, "F:Work{L:D F:Deep{L:F}} L:A L:B S L:C"},
      {{"A", "B"}, -1, "L:A F:Work{L:D F:Deep{L:F}} L:B S L:C"},
      {{"Work"}, -1, "F:Work{L:D F:Deep{L:F}} L:A S L:B L:C"},           // already first: stays
      {{"B", "C"}, 1, "F:Work{L:D F:Deep{L:F}} L:A S L:B L:C"},          // a block at the end stays
      {{"A", "C"}, 1, "F:Work{L:D F:Deep{L:F}} S L:A L:B L:C"},          // one moves, one cannot
      {{"D", "C"}, 1, "F:Work{F:Deep{L:F} L:D} L:A S L:B L:C"},          // two folders, one edit
  };
  for (const Case& c : cases) {
    BookmarkTree tree = ReadBookmarkTree(kDoc);
    std::vector<NodeId> ids;
    for (const std::string& t : c.chosen) ids.push_back(Named(tree, t));
    const TextPatch patch = StepWithinFolders(tree, ids, c.step);
    EXPECT_EQ(Shape(tree), c.shape) << c.chosen.front() << " " << c.step;
    // The patch turns the old text into the new, and back.
    TextLines lines = kDoc;
    ApplyPatch(lines, patch);
    EXPECT_EQ(lines, tree.Lines());
    ApplyPatch(lines, InvertPatch(patch));
    EXPECT_EQ(lines, kDoc);
  }
}

TEST(OrganizeEdits, CopiesTakeFoldersWholeAndEachNodeOnce) {
  BookmarkTree tree = ReadBookmarkTree(kDoc);
  std::vector<NodeId> made;
  // D lies in Work, which is copied too: it comes once, with Work.
  const std::vector<TextPatch> patches =
      CopyNodes(tree, {Named(tree, "Work"), Named(tree, "D"), Named(tree, "C")}, {kRootNode, kNoNode}, made);
  EXPECT_EQ(Shape(tree), "F:Work{L:D F:Deep{L:F}} L:A S L:B L:C F:Work{L:D F:Deep{L:F}} L:C");
  EXPECT_EQ(made.size(), 2u);
  EXPECT_EQ(tree.Address(made[1]), "https://c.example/");
  TextLines lines = kDoc;
  for (const TextPatch& p : patches) ApplyPatch(lines, p);
  EXPECT_EQ(lines, tree.Lines());
  EXPECT_EQ(ReadBookmarkTree(lines).Diagnostics().size(), 0u);
}

TEST(OrganizeEdits, TextGivesTheLinesThatAreAddresses) {
  EXPECT_EQ(AddressesInText("  https://a.example/x \r\nplain words here\nwww.b.example\n\nmailto:me@c.example\nnot-one\n"),
            (std::vector<std::string>{"https://a.example/x", "www.b.example", "mailto:me@c.example"}));
  EXPECT_TRUE(AddressesInText("").empty());
  EXPECT_TRUE(AddressesInText("a sentence: with a colon").empty());
  for (const char* a : {"https://x", "ftp://y", "mailto:z@w", "file:///home/a"}) EXPECT_TRUE(HasScheme(a)) << a;
  for (const char* a : {"example.org", "www.example.org/x", "", "/path"}) EXPECT_FALSE(HasScheme(a)) << a;
  EXPECT_TRUE(IsBrokenAddress("ERROR"));
  EXPECT_TRUE(IsBrokenAddress(""));
  EXPECT_FALSE(IsBrokenAddress("error"));
}

}  // namespace
}  // namespace quillet
