#include "cleanup/RemoveDuplicateLinks.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

size_t RemoveDuplicateLinks(Context& ctx) {
  TextLines& lines = ctx.HtmlLines;
  if (lines.empty()) return 0;
  BusyCursor busy(ctx.UI());
  // A line goes when its address was seen on an earlier line; its
  // description, starting on the next line that is not blank, goes with it,
  // all its lines. Lines without an address are never compared and otherwise
  // stay. The set holds views into the lines, so the lines stay where they
  // are until every address is seen.
  std::vector<bool> drop(lines.size());
  size_t removed = 0;
  {
    std::unordered_set<std::string_view> seen;
    seen.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      if (drop[i]) continue;
      const std::string_view address = LinkAddressView(lines[i]);
      if (address.empty() || seen.insert(address).second) continue;
      drop[i] = true;
      ++removed;
      size_t next = i + 1;
      while (next < lines.size() && IsBlankText(lines[next])) ++next;
      if (next < lines.size() && IsDescriptionLine(lines[next]))
        std::fill(drop.begin() + static_cast<std::ptrdiff_t>(next),
                  drop.begin() + static_cast<std::ptrdiff_t>(DescriptionEnd(lines, next)), true);
    }
  }
  size_t kept = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (drop[i]) continue;
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
  return removed;
}

}  // namespace quillet
