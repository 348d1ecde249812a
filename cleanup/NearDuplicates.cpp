#include "cleanup/NearDuplicates.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <span>

#include "bookmarks/TreeEdit.h"

namespace quillet {

namespace {

// Numbers distinct keys in the order they are first met. Each key is kept
// once, in one block of text, and found again by its hash, whose upper half
// stands in its slot beside the number so that most slots that do not match
// are passed over on that alone: no allocation per key, which matters for a
// million links.
class KeyNumbers {
 public:
  explicit KeyNumbers(size_t expected) {
    // At most three quarters full: a small table stays in the cache.
    size_t slots = 16;
    while (slots < expected) slots <<= 1;
    slots_.assign(slots, Slot{});
    // Room for typical addresses: pages not written to cost nothing.
    hashes_.reserve(expected);
    ends_.reserve(expected);
    text_.reserve(expected * 64);
  }

  static uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

  uint32_t Size() const { return static_cast<uint32_t>(hashes_.size()); }

  // Asks for the slot a hash starts at ahead of Number, which then finds it
  // in the cache.
  void Prefetch(uint64_t hash) const { __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]); }

  // The key's number; a new one for a key not met before.
  uint32_t Number(std::string_view key, uint64_t hash) {
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = slots_.size() - 1;
    for (size_t s = hash & mask;; s = (s + 1) & mask) {
      const Slot slot = slots_[s];
      if (slot.Number == kFree) {
        slots_[s] = {Size(), tag};
        hashes_.push_back(hash);
        text_.append(key);
        ends_.push_back(text_.size());
        if (hashes_.size() * 4 > slots_.size() * 3) Grow();
        return Size() - 1;
      }
      if (slot.Tag == tag && hashes_[slot.Number] == hash && Text(slot.Number) == key) return slot.Number;
    }
  }

 private:
  static constexpr uint32_t kFree = UINT32_MAX;
  struct Slot {
    uint32_t Number = kFree;
    uint32_t Tag = 0;
  };
  std::vector<Slot> slots_;
  std::vector<uint64_t> hashes_;
  std::vector<size_t> ends_;
  std::string text_;

  std::string_view Text(uint32_t n) const {
    const size_t b = n ? ends_[n - 1] : 0;
    return std::string_view(text_).substr(b, ends_[n] - b);
  }
  void Grow() {
    slots_.assign(slots_.size() * 2, Slot{});
    const size_t mask = slots_.size() - 1;
    for (uint32_t n = 0; n < Size(); ++n) {
      size_t s = hashes_[n] & mask;
      while (slots_[s].Number != kFree) s = (s + 1) & mask;
      slots_[s] = {n, static_cast<uint32_t>(hashes_[n] >> 32)};
    }
  }
};

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
  constexpr uint32_t kNone = UINT32_MAX;
  // Each candidate's key number; numbers go by the key's first candidate.
  std::vector<uint32_t> number(candidates.size(), kNone);
  KeyNumbers numbers(candidates.size());
  {
    // Keys wait a few candidates in a ring while their slots are fetched,
    // and are numbered in candidate order as they leave it.
    struct Waiting {
      size_t Index = 0;
      uint64_t Hash = 0;
      std::string Key;
    };
    constexpr size_t kAhead = 16;
    std::array<Waiting, kAhead> ring;
    size_t queued = 0;
    auto settle = [&](Waiting& w) { number[w.Index] = numbers.Number(w.Key, w.Hash); };
    AddressKeyMaker maker(options.Rules);
    for (size_t i = 0; i < candidates.size(); ++i) {
      const DuplicateCandidate& c = candidates[i];
      if (c.Raw.empty() || c.Raw.front() == '#') continue;
      Waiting& w = ring[queued % kAhead];
      if (queued++ >= kAhead) settle(w);
      w.Index = i;
      w.Key.clear();
      if (options.Scope == DuplicateScope::Folder) w.Key.assign(reinterpret_cast<const char*>(&c.Folder), sizeof c.Folder);
      w.Key += maker.Key(c.Raw, c.Decoded);
      w.Hash = KeyNumbers::Hash(w.Key);
      numbers.Prefetch(w.Hash);
    }
    for (size_t k = queued > kAhead ? queued - kAhead : 0; k < queued; ++k) settle(ring[k % kAhead]);
  }
  // The members of every key met more than once, in document order.
  std::vector<uint32_t> count(numbers.Size(), 0);
  for (uint32_t n : number)
    if (n != kNone) ++count[n];
  std::vector<size_t> begin(numbers.Size() + 1, 0);
  for (size_t n = 0; n < count.size(); ++n) begin[n + 1] = begin[n] + (count[n] > 1 ? count[n] : 0);
  std::vector<size_t> members(begin.back());
  std::vector<size_t> fill(begin.begin(), begin.end() - 1);
  for (size_t i = 0; i < candidates.size(); ++i)
    if (number[i] != kNone && count[number[i]] > 1) members[fill[number[i]]++] = i;

  std::vector<DuplicateGroup> groups;
  std::vector<size_t> pool;
  for (size_t n = 0; n < count.size(); ++n) {
    if (count[n] < 2) continue;
    const auto all = std::span(members).subspan(begin[n], begin[n + 1] - begin[n]);
    pool.clear();
    for (size_t i : all)
      if (candidates[i].Protected) pool.push_back(i);
    if (pool.empty()) pool.assign(all.begin(), all.end());
    DuplicateGroup g;
    g.Kept = ChooseKept(pool, candidates, options.Keep);
    for (size_t i : all)
      if (i != g.Kept && !candidates[i].Protected) g.Removed.push_back(i);
    if (!g.Removed.empty()) groups.push_back(std::move(g));
  }
  // Keys are numbered by their first candidate, so the groups already stand
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
  candidates.reserve(tree.IdLimit());
  found.Links.reserve(tree.IdLimit());
  std::deque<std::string> decoded;  // addresses whose references needed decoding
  tree.ForEachNode([&](NodeId id) {
    const NodeId parent = tree.Parent(id);
    isProtected[id] = marked[id] || (parent != kNoNode && isProtected[parent]);
    inside[id] = id == within || (parent != kNoNode && inside[parent]);
    if (tree.Kind(id) != NodeKind::Link || !inside[id]) return;
    DuplicateCandidate c;
    c.Raw = tree.RawAddress(id);
    c.Decoded = c.Raw;
    // Only rules look at the decoded address; the exact match compares raw.
    if (options.Rules.Rules != 0 && (c.Raw.find('&') != std::string_view::npos || tree.Encoding() != TextEncoding::Utf8))
      c.Decoded = decoded.emplace_back(tree.DecodeText(c.Raw));
    if (options.Keep == KeepPolicy::Oldest || options.Keep == KeepPolicy::Newest) c.Date = tree.AddDate(id);
    c.Protected = isProtected[id];
    c.Folder = parent;
    found.Links.push_back(id);
    candidates.push_back(c);
  });
  found.Groups = FindDuplicateGroups(candidates, options);
  return found;
}

TextPatch RemoveTreeDuplicates(BookmarkTree& tree, const TreeDuplicates& found, PatchWanted patch) {
  const std::vector<NodeId> going = found.RemovedNodes();
  if (going.empty()) return {};
  return DeleteNodes(tree, going, patch);
}

}  // namespace quillet
