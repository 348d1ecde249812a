#include "app/OrganizeEdits.h"

#include <algorithm>
#include <map>
#include <set>

#include "check/Url.h"
#include "platform/AsciiCase.h"

namespace quillet {

bool IsListedNode(const BookmarkTree& tree, NodeId id) {
  return tree.IsLive(id) && tree.Kind(id) != NodeKind::Opaque;
}

std::vector<NodeId> ListedChildren(const BookmarkTree& tree, NodeId folder) {
  std::vector<NodeId> out;
  for (NodeId child : tree.Children(folder))
    if (tree.Kind(child) != NodeKind::Opaque) out.push_back(child);
  return out;
}

TextPatch StepWithinFolders(BookmarkTree& tree, const std::vector<NodeId>& ids, int step) {
  std::map<NodeId, std::set<NodeId>> byFolder;
  for (NodeId id : ids)
    if (IsListedNode(tree, id) && id != tree.Root()) byFolder[tree.Parent(id)].insert(id);
  std::vector<FolderOrder> orders;
  for (const auto& [folder, chosen] : byFolder) {
    std::vector<NodeId> listed = ListedChildren(tree, folder);
    bool moved = false;
    // Walking towards the end the selection moves to, so that a block of
    // selected nodes moves as one and stops at the end.
    const auto n = static_cast<std::ptrdiff_t>(listed.size());
    for (std::ptrdiff_t k = 0; k < n; ++k) {
      const std::ptrdiff_t i = step < 0 ? k : n - 1 - k;
      const std::ptrdiff_t j = i + (step < 0 ? -1 : 1);
      if (j < 0 || j >= n || !chosen.count(listed[i]) || chosen.count(listed[j])) continue;
      std::swap(listed[i], listed[j]);
      moved = true;
    }
    if (!moved) continue;
    // Opaque children (a list's start or end) keep their places.
    std::vector<NodeId> order = tree.Children(folder);
    size_t next = 0;
    for (NodeId& child : order)
      if (tree.Kind(child) != NodeKind::Opaque) child = listed[next++];
    orders.push_back({folder, std::move(order)});
  }
  if (orders.empty()) return {};
  return ReorderFolders(tree, orders);
}

namespace {

void CopyInto(BookmarkTree& tree, NodeId id, InsertPosition to, std::vector<TextPatch>& patches, NodeId& made) {
  switch (tree.Kind(id)) {
    case NodeKind::Link: {
      Insertion in = InsertLink(tree, to, tree.Title(id), tree.Address(id), tree.AddDate(id));
      patches.push_back(std::move(in.Patch));
      made = in.Id;
      return;
    }
    case NodeKind::Separator: {
      Insertion in = InsertSeparator(tree, to);
      patches.push_back(std::move(in.Patch));
      made = in.Id;
      return;
    }
    case NodeKind::Folder: {
      // The children are listed first: the copy is inserted before them
      // when a folder is copied into itself.
      const std::vector<NodeId> children = ListedChildren(tree, id);
      Insertion in = InsertFolder(tree, to, tree.Title(id), tree.AddDate(id));
      patches.push_back(std::move(in.Patch));
      made = in.Id;
      for (NodeId child : children) {
        NodeId ignored = kNoNode;
        CopyInto(tree, child, InsertPosition{in.Id, kNoNode}, patches, ignored);
      }
      return;
    }
    case NodeKind::Opaque:
      return;
  }
}

}  // namespace

std::vector<TextPatch> CopyNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, InsertPosition to,
                                 std::vector<NodeId>& made) {
  std::vector<TextPatch> patches;
  std::vector<NodeId> chosen;
  for (NodeId id : ids) {
    if (!IsListedNode(tree, id) || id == tree.Root()) continue;
    // A node inside another chosen folder comes with that folder.
    const bool inside = std::any_of(ids.begin(), ids.end(), [&](NodeId other) {
      return other != id && IsListedNode(tree, other) && tree.Kind(other) == NodeKind::Folder &&
             tree.IsWithin(id, other);
    });
    if (!inside && std::find(chosen.begin(), chosen.end(), id) == chosen.end()) chosen.push_back(id);
  }
  for (NodeId id : chosen) {
    NodeId copy = kNoNode;
    CopyInto(tree, id, to, patches, copy);
    made.push_back(copy);
  }
  return patches;
}

bool HasScheme(std::string_view address) { return !UrlScheme(address).empty(); }

std::vector<std::string> AddressesInText(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ') line.remove_prefix(1);
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') line.remove_suffix(1);
    if (line.empty() || line.find(' ') != std::string_view::npos) continue;
    const bool www = line.size() > 4 && LowerAscii(line.substr(0, 4)) == "www.";
    if (www || HasScheme(line)) out.emplace_back(line);
  }
  return out;
}

bool IsBrokenAddress(std::string_view address) { return address.empty() || address == "ERROR"; }

}  // namespace quillet
