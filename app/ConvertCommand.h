#pragma once
// `quillet convert IN OUT [--from FORMAT] [--to FORMAT] [--layout L]`:
// bookmarks from one store into another (html, urls, chromium, and, to read
// only, firefox and firefox-backup).
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

// Runs `quillet convert ARGS...` (args exclude the program and the word).
// What a reader skipped is said on err, one line each; the summary goes to
// out. Returns 0 when OUT was written, 1 when IN cannot be read or OUT
// cannot be written (or may not be, while its browser runs), 2 for
// mistyped options.
int RunConvertCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
