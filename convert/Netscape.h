#pragma once
// The Netscape browser's bookmark file: finding it through the browser's
// registry keys and preferences files, loading it into the document, and
// appending a shortcut folder to it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/Context.h"
#include "bookmarks/DocumentFile.h"

namespace quillet {

inline constexpr const char* kNetscapeNotLocated =
    "Could not locate Netscape Bookmark location in registry.  "
    "You will have to manually load the file yourself.";
inline constexpr const char* kNetscapeCannotSave =
    "Bookmarks cannot be saved, close Netscape if it is open.";

// The fields of a preferences line, cut at each comma outside double quotes.
// A double quote switches quoting and stays in the field; two in a row
// inside quotes stand for one.
std::vector<std::string> PrefsFields(std::string_view line);

// The bookmark location a preferences file ("prefs.js", "preferences.js")
// records, as written there (backslashes still doubled): taken from the
// first line holding "browser.bookmark_location". Empty text when that line
// has no usable second field; nothing when no line holds the key.
std::optional<std::string> BookmarkLocationFromPrefs(const TextLines& lines);

// Names joined by commas; a name holding blanks, commas, double quotes or
// control characters is quoted, its own quotes doubled.
std::string JoinNamesQuoted(const std::vector<std::string>& names);

// The local path of the existing bookmark file, or empty text. Asks for the
// user name when the registry knows several Netscape users. Changes nothing.
std::string FindNetscapeBookmarks(Context& ctx);

// Locates the bookmark file and loads it into the document. When it cannot
// be located, says so and leaves the document as it was. Returns true when
// the document now holds the file. A file whose text stops at a NUL byte is
// loaded up to it, with a message, and is then no longer the current or the
// bookmark file, so that nothing saves the shortened text over it.
bool LoadNetscapeBookmarks(Context& ctx);

// Loads the file named by Config.NetscapeFile (already located) into the
// document and makes it the current file.
DocumentLoad LoadNetscapeFile(Context& ctx);

// Builds the document from Config.FavoritesDir and inserts it at the end of
// the bookmark file's top list. Nothing is written when the file cannot be
// located or the folder does not exist. Returns true when the file was saved.
bool AppendUrlsToNetscape(Context& ctx);

// Saves lines over the bookmark file at path. Before the run's first change
// of that file, its previous text is copied to path + ".bak". When the file
// cannot be written, says "Bookmarks cannot be saved, close Netscape if it is
// open." and returns false, the file unchanged. Throws when the copy cannot
// be made (nothing is changed then either).
bool SaveNetscapeBookmarks(Context& ctx, const TextLines& lines, const std::string& path);

}  // namespace quillet
