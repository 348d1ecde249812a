#pragma once
// Building the document from a folder tree of Internet Shortcut files.
#include <functional>
#include <string>

#include "bookmarks/Context.h"
#include "convert/ShortcutText.h"
#include "platform/TextCodec.h"

namespace quillet {

// The address stored in a shortcut file (see ShortcutUrlOfText), or "ERROR"
// when it cannot be read, is larger than kShortcutFileLimit or holds no URL
// entry.
std::string ReadShortcutUrl(FileSystem& fs, const std::string& path);
// The same, saying whether the address is known to be Unicode (see
// ShortcutAddressOfText).
ShortcutAddress ReadShortcutAddress(FileSystem& fs, const std::string& path);

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
// lines browsers write, naming UTF-8 when every line is UTF-8, else
// windows-1252; in the latter, addresses read as Unicode are written in it
// too, characters it lacks as references. A block for insertion gets a heading, the folder's
// name, written as a subfolder's heading is.
//
// into, when given, names the encoding of the file a block for insertion
// goes into; it is asked once the rest is done, so it may read that file
// then. For Windows-1252 every name and address outside ASCII that is
// UTF-8 is written in Windows-1252, characters it lacks as references.
using InsertionEncoding = std::function<TextEncoding()>;
bool UrlsToHtml(Context& ctx, const std::string& folder, UrlsToHtmlFor use = UrlsToHtmlFor::File,
                const InsertionEncoding& into = {});

}  // namespace quillet
