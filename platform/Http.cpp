#include "platform/Http.h"

namespace quillet {

std::optional<std::string> HttpResponse::Header(std::string_view name) const {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const auto& [n, v] : Headers) {
    if (n.size() != name.size()) continue;
    size_t i = 0;
    while (i < n.size() && lower(n[i]) == lower(name[i])) ++i;
    if (i == n.size()) return v;
  }
  return std::nullopt;
}

}  // namespace quillet
