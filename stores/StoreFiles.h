#pragma once
// Reading a store's file into an outline, and saving one safely: what the
// convert command and the window's import and export share.
#include <string>

#include "bookmarks/Context.h"
#include "stores/ChromiumBookmarks.h"
#include "stores/StoreFormat.h"
#include "stores/StoreRead.h"

namespace quillet {

// Reads an html, chromium, firefox or firefox-backup store (a folder of
// shortcut files is read by the folder walk). An HTML file's problems are
// its reader's diagnostics. Throws EFOpenError when the file cannot be read
// and StoreError when it is not what the format says.
StoreRead ReadStoreFile(Context& ctx, const std::string& path, StoreFormat format);

// Replaces a file with text: an existing file is first copied to FILE.bak
// (once a run), then the text goes in through the atomic save. Throws
// EFCreateError when either cannot be written; the file is unchanged then.
void SaveWithBackup(Context& ctx, const std::string& path, const std::string& text);

// Writes the outline as a Chromium "Bookmarks" file, refused (StoreError)
// while the browser runs with that profile. Links whose address Chromium
// would drop are left out and listed in the result.
ChromiumWrite SaveChromiumBookmarks(Context& ctx, const std::string& path, const OutlineNode& root,
                                    const ChromiumKept* kept = nullptr);

}  // namespace quillet
