#pragma once
// The invariants of the bookmark tree, checked from its public face: for
// tests, the fuzz target and any caller that wants to be sure.
//
// 1. The root is a live folder without parent; every other live node has a
//    live folder as parent, stands in its children exactly once, and its
//    index there is the one it reports. No folder lies below itself.
// 2. The pieces of the live nodes in document order (a folder's head, its
//    children, its tail) follow each other without gap or overlap from the
//    start of the first line to the end of the last: together they are the
//    lines, each byte in exactly one piece.
// 3. Every link's piece holds an <A> with an HREF; every folder but the
//    root holds a heading tag in its head.
#include <string>

#include "bookmarks/BookmarkTree.h"

namespace quillet {

// "" when the tree keeps its invariants, else what is wrong.
std::string CheckTreeInvariants(const BookmarkTree& tree);

}  // namespace quillet
