#pragma once
// The batch: one conversion or clean-up chosen by the command line, run
// without a window.
#include <exception>
#include <ostream>

#include "app/CommandLine.h"
#include "bookmarks/Context.h"

namespace quillet {

// Runs the command the line names. Returns the exit status for the commands
// that report their own outcome; failures no step handles are thrown.
int RunBatch(Context& ctx, const CommandLine& cl);

// Runs the batch and turns an unhandled failure into its report on err and
// exit status 1.
int RunBatchReporting(Context& ctx, const CommandLine& cl, std::ostream& err);

// The two-line report of a failure: its kind, then its own text.
std::string FailureReport(const std::exception& e);

}  // namespace quillet
