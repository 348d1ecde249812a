#include "bookmarks/TreeEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "bookmarks/TreeInvariants.h"
#include "bookmarks/TreeWriter.h"
#include "tests/bookmarks/TreeTestSupport.h"

namespace quillet {
namespace {

using test::Named;
using test::Shape;

const TextLines kBrowserDoc = {
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>",
    "<TITLE>Bookmarks</TITLE>",
    "<H1>Bookmarks</H1>",
    "<DL><p>",
    "    <DT><H3 ADD_DATE=\"1\">Toolbar</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"2\">A</A>",
    "        <DD>About A",
    "        <DT><A HREF=\"https://b.example/\">B</A>",
    "        <HR>",
    "        <DT><A HREF=\"https://c.example/\">C</A>",
    "    </DL><p>",
    "    <DT><H3>Work</H3>",
    "    <DL><p>",
    "        <DT><A HREF=\"https://d.example/\">D</A>",
    "    </DL><p>",
    "    <DT><A HREF=\"https://e.example/\">E</A>",
    "</DL><p>",
};

const TextLines kQuilletDoc = {
    "<DL><p>",     "", "    <DT><A HREF=\"http://a/\">A</A>", "", "  <DL><p>", "", "    <DT><H3>Sub</H3>", "",
    "      <DT><A HREF=\"http://b/\">B</A>", "", "  </DL><p>", "", "</DL><p>", ""};

const TextLines kPinboardDoc = {"<DL><p><DT><A HREF=\"https://p/\" TAGS=\"x\">P</A>", "<DD>note",
                                "<DT><A HREF=\"https://q/\">Q</A>", "</DL></p>"};

// Checks what every edit promises: the tree keeps its invariants and reads
// back from its own lines as it is; every node the edit did not change keeps
// its own text byte for byte; the patch turns the old lines into the new
// ones and back.
void ExpectSpliced(const TextLines& before, const std::map<NodeId, std::pair<std::string, std::string>>& texts,
                   const BookmarkTree& tree, const TextPatch& patch, const std::set<NodeId>& changed) {
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  const BookmarkTree again = ReadBookmarkTree(tree.Lines());
  EXPECT_EQ(Shape(again, kRootNode, true), Shape(tree, kRootNode, true));
  const auto now = test::OwnTexts(tree);
  for (const auto& [id, text] : texts) {
    if (!changed.count(id) && tree.IsLive(id)) {
      EXPECT_EQ(now.at(id), text) << "node " << id;
    }
  }
  TextLines lines = before;
  ApplyPatch(lines, patch);
  EXPECT_EQ(lines, tree.Lines());
  ApplyPatch(lines, InvertPatch(patch));
  EXPECT_EQ(lines, before);
}

TEST(TreeEdit, EachEditChangesOnlyWhatItEdits) {
  using Edit = std::function<TextPatch(BookmarkTree&)>;
  const struct {
    const char* name;
    const TextLines& doc;
    Edit edit;
    const char* shape;
    // Titles of the nodes whose own text changes; "#n" the root's nth child.
    std::vector<std::string> changed;
  } cases[] = {
      {"rename a link", kBrowserDoc, [](BookmarkTree& t) { return RenameNode(t, Named(t, "A"), "A & <Co>"); },
       "F:Toolbar{L:A & <Co> L:B S L:C} F:Work{L:D} L:E", {"A & <Co>"}},
      {"rename a folder", kBrowserDoc, [](BookmarkTree& t) { return RenameNode(t, Named(t, "Work"), "Play"); },
       "F:Toolbar{L:A L:B S L:C} F:Play{L:D} L:E", {"Play"}},
      {"set an address", kBrowserDoc,
       [](BookmarkTree& t) { return SetLinkAddress(t, Named(t, "B"), "https://b.example/?x=1&y=\"2\""); },
       "F:Toolbar{L:A L:B S L:C} F:Work{L:D} L:E", {"B"}},
      {"delete a link and its description", kBrowserDoc,
       [](BookmarkTree& t) { return DeleteNodes(t, {Named(t, "A")}); }, "F:Toolbar{L:B S L:C} F:Work{L:D} L:E", {}},
      {"delete a folder with its items", kBrowserDoc,
       [](BookmarkTree& t) { return DeleteNodes(t, {Named(t, "D"), Named(t, "Work")}); },
       "F:Toolbar{L:A L:B S L:C} L:E", {}},
      {"move within a folder", kBrowserDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "C")}, {Named(t, "Toolbar"), Named(t, "A")}); },
       "F:Toolbar{L:C L:A L:B S} F:Work{L:D} L:E", {}},
      {"move across folders", kBrowserDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "A")}, {Named(t, "Work")}); },
       "F:Toolbar{L:B S L:C} F:Work{L:D L:A} L:E", {}},
      {"move several, in the order given", kBrowserDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "E"), Named(t, "B")}, {Named(t, "Toolbar"), Named(t, "C")}); },
       "F:Toolbar{L:A S L:E L:B L:C} F:Work{L:D}", {}},
      {"move before a node that moves too", kBrowserDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "A"), Named(t, "B")}, {Named(t, "Toolbar"), Named(t, "A")}); },
       "F:Toolbar{L:A L:B S L:C} F:Work{L:D} L:E", {}},
      {"move a folder into another", kBrowserDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "Work")}, {Named(t, "Toolbar")}); },
       "F:Toolbar{L:A L:B S L:C F:Work{L:D}} L:E", {}},
      {"insert a folder at the end of the top list", kBrowserDoc,
       [](BookmarkTree& t) { return InsertFolder(t, {}, "New", 1700000000).Patch; },
       "F:Toolbar{L:A L:B S L:C} F:Work{L:D} L:E F:New{}", {}},
      {"insert a link", kBrowserDoc,
       [](BookmarkTree& t) { return InsertLink(t, {Named(t, "Work"), Named(t, "D")}, "Fresh", "https://f/").Patch; },
       "F:Toolbar{L:A L:B S L:C} F:Work{L:Fresh L:D} L:E", {}},
      {"insert a separator", kBrowserDoc,
       [](BookmarkTree& t) { return InsertSeparator(t, {Named(t, "Toolbar")}).Patch; },
       "F:Toolbar{L:A L:B S L:C S} F:Work{L:D} L:E", {}},
      {"reorder a folder", kBrowserDoc,
       [](BookmarkTree& t) {
         const std::vector<NodeId> c = t.Children(Named(t, "Toolbar"));
         return ReorderChildren(t, Named(t, "Toolbar"), {c[3], c[2], c[1], c[0]});
       },
       "F:Toolbar{L:C S L:B L:A} F:Work{L:D} L:E", {}},
      {"insert a folder in Quillet's layout, double-spaced", kQuilletDoc,
       [](BookmarkTree& t) { return InsertFolder(t, {Named(t, "Sub")}, "Inner").Patch; }, "L:A F:Sub{L:B F:Inner{}}", {}},
      {"move into a Quillet folder", kQuilletDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "A")}, {Named(t, "Sub"), Named(t, "B")}); },
       "F:Sub{L:A L:B}", {}},
      {"delete a link that shares the list's line", kPinboardDoc,
       [](BookmarkTree& t) { return DeleteNodes(t, {Named(t, "P")}); }, "L:Q", {"#0"}},
      {"move a link off the list's line", kPinboardDoc,
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "P")}, {}); }, "L:Q L:P", {"#0"}},
      {"rename the link on the list's line", kPinboardDoc,
       [](BookmarkTree& t) { return RenameNode(t, Named(t, "P"), "Pinned"); }, "L:Pinned L:Q", {"Pinned"}},
      {"a folder never closed is closed when something follows it", {"<DL><p>", "<DT><H3>F</H3>", "<DL><p>", "<DT><A HREF=\"x\">x</A>"},
       [](BookmarkTree& t) { return InsertLink(t, {kRootNode, kNoNode}, "after", "y").Patch; }, "F:F{L:x} L:after", {"F"}},
      {"a heading without list gets one for its first item",
       {"<DL><p>", "<DT><A HREF=\"x\">x</A>", "<DT><H3>L</H3>", "<DT><A HREF=\"y\">y</A>", "</DL><p>"},
       [](BookmarkTree& t) { return MoveNodes(t, {Named(t, "x")}, {Named(t, "L")}); }, "F:L{L:x} L:y", {"L"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BookmarkTree tree = ReadBookmarkTree(c.doc);
    const auto texts = test::OwnTexts(tree);
    const TextPatch patch = c.edit(tree);
    EXPECT_EQ(Shape(tree), c.shape);
    std::set<NodeId> changed;
    for (const std::string& title : c.changed)
      changed.insert(title[0] == '#' ? tree.Children(kRootNode)[std::stoul(title.substr(1))] : Named(tree, title));
    ExpectSpliced(c.doc, texts, tree, patch, changed);
  }
}

