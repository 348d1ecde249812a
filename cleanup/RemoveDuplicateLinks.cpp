#include "cleanup/RemoveDuplicateLinks.h"

#include <unordered_set>

#include "convert/BookmarkFormat.h"

namespace quillet {

void RemoveDuplicateLinks(Context& ctx) {
  TextLines& lines = ctx.HtmlLines;
  if (lines.empty()) return;
  BusyCursor busy(ctx.UI());
  // One pass: a line goes when its address was seen on an earlier line. Lines
  // without an address are never compared and always stay.
  std::unordered_set<std::string> seen;
  seen.reserve(lines.size());
  size_t kept = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string address = LinkAddress(lines[i]);
    if (!address.empty() && !seen.insert(std::move(address)).second) continue;
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
}

}  // namespace quillet
