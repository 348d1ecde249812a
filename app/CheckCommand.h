#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "bookmarks/Context.h"
#include "check/LinkCheck.h"

namespace quillet {

// Runs `quillet check FILE [OPTIONS]` (args exclude the program and the
// word): checks every link of FILE, reports, and with -o OUT writes the
// document with dead links moved or permanent redirects applied. Exit 0 when
// no link is dead, 1 when one is or a file cannot be read or written, 2 for
// mistyped options.
// What every check of this program sends and how it reads links, for the
// command and the window alike: the User-Agent naming Quillet and its
// version, retries spread apart, file: links taken beside the document
// (docDir, with its trailing delimiter; empty: a relative file: link is
// skipped). The pace (timeouts, queues) stays as given.
void SetUpCheck(Context& ctx, const std::string& docDir, CheckOptions& options);

int RunCheckCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
