#pragma once
// `quillet info FILE [--json]`: what a bookmark file is and what is wrong
// with it, for a person or, with --json, for a script.
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

// Runs `quillet info ARGS...` (args exclude the program and the word). The
// report goes to out, messages to err. Returns 0 when the file was read,
// whatever is wrong with it; 1 when it cannot be read; 2 for mistyped
// options.
int RunInfoCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
