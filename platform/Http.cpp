#include "platform/Http.h"

#include "platform/AsciiCase.h"

namespace quillet {

std::optional<std::string> HttpResponse::Header(std::string_view name) const {
  for (const auto& [n, v] : Headers)
    if (EqualIgnoringAsciiCase(std::string_view(n), name)) return v;
  return std::nullopt;
}

}  // namespace quillet