// A move hands back the line that left and the line that arrived, not the
// lines in between that only shifted.
TEST(TreeEdit, APatchHoldsOnlyTheLinesThatChangedPlace) {
  BookmarkTree tree = ReadBookmarkTree(kBrowserDoc);
  const TextPatch patch = MoveNodes(tree, {Named(tree, "C")}, {Named(tree, "Toolbar"), Named(tree, "A")});
  ASSERT_EQ(patch.Hunks.size(), 2u);
  EXPECT_EQ(patch.Hunks[0], (TextHunk{6, {}, 6, {"        <DT><A HREF=\"https://c.example/\">C</A>"}}));
  EXPECT_EQ(patch.Hunks[1], (TextHunk{10, {"        <DT><A HREF=\"https://c.example/\">C</A>"}, 11, {}}));
  EXPECT_EQ(tree.NodeText(Named(tree, "Work")),
            "    <DT><H3>Work</H3>\n    <DL><p>\n        <DT><A HREF=\"https://d.example/\">D</A>\n    </DL><p>\n");
}

TEST(TreeEdit, NewTextFollowsTheDocumentsLayoutAndEscaping) {
  BookmarkTree browser = ReadBookmarkTree(kBrowserDoc);
  InsertFolder(browser, {}, "R&D", 1700000000);
  InsertLink(browser, {Named(browser, "Work")}, "Q&A", "https://q/?a=1&b=2", 1700000001);
  SetLinkAddress(browser, Named(browser, "E"), "https://e/?x=1&y=2");
  const TextLines& b = browser.Lines();
  EXPECT_EQ(std::vector<std::string>(b.begin() + 15, b.end()),
            (std::vector<std::string>{"        <DT><A HREF=\"https://q/?a=1&amp;b=2\" ADD_DATE=\"1700000001\">Q&amp;A</A>",
                                      "    </DL><p>", "    <DT><A HREF=\"https://e/?x=1&amp;y=2\">E</A>",
                                      "    <DT><H3 ADD_DATE=\"1700000000\">R&amp;D</H3>", "    <DL><p>", "    </DL><p>",
                                      "</DL><p>"}));

  BookmarkTree quillet = ReadBookmarkTree(kQuilletDoc);
  const Insertion folder = InsertFolder(quillet, {}, "R&D", 1700000000);
  EXPECT_EQ(folder.Patch.Hunks.size(), 1u);
  EXPECT_EQ(folder.Patch.Hunks[0].NewLines,
            (TextLines{"  <DL><p>", "", "    <DT><H3>R&D</H3>", "", "  </DL><p>", ""}));

  // Characters Windows-1252 has are written as its bytes, others as references.
  BookmarkTree ansi = ReadBookmarkTree({"<DL><p>", "<DT><A HREF=\"x\">caf\xe9</A>", "</DL><p>"});
  RenameNode(ansi, Named(ansi, "café"), "Café € 日本");
  EXPECT_EQ(ansi.Lines()[1], "<DT><A HREF=\"x\">Caf\xe9 \x80 &#26085;&#26412;</A>");
  EXPECT_EQ(ansi.Title(Named(ansi, "Café € 日本")), "Café € 日本");
  EXPECT_EQ(ReadBookmarkTree(ansi.Lines()).Encoding(), TextEncoding::Windows1252);
  // A UTF-8 text stays UTF-8 whatever a title holds.
  BookmarkTree utf8 = ReadBookmarkTree({"<DL><p>", "<DT><A HREF=\"x\">x</A>", "</DL><p>"});
  RenameNode(utf8, Named(utf8, "x"), std::string("para\xe2\x80\xa9" "bad\xff" "nul", 14) + std::string(1, '\0'));
  EXPECT_EQ(utf8.Lines()[1], "<DT><A HREF=\"x\">para&#8233;bad\xef\xbf\xbdnul\xef\xbf\xbd</A>");
}

