#pragma once
// Folder paths: how options, reports and columns name a folder. A path is
// the folder titles from the top level down (references decoded, tags
// dropped), joined by "/"; a "/" inside a title is written "\/" and a "\"
// as "\\", so that every path reads back as the titles it was made of. The
// top level is "". Matching is exact and case-sensitive; a path covers the
// folder it names and everything below it.
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"

namespace quillet {

// One title as a step of a path.
std::string EscapePathStep(std::string_view title);

// The path of a folder; for any other node, the path of the folder it is in.
std::string FolderPathOf(const BookmarkTree& tree, NodeId id);

// The titles a path is made of ("" gives none). A "\" before anything but
// "/" or "\" stands for itself.
std::vector<std::string> SplitFolderPath(std::string_view path);

// path names the folder other names, or one above it.
bool PathCovers(std::string_view path, std::string_view other);

// Every folder the path names, in document order (titles need not be
// unique); the root for "" (which is also the path of an untitled folder at
// the top level: a path cannot tell those two apart).
std::vector<NodeId> FindFolders(const BookmarkTree& tree, std::string_view path);

}  // namespace quillet
