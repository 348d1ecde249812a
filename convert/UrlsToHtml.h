#pragma once
// Building the document from a folder tree of Internet Shortcut files.
#include <string>

#include "bookmarks/Context.h"

namespace quillet {

// The address stored in a shortcut file (see ShortcutUrlOfText), or "ERROR"
// when it cannot be read, is larger than kShortcutFileLimit or holds no URL
// entry.
std::string ReadShortcutUrl(FileSystem& fs, const std::string& path);

// What the document built from a folder becomes: a file of its own, or a
// block inserted into an existing bookmark file (which has its header
// already).
enum class UrlsToHtmlFor { File, Insertion };

// The name of the folder a path leads to: its last component, "." and ".."
// resolved; the path itself for the root.
std::string FolderTitle(const std::string& path);

// Replaces the document with the bookmark HTML of the folder tree. When the
// folder does not exist, shows "Directory not found", changes nothing and
// returns false. With the BrowserLayout option on, a file gets the header
// lines browsers write. A block for insertion gets a heading, the folder's
// name, written as a subfolder's heading is.
bool UrlsToHtml(Context& ctx, const std::string& folder, UrlsToHtmlFor use = UrlsToHtmlFor::File);

// Appends the block of one folder (title empty for the top folder).
void WalkUrlFolder(Context& ctx, const std::string& path, const std::string* title, int level);

}  // namespace quillet
