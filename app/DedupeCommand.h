#pragma once
// `quillet dedupe FILE [options]`: finds links that lead to the same page
// (exactly equal addresses, or equal by the rules asked for), shows them,
// and with --apply removes the copies. On a folder of shortcut files the
// copies go to the desktop's trash.
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"
#include "cleanup/NearDuplicates.h"
#include "convert/ShortcutFiles.h"

namespace quillet {

// Runs `quillet dedupe ARGS...` (args exclude the program and the word).
// Returns 0, 1 when a file cannot be read or written (or a shortcut file
// not moved to the trash), 2 for mistyped options.
int RunDedupeCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The groups of duplicate shortcut files of a listed folder (indices into
// its Files). A file in one of the protected folder paths, or below one,
// stays; a file that is a link to the one kept is never named as a copy.
std::vector<DuplicateGroup> FindShortcutDuplicates(Context& ctx, const ShortcutTree& tree,
                                                   const DuplicateOptions& options,
                                                   const std::vector<std::string>& protect = {});

}  // namespace quillet
