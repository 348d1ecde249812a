#include "cleanup/NearDuplicates.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "bookmarks/TreeEdit.h"

namespace quillet {

namespace {

size_t ChooseKept(const std::vector<size_t>& pool, const std::vector<DuplicateCandidate>& c, KeepPolicy keep) {
  switch (keep) {
    case KeepPolicy::First: break;
    case KeepPolicy::Last: return pool.back();
    case KeepPolicy::Oldest:
    case KeepPolicy::Newest: {
      size_t best = pool.front();
      for (size_t i : pool) {
        if (!c[i].Date) continue;
        const bool better = !c[best].Date || (keep == KeepPolicy::Oldest ? *c[i].Date < *c[best].Date
                                                                          : *c[i].Date > *c[best].Date);
        if (better) best = i;
      }
      return best;
    }
  }
  return pool.front();
}

}  // namespace

std::vector<DuplicateGroup> FindDuplicateGroups(const std::vector<DuplicateCandidate>& candidates,
                                                const DuplicateOptions& options) {
  constexpr size_t kNone = SIZE_MAX;
  // Each candidate's slot: the first candidate with its key.
  std::vector<size_t> slot(candidates.size(), kNone);
  std::vector<size_t> count(candidates.size(), 0);
  {
    std::unordered_map<std::string, size_t> first;
    first.reserve(candidates.size());
    std::string key;
    for (size_t i = 0; i < candidates.size(); ++i) {
      const DuplicateCandidate& c = candidates[i];
      if (c.Raw.empty() || c.Raw.front() == '#') continue;
      key.clear();
      if (options.Scope == DuplicateScope::Folder)
        key.append(reinterpret_cast<const char*>(&c.Folder), sizeof c.Folder);
      key += AddressComparisonKey(c.Raw, c.Decoded, options.Rules);
      const size_t s = first.try_emplace(key, i).first->second;
      slot[i] = s;
      ++count[s];
    }
  }
  // The members of every slot with more than one, in document order.
  std::vector<size_t> begin(candidates.size() + 1, 0);
  for (size_t s = 0; s < candidates.size(); ++s) begin[s + 1] = begin[s] + (count[s] > 1 ? count[s] : 0);
  std::vector<size_t> members(begin.back());
  std::vector<size_t> fill(begin.begin(), begin.end() - 1);
  for (size_t i = 0; i < candidates.size(); ++i)
    if (slot[i] != kNone && count[slot[i]] > 1) members[fill[slot[i]]++] = i;

  std::vector<DuplicateGroup> groups;
  std::vector<size_t> all, pool;
  for (size_t s = 0; s < candidates.size(); ++s) {
    if (count[s] < 2) continue;
    all.assign(members.begin() + static_cast<std::ptrdiff_t>(begin[s]),
               members.begin() + static_cast<std::ptrdiff_t>(begin[s + 1]));
    pool.clear();
    for (size_t i : all)
      if (candidates[i].Protected) pool.push_back(i);
    if (pool.empty()) pool = all;
    DuplicateGroup g;
    g.Kept = ChooseKept(pool, candidates, options.Keep);
    for (size_t i : all)
      if (i != g.Kept && !candidates[i].Protected) g.Removed.push_back(i);
    if (!g.Removed.empty()) groups.push_back(std::move(g));
  }
  // Slots are numbered by their first member, so the groups already stand
  // in the order of their first candidates.
  return groups;
}

std::vector<NodeId> TreeDuplicates::RemovedNodes() const {
  std::vector<size_t> removed;
  for (const DuplicateGroup& g : Groups) removed.insert(removed.end(), g.Removed.begin(), g.Removed.end());
  std::sort(removed.begin(), removed.end());
  std::vector<NodeId> out;
  out.reserve(removed.size());
  for (size_t i : removed) out.push_back(Links[i]);
  return out;
}

TreeDuplicates FindTreeDuplicates(const BookmarkTree& tree, const DuplicateOptions& options,
                                  const std::vector<NodeId>& protectedFolders, NodeId within) {
  // Folders are met before what they hold, so a folder's marks come from
  // its parent's.
  std::vector<char> marked(tree.IdLimit(), 0), isProtected(tree.IdLimit(), 0), inside(tree.IdLimit(), 0);
  for (NodeId f : protectedFolders) marked.at(f) = 1;
  TreeDuplicates found;
  std::vector<DuplicateCandidate> candidates;
  std::deque<std::string> decoded;  // addresses whose references needed decoding
  tree.ForEachNode([&](NodeId id) {
    const NodeId parent = tree.Parent(id);
    isProtected[id] = marked[id] || (parent != kNoNode && isProtected[parent]);
    inside[id] = id == within || (parent != kNoNode && inside[parent]);
    if (tree.Kind(id) != NodeKind::Link || !inside[id]) return;
    DuplicateCandidate c;
    c.Raw = tree.RawAddress(id);
    c.Decoded = c.Raw;
    if (c.Raw.find('&') != std::string_view::npos || tree.Encoding() != TextEncoding::Utf8)
      c.Decoded = decoded.emplace_back(tree.Address(id));
    if (options.Keep == KeepPolicy::Oldest || options.Keep == KeepPolicy::Newest) c.Date = tree.AddDate(id);
    c.Protected = isProtected[id];
    c.Folder = parent;
    found.Links.push_back(id);
    candidates.push_back(c);
  });
  found.Groups = FindDuplicateGroups(candidates, options);
  return found;
}

TextPatch RemoveTreeDuplicates(BookmarkTree& tree, const TreeDuplicates& found) {
  const std::vector<NodeId> going = found.RemovedNodes();
  if (going.empty()) return {};
  return DeleteNodes(tree, going);
}

}  // namespace quillet
