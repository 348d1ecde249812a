#pragma once
// Helpers of the bookmark tree's tests: a tree's shape in one line
// (TreeShape.h), the corpus of exports, and a snapshot of every node's own
// text.
#include <map>
#include <string>
#include <utility>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/TreeShape.h"

namespace quillet::test {

inline std::string ExportPath(const std::string& name) {
  return std::string(QUILLET_SOURCE_DIR) + "/tests/bookmarks/exports/" + name;
}

// Each live node's own text: a folder's head and tail apart from its items.
inline std::map<NodeId, std::pair<std::string, std::string>> OwnTexts(const BookmarkTree& tree) {
  std::map<NodeId, std::pair<std::string, std::string>> texts;
  tree.ForEachNode([&](NodeId id) {
    texts[id] = {tree.SpanText(tree.Span(id)),
                 tree.Kind(id) == NodeKind::Folder ? tree.SpanText(tree.Tail(id)) : std::string()};
  });
  return texts;
}

// The first live node with that title.
inline NodeId Named(const BookmarkTree& tree, const std::string& title) {
  NodeId found = kNoNode;
  tree.ForEachNode([&](NodeId id) {
    if (found == kNoNode && id != kRootNode && tree.Kind(id) != NodeKind::Opaque && tree.Title(id) == title) found = id;
  });
  return found;
}

}  // namespace quillet::test
