#pragma once
// The window's commands on the Netscape bookmark file, without the window:
// the handlers run these and then refresh the view and set the modified flag.
#include <functional>

#include "bookmarks/Context.h"

namespace quillet {

// "Sa&ve Netscape Bookmarks", also the last step of "From &Netscape
// Bookmarks": saves the document over the bookmark file that was loaded
// (Config.NetscapeFile), after "Are you sure you want to replace your
// Netscape bookmarks?". An empty document is not saved ("There are no
// bookmarks to save."); without a loaded file nothing is saved, silently.
// Returns true when the file was saved: only then does the handler clear the
// modified flag. Nothing to refresh.
bool SaveOverNetscapeBookmarks(Context& ctx);

// "U&rls to Netscape Bookmarks": asks "Are you sure you want to append Urls
// to your Netscape bookmarks?"; on Yes runs askToSave (the window's "Html
// has been changed, Save Html now?" step, false when the user backed out of
// it) and appends the Favorites folder. Returns false when the user declined
// either: nothing happened. On true the document may have become the
// Favorites HTML: the handler calls UpdateHTML, and clears the modified flag
// when *written says the bookmark file was saved with it.
bool ImportUrlsIntoNetscape(Context& ctx, const std::function<bool()>& askToSave, bool* written = nullptr);

}  // namespace quillet
