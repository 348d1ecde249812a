#pragma once
// Counts as the program writes them for people: "1,234,567", "1 link",
// "5,000 links".
#include <cstddef>
#include <string>

namespace quillet {

inline std::string Grouped(size_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

inline std::string Counted(size_t n, const char* one, const char* many) {
  return Grouped(n) + " " + (n == 1 ? one : many);
}

}  // namespace quillet
