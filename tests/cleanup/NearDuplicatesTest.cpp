#include "cleanup/NearDuplicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "bookmarks/TreeWriter.h"
#include "tests/support/RandomOutline.h"

namespace quillet {
namespace {

// Titles of the links that stay, in document order.
std::string KeptAfter(const TextLines& doc, const DuplicateOptions& options, const std::string& protect = "") {
  BookmarkTree tree = ReadBookmarkTree(doc);
  const TreeDuplicates found =
      FindTreeDuplicates(tree, options, protect.empty() ? std::vector<NodeId>{} : FindFolders(tree, protect));
  RemoveTreeDuplicates(tree, found);
  std::string titles;
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) == NodeKind::Link) titles += (titles.empty() ? "" : " ") + tree.Title(id);
  });
  return titles;
}

TEST(NearDuplicates, KeepPoliciesScopeAndProtectedFolders) {
  const TextLines doc = {"<DL><p>",
                         "<DT><H3>A</H3>",
                         "<DL><p>",
                         "<DT><A HREF=\"http://x.org/\" ADD_DATE=\"300\">one</A>",
                         "<DT><A HREF=\"http://x.org\" ADD_DATE=\"100\">two</A>",
                         "<DT><A HREF=\"https://x.org/\">three</A>",
                         "<DD>three's description",
                         "</DL><p>",
                         "<DT><A HREF=\"http://x.org/\" ADD_DATE=\"100\">four</A>",
                         "<DT><A HREF=\"place:x\">five</A>",
                         "<DT><A HREF=\"place:x\">six</A>",
                         "<DT><A HREF=\"#top\">seven</A>",
                         "<DT><A HREF=\"#top\">eight</A>",
                         "</DL><p>"};
  struct Case {
    KeepPolicy Keep;
    DuplicateScope Scope;
    const char* Protect;
    const char* Kept;
  };
  const Case cases[] = {
      {KeepPolicy::First, DuplicateScope::File, "", "one five seven eight"},
      {KeepPolicy::Last, DuplicateScope::File, "", "four six seven eight"},
      {KeepPolicy::Oldest, DuplicateScope::File, "", "two five seven eight"},  // equal dates: the first
      {KeepPolicy::Newest, DuplicateScope::File, "", "one five seven eight"},  // no date never wins
      {KeepPolicy::Last, DuplicateScope::File, "A", "one two three six seven eight"},
      {KeepPolicy::First, DuplicateScope::Folder, "", "one four five seven eight"},
  };
  DuplicateOptions options;
  options.Rules.Rules = kRuleSlash | kRuleScheme;
  for (const Case& c : cases) {
    options.Keep = c.Keep;
    options.Scope = c.Scope;
    EXPECT_EQ(KeptAfter(doc, options, c.Protect), c.Kept) << c.Protect;
  }
  // Without rules only the exact address counts, as /nodupes compares it.
  EXPECT_EQ(KeptAfter(doc, DuplicateOptions{}), "one two three five seven eight");
}

// A random document whose addresses are variants of a few pages.
TextLines RandomDocument(std::mt19937& rng, std::vector<std::string>& folderPaths) {
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  const char* queries[] = {"", "?a=1&b=2", "?b=2&a=1", "?a=1&utm_source=x", "?utm_medium=y"};
  OutlineNode root;
  for (int i = 0; i < 40; ++i) {
    OutlineNode n;
    n.Kind = pick(5) == 0 ? NodeKind::Folder : pick(8) == 0 ? NodeKind::Separator : NodeKind::Link;
    n.Title = "t" + std::to_string(i);
    const std::string host = std::string(pick(2) ? "www." : "") + (pick(2) ? "A.org" : "a.org") + (pick(4) ? "" : ":80");
    n.Address = pick(9) == 0   ? "place:q=" + std::to_string(pick(2))
                : pick(9) == 0 ? "#top"
                               : (pick(2) ? "http://" : "https://") + host + "/p%7E" + std::to_string(pick(4)) +
                                     (pick(2) ? "/" : "") + queries[pick(std::size(queries))] + (pick(3) ? "" : "#f");
    if (pick(2)) n.Attributes.emplace_back("ADD_DATE", std::to_string(1700000000 + pick(5)));
    if (pick(4) == 0) n.Description = "about " + std::to_string(i);
    test::AddToRandomFolder(root, std::move(n), rng);
  }
  const BookmarkTree tree = ReadBookmarkTree(WriteOutline(root, test::RandomWriteOptions(rng)));
  folderPaths.clear();
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) == NodeKind::Folder && id != kRootNode) folderPaths.push_back(FolderPathOf(tree, id));
  });
  return tree.Lines();
}

TEST(NearDuplicates, PropertiesOverRandomDocuments) {
  std::mt19937 rng(34);
  std::vector<std::string> paths;
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    const TextLines doc = RandomDocument(rng, paths);
    DuplicateOptions options;
    options.Rules.Rules = static_cast<AddressRuleSet>(rng() % (kAllAddressRules + 1));
    options.Keep = static_cast<KeepPolicy>(rng() % 4);
    options.Scope = rng() % 3 ? DuplicateScope::File : DuplicateScope::Folder;
    BookmarkTree tree = ReadBookmarkTree(doc);
    const std::string protectPath = !paths.empty() && rng() % 2 ? paths[rng() % paths.size()] : "";
    const std::vector<NodeId> protect = protectPath.empty() ? std::vector<NodeId>{} : FindFolders(tree, protectPath);
    const TreeDuplicates found = FindTreeDuplicates(tree, options, protect);

    // Every copy that goes has its kept one's key and lies outside the
    // protected folders; the kept one is not removed.
    std::vector<NodeId> removed = found.RemovedNodes();
    std::sort(removed.begin(), removed.end());
    for (const DuplicateGroup& g : found.Groups) {
      const NodeId kept = found.Links[g.Kept];
      const std::string key = AddressComparisonKey(tree.RawAddress(kept), tree.Address(kept), options.Rules);
      EXPECT_FALSE(std::binary_search(removed.begin(), removed.end(), kept));
      for (size_t i : g.Removed) {
        const NodeId r = found.Links[i];
        EXPECT_EQ(AddressComparisonKey(tree.RawAddress(r), tree.Address(r), options.Rules), key);
        for (NodeId f : protect) EXPECT_FALSE(tree.IsWithin(r, f));
      }
    }
    // The links that stay keep their order and their bytes.
    std::vector<std::string> before;
    tree.ForEachNode([&](NodeId id) {
      if (tree.Kind(id) == NodeKind::Link && !std::binary_search(removed.begin(), removed.end(), id))
        before.push_back(tree.SpanText(tree.Span(id)));
    });
    RemoveTreeDuplicates(tree, found);
    std::vector<std::string> after;
    tree.ForEachNode([&](NodeId id) {
      if (tree.Kind(id) == NodeKind::Link) after.push_back(tree.SpanText(tree.Span(id)));
    });
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.size() + removed.size(), found.Links.size());
    // A second run finds nothing more, also on the text read afresh.
    BookmarkTree again = ReadBookmarkTree(tree.Lines());
    const std::vector<NodeId> protectAgain =
        protectPath.empty() ? std::vector<NodeId>{} : FindFolders(again, protectPath);
    EXPECT_TRUE(FindTreeDuplicates(again, options, protectAgain).Groups.empty());
  }
}

}  // namespace
}  // namespace quillet
