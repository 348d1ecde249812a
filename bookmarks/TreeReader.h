#pragma once
// Reading a bookmark document into the tree: Quillet's own layout (a
// folder's heading inside its list), the browsers' layout (the heading
// before its list) and the exports of today's browsers and bookmark
// services, in any letter case and indentation, with lists left open, <DD>
// descriptions over several lines, <HR> separators, header lines and
// several elements on one line. A line that fits nowhere is kept as an
// opaque node and reported; nothing is dropped.
#include "bookmarks/BookmarkTree.h"

namespace quillet {

// Never fails on what the lines hold. Throws std::length_error for a
// document of 2^32 - 1 lines or more, or a line that many bytes long.
BookmarkTree ReadBookmarkTree(TextLines lines);

}  // namespace quillet
