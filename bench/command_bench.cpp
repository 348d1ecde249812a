// Runs one of the new command words the way the program will once its table
// of commands dispatches them, for bench/run to time from outside:
//   command_bench dedupe ARGS...    as `quillet dedupe ARGS...`
//   command_bench sort ARGS...      as `quillet sort ARGS...`
// The context is the batch's: the real file system, the terminal, the
// collation of the user's locale. Settings, registry and shell are not set:
// these commands use none of them.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/DedupeCommand.h"
#include "app/SortCommand.h"
#include "bookmarks/Context.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/TerminalUi.h"

using namespace quillet;

int main(int argc, char** argv) {
  const std::string word = argc > 1 ? argv[1] : "";
  if (word != "dedupe" && word != "sort") {
    std::cerr << "usage: command_bench dedupe|sort ARGS...\n";
    return 2;
  }
  PosixFileSystem fs;
  IniProfile profile(fs);
  TerminalUi terminal(std::cin, std::cerr);
  IcuCollation collation(CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
  Context ctx;
  ctx.Services = {&fs, &profile, &terminal, &collation};
  const std::vector<std::string> args(argv + 2, argv + argc);
  return word == "dedupe" ? RunDedupeCommand(ctx, args, std::cout, std::cerr)
                          : RunSortCommand(ctx, args, std::cout, std::cerr);
}
