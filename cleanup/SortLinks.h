#pragma once
#include <string_view>

#include "bookmarks/Context.h"

namespace quillet {

// The description a link line is ordered by: from after the first '">'
// (from the second character when there is none) up to the first "</A>" in
// exact case; empty when that is missing or comes first.
std::string_view LinkSortDescription(std::string_view line);

// Sorts each run of link lines by description, links with equal
// descriptions by their whole lines, dropping blank lines; with
// DoubleSpaceLines on, an empty line follows every line of the result. A
// description ("<DD>", all its lines) right after a link moves with it.
// Returns how many links were sorted.
size_t SortLinks(Context& ctx);

}  // namespace quillet
