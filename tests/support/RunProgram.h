#pragma once
// Runs the built program as a user would: arguments, standard input, and the
// environment, capturing its output and exit status.
#include <string>
#include <vector>

namespace quillet::test {

struct ProgramResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "", const std::string& workDir = "",
                         const std::vector<std::string>& env = {});

// Runs the quillet binary of this build.
ProgramResult RunQuillet(const std::vector<std::string>& args, const std::string& input = "",
                         const std::string& workDir = "", const std::vector<std::string>& env = {});

// Copies the program into dir, so that dir is its own folder: its settings
// file and error log live there, apart from every other test's.
std::string PortableCopy(const std::string& dir);

}  // namespace quillet::test
