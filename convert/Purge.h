#pragma once
// Purging a shortcut folder: deleting every Internet Shortcut file of a
// folder tree, keeping the folders and every other file.
#include <string>

#include "bookmarks/Context.h"

namespace quillet {

// Deletes every "*.url" file in folder (given without a trailing delimiter)
// and in its visible subfolders. Links to folders are never followed, so
// nothing outside the tree is touched. True when every shortcut file was
// deleted, also when there was none or the folder does not exist; false when
// at least one stays (a write-protected file, a folder of that name, a
// subfolder that cannot be listed).
bool DeleteUrls(FileSystem& fs, const std::string& folder);

// The "&Purge Urls" command on the text of the folder box: asks first, then
// purges the folder it names (one trailing delimiter dropped, which also
// becomes Config.FavoritesDir) and says so when some shortcut files stay.
// The document is not touched. An empty folder box is refused with a message.
void PurgeUrls(Context& ctx, const std::string& folderText);

}  // namespace quillet
