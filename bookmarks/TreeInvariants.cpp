#include "bookmarks/TreeInvariants.h"

#include <vector>

namespace quillet {

namespace {

std::string At(TextPos p) { return std::to_string(p.Line) + ":" + std::to_string(p.Col); }

}  // namespace

std::string CheckTreeInvariants(const BookmarkTree& tree) {
  if (!tree.IsLive(kRootNode) || tree.Kind(kRootNode) != NodeKind::Folder || tree.Parent(kRootNode) != kNoNode)
    return "the root is not a folder of its own";
  const TextLines& lines = tree.Lines();
  std::vector<char> seen(tree.IdLimit(), 0);
  std::string fault;
  TextPos next{0, 0};
  auto piece = [&](NodeId id, TextSpan s, const char* what) {
    if (!fault.empty()) return;
    const bool inside = s.End.Line < lines.size() ? s.End.Col <= lines[s.End.Line].size()
                                                  : s.End == TextPos{static_cast<uint32_t>(lines.size()), 0};
    if (s.Begin != next || s.End < s.Begin || !inside)
      fault = std::string(what) + " of node " + std::to_string(id) + " runs " + At(s.Begin) + "-" + At(s.End) +
              " where " + At(next) + " was due";
    next = s.End;
  };
  // Document order with a stack of our own, tails after the children.
  std::vector<std::pair<NodeId, size_t>> stack{{kRootNode, 0}};
  piece(kRootNode, tree.Span(kRootNode), "the head");
  seen[kRootNode] = 1;
  while (!stack.empty() && fault.empty()) {
    const NodeId folder = stack.back().first;
    const std::vector<NodeId>& children = tree.Children(folder);
    if (stack.back().second == children.size()) {
      piece(folder, tree.Tail(folder), "the tail");
      stack.pop_back();
      continue;
    }
    const size_t index = stack.back().second++;
    const NodeId child = children[index];
    if (!tree.IsLive(child) || seen[child]++) return "node " + std::to_string(child) + " is dead or met twice";
    if (tree.Parent(child) != folder || tree.IndexInParent(child) != index)
      return "node " + std::to_string(child) + " does not know its place";
    piece(child, tree.Span(child), "the piece");
    const NodeKind kind = tree.Kind(child);
    if ((kind == NodeKind::Link || kind == NodeKind::Folder) && !tree.HasItemTag(child))
      return "node " + std::to_string(child) + " has no tag of its kind";
    if (kind == NodeKind::Folder) {
      stack.emplace_back(child, 0);
    }
  }
  if (fault.empty() && next != TextPos{static_cast<uint32_t>(lines.size()), 0})
    fault = "the pieces end at " + At(next) + ", before the end of the lines";
  for (NodeId id = 0; fault.empty() && id < tree.IdLimit(); ++id)
    if (tree.IsLive(id) && !seen[id]) fault = "live node " + std::to_string(id) + " is in no folder";
  return fault;
}

}  // namespace quillet
