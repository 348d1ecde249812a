#pragma once
// Sorting a bookmark tree the ways people ask for: by name, address, site
// or date added, folders first, last or among the links, numbers by value,
// separators kept as fences, some folders left as they are. Only the order
// of items within their folders changes: a description moves with its
// link, a folder with everything in it, nothing changes folder, nothing is
// dropped, and the text is spliced, so every line keeps its bytes. The sort
// is stable: equal keys keep their order, and sorting twice changes nothing.
#include <cstddef>
#include <optional>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TextPatch.h"
#include "bookmarks/TreeEdit.h"
#include "cleanup/NaturalOrder.h"
#include "platform/Collation.h"

namespace quillet {

// name: the title. url: the address. site: the host without "www.", then
// the address. added: ADD_DATE, oldest first. A link without a date (or,
// for site, without a host) comes after the others, also in reverse. A
// folder is sorted by its title, or its ADD_DATE for added.
enum class SortKeyKind { Name, Url, Site, Added };

// Within each run between separators: folders before the links, after
// them, or among them by the same key.
enum class FolderPlacement { First, Last, Mixed };

struct TreeSortOptions {
  SortKeyKind By = SortKeyKind::Name;
  std::optional<SortKeyKind> Then;  // decides between equal keys
  bool Reverse = false;
  FolderPlacement Folders = FolderPlacement::First;
  TextOrder Text;
  // The folders to sort (the root when empty): with Recursive, each with
  // every folder below it; otherwise only their own items.
  std::vector<NodeId> Within;
  bool Recursive = true;
  // Folders whose own items keep their order (their subfolders are still
  // sorted); with KeepToolbarOrder also the toolbar folder.
  std::vector<NodeId> KeepOrder;
  bool KeepToolbarOrder = false;
};

struct TreeSortPlan {
  // The new orders of the folders whose order changes, in document order.
  std::vector<FolderOrder> Orders;
  size_t FoldersSorted = 0;  // folders looked at, changed or not
  size_t ItemsMoved = 0;     // links and folders that take another place
};

// What the sort would do, the tree left as it is.
TreeSortPlan PlanTreeSort(const BookmarkTree& tree, const TreeSortOptions& options, Collation& collation);

struct TreeSortResult {
  TreeSortPlan Plan;
  TextPatch Patch;  // empty when everything was in order already
};

// Sorts in one edit.
TreeSortResult SortTree(BookmarkTree& tree, const TreeSortOptions& options, Collation& collation,
                        PatchWanted patch = PatchWanted::Yes);

}  // namespace quillet
