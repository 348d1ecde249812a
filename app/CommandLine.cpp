#include "app/CommandLine.h"

namespace quillet {

CommandLine::CommandLine(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i)
    if (argv[i] && argv[i][0]) args_.emplace_back(argv[i]);
  Init(argc > 0 && argv[0] ? argv[0] : "quillet");
}

CommandLine::CommandLine(std::vector<std::string> args, std::string program) {
  for (auto& a : args)
    if (!a.empty()) args_.push_back(std::move(a));
  Init(std::move(program));
}

void CommandLine::Init(std::string program) {
  raw_ = std::move(program);
  for (const auto& a : args_) raw_.append(" ").append(a);
}

std::string CommandLine::Argument(size_t n) const {
  return n >= 1 && n <= args_.size() ? args_[n - 1] : std::string();
}

}  // namespace quillet
