#include "bookmarks/FolderPath.h"

#include <algorithm>

namespace quillet {

std::string EscapePathStep(std::string_view title) {
  std::string out;
  out.reserve(title.size());
  for (char c : title) {
    if (c == '/' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string FolderPathOf(const BookmarkTree& tree, NodeId id) {
  NodeId folder = tree.Kind(id) == NodeKind::Folder ? id : tree.Parent(id);
  std::vector<NodeId> chain;
  for (; folder != kRootNode && folder != kNoNode; folder = tree.Parent(folder)) chain.push_back(folder);
  std::string path;
  for (size_t i = chain.size(); i-- > 0;) {
    if (i + 1 < chain.size()) path += '/';
    path += EscapePathStep(tree.Title(chain[i]));
  }
  return path;
}

std::vector<std::string> SplitFolderPath(std::string_view path) {
  std::vector<std::string> steps;
  if (path.empty()) return steps;
  steps.emplace_back();
  for (size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\' && i + 1 < path.size() && (path[i + 1] == '/' || path[i + 1] == '\\')) {
      steps.back() += path[++i];
    } else if (c == '/') {
      steps.emplace_back();
    } else {
      steps.back() += c;
    }
  }
  return steps;
}

bool PathCovers(std::string_view path, std::string_view other) {
  const std::vector<std::string> a = SplitFolderPath(path), b = SplitFolderPath(other);
  return a.size() <= b.size() && std::equal(a.begin(), a.end(), b.begin());
}

std::vector<NodeId> FindFolders(const BookmarkTree& tree, std::string_view path) {
  std::vector<NodeId> found{kRootNode};
  for (const std::string& step : SplitFolderPath(path)) {
    std::vector<NodeId> next;
    for (NodeId f : found)
      for (NodeId c : tree.Children(f))
        if (tree.Kind(c) == NodeKind::Folder && tree.Title(c) == step) next.push_back(c);
    found = std::move(next);
  }
  return found;
}

}  // namespace quillet
