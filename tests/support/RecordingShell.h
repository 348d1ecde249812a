#pragma once
// The Shell test double: records every request and answers with Result.
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace quillet::test {

struct ShellCall {
  std::string Kind;  // "open", "explore", "start" or "help"
  std::string Target;
  std::string Params;
  bool operator==(const ShellCall&) const = default;
};

class RecordingShell : public Shell {
 public:
  bool Open(const std::string& target) override { return Record("open", target); }
  bool Explore(const std::string& folder) override { return Record("explore", folder); }
  bool StartProgram(const std::string& program, const std::string& params) override {
    return Record("start", program, params);
  }
  bool ShowHelp(const std::string& page) override { return Record("help", page); }

  std::vector<ShellCall> Calls;
  bool Result = true;  // what every request answers

 private:
  bool Record(const char* kind, const std::string& target, const std::string& params = "") {
    Calls.push_back({kind, target, params});
    return Result;
  }
};

}  // namespace quillet::test
