#pragma once
#include <string>
#include <string_view>

#include "convert/Context.h"

namespace quillet {

// Stands between a link's description and its whole line in the sort text,
// so that links with the same description are ordered by their lines.
inline constexpr char SortSeparator = '\xB9';

// The text a link line is ordered by: its description, SortSeparator, the
// whole line. In a line that is valid UTF-8 the separator is written in
// UTF-8 too, so that the collation reads the text as the line is read.
std::string LinkSortText(std::string_view line);

// Sorts each run of link lines by description, dropping blank lines; with
// DoubleSpaceLines on, an empty line follows every line of the result. A
// description line ("<DD>") right after a link moves with it. Returns how
// many links were sorted.
size_t SortLinks(Context& ctx);

}  // namespace quillet
