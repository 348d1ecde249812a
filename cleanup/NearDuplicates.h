#pragma once
// Finding links that lead to the same page: exactly equal addresses, or
// addresses the chosen rules make equal. Each group keeps one copy, chosen
// by a policy, and names the others; nothing is removed here. The search
// works on candidates (links of a document, or shortcut files of a folder)
// so that both share the one set of rules.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TextPatch.h"
#include "bookmarks/TreeEdit.h"
#include "cleanup/AddressRules.h"

namespace quillet {

// Where copies are looked for: across the whole document, or only among
// one folder's own links (not its subfolders').
enum class DuplicateScope { File, Folder };

// Which copy of a group stays: the first or last in document order, or the
// one added first or last (ADD_DATE); a copy without a date never beats one
// with a date, and equal dates, or none, fall back to the first.
enum class KeepPolicy { First, Last, Oldest, Newest };

struct DuplicateOptions {
  AddressRules Rules;
  DuplicateScope Scope = DuplicateScope::File;
  KeepPolicy Keep = KeepPolicy::First;
};

// One link as the search sees it. Candidates come in document order.
struct DuplicateCandidate {
  std::string_view Raw;      // the address as written
  std::string_view Decoded;  // the same, character references decoded
  std::optional<int64_t> Date;
  // Never removed, and kept before any copy that is not protected.
  bool Protected = false;
  // With DuplicateScope::Folder, only candidates of one folder are compared.
  uint64_t Folder = 0;
};

// Indices into the candidates: the copy that stays and those that go, in
// document order.
struct DuplicateGroup {
  size_t Kept = 0;
  std::vector<size_t> Removed;
};

// Every group that has a copy to remove, in the order of the group's first
// candidate. Empty addresses and those starting with "#" are never compared.
std::vector<DuplicateGroup> FindDuplicateGroups(const std::vector<DuplicateCandidate>& candidates,
                                                const DuplicateOptions& options);

// The search over a bookmark tree.
struct TreeDuplicates {
  std::vector<NodeId> Links;  // every link looked at, in document order
  std::vector<DuplicateGroup> Groups;  // indices into Links
  // The links the groups remove, in document order.
  std::vector<NodeId> RemovedNodes() const;
};

// Looks at the links in the folder within and below it (the whole document
// for the root). A link in one of the protected folders, or below one, is
// never removed.
TreeDuplicates FindTreeDuplicates(const BookmarkTree& tree, const DuplicateOptions& options,
                                  const std::vector<NodeId>& protectedFolders = {}, NodeId within = kRootNode);

// Removes the copies, each with its description, in one edit. A caller
// that lets the user untick copies passes its own list to DeleteNodes.
TextPatch RemoveTreeDuplicates(BookmarkTree& tree, const TreeDuplicates& found,
                               PatchWanted patch = PatchWanted::Yes);

}  // namespace quillet
