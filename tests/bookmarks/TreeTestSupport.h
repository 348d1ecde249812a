#pragma once
// Helpers of the bookmark tree's tests: a tree's shape in one line, the
// corpus of exports, and a snapshot of every node's own text.
#include <map>
#include <string>
#include <utility>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "tests/support/TempDir.h"

namespace quillet::test {

// "F:Title{...} L:Title S" for folders, links and separators; with opaque
// nodes as "O", list starts "O<" and ends "O>".
inline std::string Shape(const BookmarkTree& tree, NodeId folder = kRootNode, bool opaque = false) {
  std::string out;
  for (NodeId c : tree.Children(folder)) {
    std::string item;
    switch (tree.Kind(c)) {
      case NodeKind::Folder: item = "F:" + tree.Title(c) + "{" + Shape(tree, c, opaque) + "}"; break;
      case NodeKind::Link: item = "L:" + tree.Title(c); break;
      case NodeKind::Separator: item = "S"; break;
      case NodeKind::Opaque:
        if (!opaque) continue;
        item = tree.Role(c) == OpaqueRole::ListOpen ? "O<" : tree.Role(c) == OpaqueRole::ListClose ? "O>" : "O";
        break;
    }
    out += (out.empty() ? "" : " ") + item;
  }
  return out;
}

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
