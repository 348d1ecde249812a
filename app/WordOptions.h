#pragma once
// Parsing a command word's options the same way for every word.
#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillet {

// Parses args (the word's own, without the program and the word). When
// parsing ends the command (--help, or a mistyped option, told on err) the
// exit status to return: 0 for help, 2 for a mistake; else nullopt.
inline std::optional<int> ParseWordOptions(CLI::App& app, const std::vector<std::string>& args, std::ostream& out,
                                           std::ostream& err) {
  try {
    // CLI11 takes its arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? 0 : 2;
  }
  return std::nullopt;
}

}  // namespace quillet
