#pragma once
// Edits of the bookmark tree that touch only what they change. Each edit
// changes the tree and its lines together and returns the change as a
// patch: every line of a node the edit did not touch stays byte for byte,
// so saving after an edit changes only the edited lines, and the patch
// inverted is the undo. Ids stay with their nodes.
//
// Titles and addresses are given as text (UTF-8); an edit writes them in
// the document's encoding and escapes them as its layout does. New items
// take the indentation, layout and spacing of the items around them.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/TextPatch.h"

namespace quillet {

// An edit that cannot be made (an id that is not there, a folder moved into
// itself); the tree is left as it was.
class TreeEditError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Where new or moved nodes go: into a folder, before one of its children,
// or (Before = kNoNode) after its last item, inside the list that holds its
// items.
struct InsertPosition {
  NodeId Folder = kRootNode;
  NodeId Before = kNoNode;
};

// Whether an edit makes its patch. A run that saves the result and keeps
// no undo spares the copies of every changed line a patch holds; the edit
// then returns an empty patch.
enum class PatchWanted { Yes, No };

// Renames a link or folder.
TextPatch RenameNode(BookmarkTree& tree, NodeId id, std::string_view title);

// Sets a link's address.
TextPatch SetLinkAddress(BookmarkTree& tree, NodeId id, std::string_view address);

// Deletes nodes with their descriptions, folders with everything in them.
// A node inside a folder that is deleted too goes with it. The start and end
// of a list without heading (opaque list starts and ends) stay, here and in
// every other edit: without them the list would take in what follows it.
TextPatch DeleteNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, PatchWanted patch = PatchWanted::Yes);

// Moves nodes, in the order given, to the position, each with its
// description and everything in it. A node inside a folder that is moved
// too moves with it. A folder cannot move into itself or below itself.
TextPatch MoveNodes(BookmarkTree& tree, const std::vector<NodeId>& ids, InsertPosition to);

// Puts a folder's children in the order given: all of them, each once; a
// list start or end among them keeps its place.
TextPatch ReorderChildren(BookmarkTree& tree, NodeId folder, const std::vector<NodeId>& order);

// ReorderChildren for many folders in one edit, whatever their number: one
// pass over the text. Nothing changes when any of the orders is refused.
struct FolderOrder {
  NodeId Folder = kRootNode;
  std::vector<NodeId> Children;
};
TextPatch ReorderFolders(BookmarkTree& tree, const std::vector<FolderOrder>& orders,
                         PatchWanted patch = PatchWanted::Yes);

struct Insertion {
  NodeId Id = kNoNode;
  TextPatch Patch;
};

// New items. The date, Unix seconds, is written where the layout writes
// dates (the browsers').
Insertion InsertFolder(BookmarkTree& tree, InsertPosition at, std::string_view title,
                       std::optional<int64_t> addDate = std::nullopt);
Insertion InsertLink(BookmarkTree& tree, InsertPosition at, std::string_view title, std::string_view address,
                     std::optional<int64_t> addDate = std::nullopt);
Insertion InsertSeparator(BookmarkTree& tree, InsertPosition at);

// Text made ready for the document's lines: in its encoding (characters
// Windows-1252 lacks, and the few that would make a UTF-8 text read as
// Windows-1252, as character references), control characters and bytes
// that are not UTF-8 as U+FFFD.
std::string EncodeForDocument(std::string_view utf8, TextEncoding encoding);

}  // namespace quillet
