#pragma once
// `quillet sort FILE [options]`: sorts the items of each folder by name,
// address, site or date added, folders first, numbers by value, separators
// kept as fences; only the order within folders changes, every line keeps
// its bytes.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/Context.h"
#include "cleanup/TreeSort.h"

namespace quillet {

// Runs `quillet sort ARGS...` (args exclude the program and the word).
// Returns 0, 1 when a file cannot be read or written, 2 for mistyped
// options.
int RunSortCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The words of --by and --then (name, url, site, added) and of --folders
// (first, last, mixed); nothing for any other word.
std::optional<SortKeyKind> SortKeyNamed(std::string_view word);
std::optional<FolderPlacement> FolderPlacementNamed(std::string_view word);

}  // namespace quillet
