#pragma once
// `quillet sort FILE [options]`: sorts the items of each folder by name,
// address, site or date added, folders first, numbers by value, separators
// kept as fences; only the order within folders changes, every line keeps
// its bytes.
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

// Runs `quillet sort ARGS...` (args exclude the program and the word).
// Returns 0, 1 when a file cannot be read or written, 2 for mistyped
// options.
int RunSortCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
