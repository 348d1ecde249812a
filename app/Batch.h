#pragma once
// The batch: one conversion or clean-up chosen by the command line, run
// without a window.
#include <exception>
#include <ostream>
#include <span>

#include "app/CommandLine.h"
#include "app/Commands.h"
#include "bookmarks/Context.h"

namespace quillet {

// Runs the command the line selects in table (see CommandOf); a command
// word writes to out and err. Returns the exit status for the commands that
// report their own outcome; failures no step handles are thrown.
int RunBatch(Context& ctx, const CommandLine& cl, std::span<const Command> table, std::ostream& out,
             std::ostream& err);
// The same with every command, on standard output and error.
int RunBatch(Context& ctx, const CommandLine& cl);

// Runs the batch and turns an unhandled failure into its report on err and
// exit status 1; a command word's output goes to out (standard output when
// not given).
int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& out, std::ostream& err);
int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& err);

// The classic modes, rows of the command table. The mode word (first
// argument) picks between a named folder and the Favorites folder.
int RunUrlsToHtmlMode(Context& ctx, const CommandLine& cl);
int RunFavoritesToHtmlMode(Context& ctx, const CommandLine& cl);
int RunHtmlToUrlsMode(Context& ctx, const CommandLine& cl);
int RunNetscapeToUrlsMode(Context& ctx, const CommandLine& cl);
int RunUrlsToNetscapeMode(Context& ctx, const CommandLine& cl);

// The two-line report of a failure: its kind, then its own text.
std::string FailureReport(const std::exception& e);

}  // namespace quillet
