#pragma once
// The edits the organizer makes by hand that are more than one call of
// TreeEdit: moving a selection a step within its folders, copying items
// (folders with everything in them), links from text another program put on
// the clipboard, and the filter over a whole document.
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TextPatch.h"
#include "bookmarks/TreeEdit.h"

namespace quillet {

// The nodes a list shows: links, folders and separators (not opaque nodes).
bool IsListedNode(const BookmarkTree& tree, NodeId id);

// A folder's listed children, in document order.
std::vector<NodeId> ListedChildren(const BookmarkTree& tree, NodeId folder);

// Moves every listed node of ids one place up (step -1) or down (step +1)
// among the listed children of its folder; a node already at the end, or
// behind another selected node there, stays. One edit; an empty patch when
// nothing moves.
TextPatch StepWithinFolders(BookmarkTree& tree, const std::vector<NodeId>& ids, int step);

// Copies of the nodes (a folder with everything in it) at the position, in
// the order given; a node inside a folder that is copied too comes with it
// only once. Links keep their title, address and date, folders their title;
// the patches are in the order they were made. made gets the copies' ids.
std::vector<TextPatch> CopyNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, InsertPosition to,
                                 std::vector<NodeId>& made);

// The addresses in plain text, one a line (blanks around them dropped):
// lines that have a scheme ("https:", "mailto:") or start with "www.".
// Other lines are not addresses and are left out.
std::vector<std::string> AddressesInText(std::string_view text);

// The address has a scheme ("https://example.org", "mailto:a@b"): one the
// user typed without it does not lead anywhere as written.
bool HasScheme(std::string_view address);

// ERROR (what some exporters write for a link they could not save) or
// nothing: a link that leads nowhere.
bool IsBrokenAddress(std::string_view address);

}  // namespace quillet
