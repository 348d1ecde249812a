#pragma once
// Random bookmark outlines for property tests over generated documents.
#include <random>
#include <vector>

#include "bookmarks/TreeWriter.h"

namespace quillet::test {

// Puts the node into root or one of the folders below it, picked at random.
inline void AddToRandomFolder(OutlineNode& root, OutlineNode node, std::mt19937& rng) {
  std::vector<OutlineNode*> folders, stack{&root};
  while (!stack.empty()) {
    OutlineNode* f = stack.back();
    stack.pop_back();
    folders.push_back(f);
    for (OutlineNode& c : f->Children)
      if (c.Kind == NodeKind::Folder) stack.push_back(&c);
  }
  folders[rng() % folders.size()]->Children.push_back(std::move(node));
}

// Either layout, indented or not, double-spaced or not.
inline WriteOptions RandomWriteOptions(std::mt19937& rng) {
  WriteOptions w;
  w.Layout = rng() % 2 ? WriteLayout::Browser : WriteLayout::Quillet;
  w.Indent = rng() % 2;
  w.DoubleSpace = rng() % 2;
  return w;
}

}  // namespace quillet::test
