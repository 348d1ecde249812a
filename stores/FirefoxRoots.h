#pragma once
// What Firefox's two stores (the places database and its JSON backups)
// share: the roots and how a bookmark's values go into the outline.
#include <cstdint>
#include <string>
#include <string_view>

#include "bookmarks/TreeWriter.h"

namespace quillet {

// The title a root of Firefox's takes as a top-level folder, by its guid
// or, in a backup, its root name; nullptr for the tags root (tags go into
// the links' TAGS) and for anything that is no root.
const char* FirefoxRootTitle(std::string_view guidOrRootName);

// Removes, at every depth, the placeholders (opaque nodes) a reader kept
// for entries it could not read while it held pointers into the lists.
void DropPlaceholders(OutlineNode& root);

// Firefox's dates are microseconds since 1970: ADD_DATE and LAST_MODIFIED
// in seconds, when set. The toolbar root is marked as the toolbar folder.
void SetFirefoxFolderValues(OutlineNode& folder, int64_t added, int64_t modified, bool toolbar);
void SetFirefoxLinkValues(OutlineNode& link, int64_t added, int64_t modified, std::string_view keyword,
                          std::string_view tags);

}  // namespace quillet
