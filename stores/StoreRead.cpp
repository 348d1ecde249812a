#include "stores/StoreRead.h"

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

OutlineCounts CountOutline(const OutlineNode& root) {
  OutlineCounts counts;
  std::vector<const OutlineNode*> stack{&root};
  while (!stack.empty()) {
    const OutlineNode* n = stack.back();
    stack.pop_back();
    for (const OutlineNode& c : n->Children) {
      if (c.Kind == NodeKind::Folder) ++counts.Folders, stack.push_back(&c);
      if (c.Kind == NodeKind::Link) ++counts.Links;
      if (c.Kind == NodeKind::Separator) ++counts.Separators;
    }
  }
  return counts;
}

const std::string* FindAttribute(const OutlineNode& node, std::string_view name) {
  for (const auto& [n, v] : node.Attributes)
    if (n.size() == name.size() && UpperAscii(n) == UpperAscii(name)) return &v;
  return nullptr;
}

}  // namespace quillet
