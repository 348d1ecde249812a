#pragma once
// Runs the built program as a user would: arguments, standard input, and the
// environment, capturing its output and exit status.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace quillet::test {

struct ProgramResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// A program started and left running, for tests that act while it runs.
// Its standard input is closed unless Finish is given some.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::string& workDir = "", const std::vector<std::string>& env = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Reads the program's output until its standard error holds text (true) or
  // it has closed both outputs (false).
  bool WaitForError(const std::string& text);
  // Feeds input, reads everything and waits for the program to end.
  ProgramResult Finish(const std::string& input = "");

 private:
  void Pump(const std::string& input, size_t& sent, const std::function<bool()>& done);
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, err_ = -1;
  ProgramResult result_;
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
