#pragma once
// `quillet profiles [--json]`: the browser profiles on this machine and the
// path of each one's bookmark store.
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

// Runs `quillet profiles ARGS...` (args exclude the program and the word),
// looking in ctx.HomeDir. Returns 0, or 2 for mistyped options.
int RunProfilesCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
