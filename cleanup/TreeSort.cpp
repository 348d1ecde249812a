#include "cleanup/TreeSort.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "cleanup/AddressRules.h"
#include "platform/AsciiCase.h"

namespace quillet {

namespace {

// One key part; a missing one sorts after every present one.
struct KeyPart {
  std::string Bytes;
  bool Missing = false;
};

struct Item {
  NodeId Id = kNoNode;
  uint8_t Group = 0;  // folders first or last: 0 before 1
  uint8_t Parts = 0;
  uint64_t Head = 0;  // the first part's first bytes: most comparisons end there
  std::array<KeyPart, 4> Key;
};

// The key's first 8 bytes, big-endian and zero-padded: they order as the
// key's first 8 bytes do.
uint64_t Head(const KeyPart& part) {
  uint64_t head = 0;
  for (size_t b = 0; b < 8; ++b)
    head = head << 8 | (b < part.Bytes.size() ? static_cast<unsigned char>(part.Bytes[b]) : 0u);
  return head;
}

std::string DateBytes(int64_t seconds) {
  const uint64_t v = static_cast<uint64_t>(seconds) ^ (uint64_t{1} << 63);
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i)] = static_cast<char>(v >> (56 - 8 * i));
  return out;
}

std::string SiteOf(std::string_view address) {
  std::string host = LowerAscii(AddressHost(address));
  if (host.starts_with("www.") && host.find('.', 4) != std::string::npos) host.erase(0, 4);
  return host;
}

class Sorter {
 public:
  Sorter(const BookmarkTree& tree, const TreeSortOptions& options, Collation& collation)
      : tree_(tree), o_(options), coll_(collation) {}

  // The folder's children in their new order; true when it differs.
  bool SortFolder(NodeId folder, std::vector<NodeId>& order, size_t& moved) {
    const std::vector<NodeId>& children = tree_.Children(folder);
    order = children;
    for (size_t i = 0; i < children.size();) {
      if (!IsItem(children[i])) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < children.size() && IsItem(children[j])) ++j;
      SortRun(order, i, j);
      i = j;
    }
    for (size_t i = 0; i < children.size(); ++i) moved += order[i] != children[i];
    return order != children;
  }

 private:
  const BookmarkTree& tree_;
  const TreeSortOptions& o_;
  Collation& coll_;
  std::vector<Item> items_;
  std::vector<uint32_t> index_;

  bool IsItem(NodeId id) const {
    const NodeKind k = tree_.Kind(id);
    return k == NodeKind::Link || k == NodeKind::Folder;
  }

  // Every item gets the same number of parts for a key, so that parts at
  // one index always compare like with like: site gives two (the host, then
  // the address), the others one. A folder has no address: its title stands
  // in, with an empty second part for site.
  void AddParts(Item& item, SortKeyKind kind) {
    auto next = [&]() -> KeyPart& {
      KeyPart& part = item.Key[item.Parts++];
      part.Bytes.clear();
      part.Missing = false;
      return part;
    };
    auto text = [&](const std::string& t) { next().Bytes = TextSortKey(coll_, t, o_.Text); };
    if (kind == SortKeyKind::Added) {
      KeyPart& part = next();
      const std::optional<int64_t> date = tree_.AddDate(item.Id);
      part.Missing = !date;
      if (date) part.Bytes = DateBytes(*date);
      return;
    }
    if (tree_.Kind(item.Id) == NodeKind::Folder || kind == SortKeyKind::Name) {
      text(tree_.Title(item.Id));
      if (kind == SortKeyKind::Site) next();
      return;
    }
    const std::string address = tree_.Address(item.Id);
    if (kind == SortKeyKind::Site) {
      const std::string site = SiteOf(address);
      if (site.empty())
        next().Missing = true;
      else
        text(site);
    }
    text(address);
  }

  void SortRun(std::vector<NodeId>& order, size_t begin, size_t end) {
    const size_t n = end - begin;
    if (n < 2) return;
    // Items are reused from run to run, their keys' buffers with them, and
    // only their numbers are sorted.
    if (items_.size() < n) items_.resize(n);
    for (size_t k = 0; k < n; ++k) {
      Item& item = items_[k];
      item.Id = order[begin + k];
      item.Parts = 0;
      const bool folder = tree_.Kind(item.Id) == NodeKind::Folder;
      item.Group = o_.Folders == FolderPlacement::First  ? !folder
                   : o_.Folders == FolderPlacement::Last ? folder
                                                         : 0;
      AddParts(item, o_.By);
      if (o_.Then) AddParts(item, *o_.Then);
      item.Head = Head(item.Key[0]);
    }
    index_.resize(n);
    for (size_t k = 0; k < n; ++k) index_[k] = static_cast<uint32_t>(k);
    const bool reverse = o_.Reverse;
    std::stable_sort(index_.begin(), index_.end(), [&](uint32_t ia, uint32_t ib) {
      const Item &a = items_[ia], &b = items_[ib];
      if (a.Group != b.Group) return a.Group < b.Group;
      for (uint8_t p = 0; p < a.Parts; ++p) {
        const KeyPart &x = a.Key[p], &y = b.Key[p];
        if (x.Missing != y.Missing) return y.Missing;
        if (x.Missing) continue;
        const int c = p == 0 && a.Head != b.Head ? (a.Head < b.Head ? -1 : 1) : x.Bytes.compare(y.Bytes);
        if (c != 0) return reverse ? c > 0 : c < 0;
      }
      return false;
    });
    for (size_t k = 0; k < n; ++k) order[begin + k] = items_[index_[k]].Id;
  }
};

}  // namespace

TreeSortPlan PlanTreeSort(const BookmarkTree& tree, const TreeSortOptions& options, Collation& collation) {
  // Which folders are sorted: those named, with everything below them when
  // recursive, less those that keep their order. Folders come in document
  // order, each after the folder around it.
  std::vector<char> named(tree.IdLimit(), 0), chosen(tree.IdLimit(), 0), keep(tree.IdLimit(), 0);
  if (options.Within.empty())
    named[kRootNode] = 1;
  else
    for (NodeId f : options.Within) named.at(f) = 1;
  for (NodeId f : options.KeepOrder) keep.at(f) = 1;
  std::vector<NodeId> folders;
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) != NodeKind::Folder) return;
    const NodeId parent = tree.Parent(id);
    chosen[id] = named[id] || (options.Recursive && parent != kNoNode && chosen[parent]);
    if (!chosen[id] || keep[id] || (options.KeepToolbarOrder && tree.IsToolbar(id))) return;
    folders.push_back(id);
  });

  TreeSortPlan plan;
  Sorter sorter(tree, options, collation);
  std::vector<NodeId> order;
  for (NodeId f : folders) {
    ++plan.FoldersSorted;
    if (sorter.SortFolder(f, order, plan.ItemsMoved)) plan.Orders.push_back({f, order});
  }
  return plan;
}

TreeSortResult SortTree(BookmarkTree& tree, const TreeSortOptions& options, Collation& collation, PatchWanted patch) {
  TreeSortResult result;
  result.Plan = PlanTreeSort(tree, options, collation);
  if (!result.Plan.Orders.empty()) result.Patch = ReorderFolders(tree, result.Plan.Orders, patch);
  return result;
}

}  // namespace quillet
