#pragma once
// The counts the status bar and the window's dialogs say what was done with.
#include <cstddef>
#include <string>

namespace quillet {

// "1 link" or "5,000 links": the count in groups of three digits.
inline std::string Counted(size_t n, const char* one, const char* many) {
  std::string digits = std::to_string(n);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits + " " + (n == 1 ? one : many);
}

}  // namespace quillet
