#pragma once
// The document as browsers import it with its folders: each folder's heading
// before its list. Quillet's own layout puts the heading first inside the
// list, which an importer reads as an empty folder followed by loose links.
#include "bookmarks/Context.h"

namespace quillet {

// The lines with every heading of the program's own layout, and the
// folder's description after it, moved before the list it names (the
// heading at that list's indentation), and the header browsers write
// first when the document has none. Every other line stays as it is, so a
// document in the browsers' layout already comes back unchanged but for the
// header, and the parts of a browser file with a block in the program's own
// layout appended each keep theirs.
TextLines ForBrowserImport(const TextLines& lines);

}  // namespace quillet
