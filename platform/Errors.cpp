#include "platform/Errors.h"

namespace quillet {

std::string FormatText(const std::string& fmt, const std::string& arg) {
  const auto at = fmt.find("%s");
  if (at == std::string::npos) return fmt;
  return fmt.substr(0, at) + arg + fmt.substr(at + 2);
}

}  // namespace quillet