TEST(TreeEdit, ImpossibleEditsChangeNothing) {
  using Edit = std::function<void(BookmarkTree&)>;
  const Edit edits[] = {
      [](BookmarkTree& t) { MoveNodes(t, {Named(t, "Toolbar")}, {Named(t, "Toolbar")}); },
      [](BookmarkTree& t) { MoveNodes(t, {Named(t, "Work"), Named(t, "A")}, {Named(t, "Work")}); },
      [](BookmarkTree& t) { MoveNodes(t, {t.Children(kRootNode)[1]}, {Named(t, "Work")}); },  // the top list's start
      [](BookmarkTree& t) { MoveNodes(t, {Named(t, "A")}, {Named(t, "Work"), Named(t, "B")}); },
      [](BookmarkTree& t) { MoveNodes(t, {Named(t, "A")}, {Named(t, "A")}); },
      [](BookmarkTree& t) { DeleteNodes(t, {kRootNode}); },
      [](BookmarkTree& t) { DeleteNodes(t, {t.Children(kRootNode)[1]}); },  // the top list's start
      [](BookmarkTree& t) { DeleteNodes(t, {Named(t, "A"), 9999}); },
      [](BookmarkTree& t) { RenameNode(t, t.Children(kRootNode)[0], "header"); },
      [](BookmarkTree& t) { SetLinkAddress(t, Named(t, "Work"), "x"); },
      [](BookmarkTree& t) { ReorderChildren(t, Named(t, "Work"), {}); },
      [](BookmarkTree& t) {
        const std::vector<NodeId> c = t.Children(kRootNode);
        ReorderChildren(t, kRootNode, {c[1], c[0], c[2], c[3], c[4], c[5]});
      },
      [](BookmarkTree& t) { InsertLink(t, {Named(t, "Work"), Named(t, "A")}, "x", "y"); },
  };
  // A title cannot go after a tag that does not close on its line.
  BookmarkTree broken = ReadBookmarkTree({"<DL><p>", "<A HREF", "</DL><p>"});
  EXPECT_THROW(RenameNode(broken, broken.Children(kRootNode)[1], "t"), TreeEditError);
  for (size_t i = 0; i < std::size(edits); ++i) {
    BookmarkTree tree = ReadBookmarkTree(kBrowserDoc);
    const std::string shape = Shape(tree, kRootNode, true);
    EXPECT_THROW(edits[i](tree), TreeEditError) << i;
    EXPECT_EQ(tree.Lines(), kBrowserDoc) << i;
    EXPECT_EQ(Shape(tree, kRootNode, true), shape) << i;
  }
}

