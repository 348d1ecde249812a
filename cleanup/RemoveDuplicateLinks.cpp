#include "cleanup/RemoveDuplicateLinks.h"

#include <string_view>
#include <unordered_set>
#include <vector>

#include "convert/BookmarkFormat.h"

namespace quillet {

void RemoveDuplicateLinks(Context& ctx) {
  TextLines& lines = ctx.HtmlLines;
  if (lines.empty()) return;
  BusyCursor busy(ctx.UI());
  // A line goes when its address was seen on an earlier line. Lines without
  // an address are never compared and always stay. The set holds views into
  // the lines, so the lines stay where they are until every address is seen.
  std::vector<bool> drop(lines.size());
  {
    std::unordered_set<std::string_view> seen;
    seen.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string_view address = LinkAddressView(lines[i]);
      if (!address.empty() && !seen.insert(address).second) drop[i] = true;
    }
  }
  size_t kept = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (drop[i]) continue;
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
}

}  // namespace quillet
