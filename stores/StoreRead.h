#pragma once
// What reading one of the browsers' stores gives: the bookmarks by value, as
// an outline every writer can print, and what the reader could not take.
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/TreeWriter.h"

namespace quillet {

// Something the reader skipped or doubts, reported as `quillet info` reports
// the problems of an HTML file: the line when the store has lines (0 when it
// has none), a kind, and what it was.
struct StoreProblem {
  size_t Line = 0;
  std::string Kind;
  std::string Text;
  bool operator==(const StoreProblem&) const = default;
};

struct ChromiumKept;

struct StoreRead {
  // The root holds the store's top-level folders (for a browser store, its
  // roots as "Bookmarks bar", "Other bookmarks" and so on).
  OutlineNode Root;
  std::vector<StoreProblem> Problems;
  // What a Chromium file held that the outline has no place for (ids, guids,
  // keys of other versions), so that writing it back keeps them. Null for
  // every other store.
  std::shared_ptr<const ChromiumKept> Kept;
};

// Counts of what an outline holds, for the reports.
struct OutlineCounts {
  size_t Folders = 0, Links = 0, Separators = 0;
};
OutlineCounts CountOutline(const OutlineNode& root);

// The attribute of that name (any letter case), or null.
const std::string* FindAttribute(const OutlineNode& node, std::string_view name);

}  // namespace quillet
