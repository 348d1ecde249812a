#pragma once
// A bookmark tree's shape in one line, for tests of what edits and clean-ups
// do to it.
#include <string>

#include "bookmarks/BookmarkTree.h"

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

}  // namespace quillet::test
