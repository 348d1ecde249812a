#pragma once
// The batch command line. Linux hands the program an argument vector, so the
// whole line is the arguments joined with single blanks; empty arguments are
// dropped, as an empty pair of quotes is no argument at all.
#include <string>
#include <vector>

namespace quillet {

class CommandLine {
 public:
  CommandLine(int argc, const char* const* argv);
  explicit CommandLine(std::vector<std::string> args, std::string program = "quillet");

  // The program name and every argument, joined with single blanks.
  const std::string& RawCommandLine() const { return raw_; }
  // The n-th argument after the program name (n >= 1), "" when absent.
  std::string Argument(size_t n) const;
  size_t ArgumentCount() const { return args_.size(); }
  const std::vector<std::string>& Arguments() const { return args_; }
  // The switch's exact text occurs anywhere in the raw line.
  bool HasSwitch(const std::string& sw) const { return raw_.find(sw) != std::string::npos; }

 private:
  void Init(std::string program);
  std::vector<std::string> args_;
  std::string raw_;
};

}  // namespace quillet