// Random documents in either layout, with random options, and random edits
// on them: every edit keeps its promises.
TEST(TreeEdit, RandomEditsOfRandomDocumentsKeepTheirPromises) {
  std::mt19937 rng(31);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  const char* titles[] = {"News", "a/b", "R&D", "Été", "<tag>", "x\\y", "", "  spaced  "};
  for (int round = 0; round < 60; ++round) {
    OutlineNode root;
    std::vector<OutlineNode*> folders{&root};
    for (int i = 0; i < 30; ++i) {
      OutlineNode n;
      n.Kind = std::array{NodeKind::Link, NodeKind::Link, NodeKind::Folder, NodeKind::Separator}[pick(4)];
      n.Title = std::string(titles[pick(std::size(titles))]) + std::to_string(i);
      n.Address = "https://example.org/" + std::to_string(i) + "?a=1&b=2";
      if (pick(3) == 0) n.Attributes.emplace_back("ADD_DATE", std::to_string(1700000000 + i));
      if (n.Kind != NodeKind::Separator && pick(4) == 0) n.Description = "about\nit " + std::to_string(i);
      folders[pick(folders.size())]->Children.push_back(n);
      // A vector that grew has moved its folders: find them all again.
      folders.clear();
      std::vector<OutlineNode*> stack{&root};
      while (!stack.empty()) {
        OutlineNode* f = stack.back();
        stack.pop_back();
        folders.push_back(f);
        for (OutlineNode& c : f->Children)
          if (c.Kind == NodeKind::Folder) stack.push_back(&c);
      }
    }
    WriteOptions options;
    options.Layout = pick(2) ? WriteLayout::Browser : WriteLayout::Quillet;
    options.Indent = pick(2);
    options.DoubleSpace = pick(2);
    BookmarkTree tree = ReadBookmarkTree(WriteOutline(root, options));
    ASSERT_TRUE(tree.Diagnostics().empty());
    for (int step = 0; step < 8; ++step) {
      std::vector<NodeId> items, folderIds{kRootNode};
      tree.ForEachNode([&](NodeId id) {
        if (id == kRootNode || tree.Kind(id) == NodeKind::Opaque) return;
        items.push_back(id);
        if (tree.Kind(id) == NodeKind::Folder) folderIds.push_back(id);
      });
      if (items.empty()) break;
      const TextLines before = tree.Lines();
      const auto texts = test::OwnTexts(tree);
      const NodeId item = items[pick(items.size())];
      const NodeId folder = folderIds[pick(folderIds.size())];
      const std::vector<NodeId>& inFolder = tree.Children(folder);
      const NodeId beforeNode = inFolder.empty() || pick(3) == 0 ? kNoNode : inFolder[pick(inFolder.size())];
      std::set<NodeId> changed;
      TextPatch patch;
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
      switch (pick(6)) {
        case 0:
          if (tree.Kind(item) == NodeKind::Separator) continue;
          patch = RenameNode(tree, item, titles[pick(std::size(titles))]);
          changed.insert(item);
          break;
        case 1: patch = DeleteNodes(tree, {item, items[pick(items.size())]}); break;
        case 2:
          if (tree.IsWithin(folder, item)) continue;
          patch = MoveNodes(tree, {item}, {folder, beforeNode == item ? kNoNode : beforeNode});
          break;
        case 3: {
          std::vector<NodeId> order = inFolder;
          std::shuffle(order.begin(), order.end(), rng);
          bool marksStay = true;
          for (size_t k = 0; k < order.size(); ++k)
            marksStay = marksStay && (order[k] == inFolder[k] || (tree.Role(order[k]) == OpaqueRole::Other &&
                                                                    tree.Role(inFolder[k]) == OpaqueRole::Other));
          if (!marksStay) continue;
          patch = ReorderChildren(tree, folder, order);
          break;
        }
        case 4: patch = InsertFolder(tree, {folder, beforeNode}, titles[pick(std::size(titles))]).Patch; break;
        default: patch = InsertLink(tree, {folder, beforeNode}, "new & <link>", "https://n/?a&b").Patch; break;
      }
      ExpectSpliced(before, texts, tree, patch, changed);
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace quillet
