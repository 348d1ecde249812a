#pragma once
// Handing files, folders and addresses to the desktop: the Favorites folder
// from the registry, the preview in the web browser, the Help menu's web and
// e-mail commands and the links clicked in the HTML pane.
#include <functional>
#include <string>

#include "bookmarks/Context.h"

namespace quillet {

// The user's Favorites folder as the registry records it, turned into the
// local path it stands for; empty text when there is none. Throws
// ERegistryException when the value is not text.
std::string FavoritesFolderFromRegistry(Registry& reg);

// Opens a file or address with its default program; on failure shows
// "Could not launch " + name titled "Launch Error" and returns false.
bool LaunchDocument(Context& ctx, const std::string& name);

// Opens a web or mail address, asking "Connect to the Internet now?" first
// when askFirst. False when not asked for or not handed over ("Could not
// start your Internet browser", titled "Launch Error").
bool OpenWebAddress(Context& ctx, const std::string& address, bool askFirst);

// The preview file's name.
std::string PreviewFileName(const Context& ctx);
// Writes the document to the preview file and gives its name back; false,
// touching nothing, when the document is empty. Throws EFCreateError.
bool SaveHtmlToTemp(Context& ctx, std::string& name);

// "&View In Browser": the whole document in the default web browser.
void ViewPageInBrowser(Context& ctx);

// "&Explore Favorites" and "Ope&n Favorites": the folder (the folder
// field's text) in the file manager.
void ExploreFavorites(Context& ctx, const std::string& folder);
void OpenFavorites(Context& ctx, const std::string& folder);

// The Help menu: "&Quillet Web Page"; "Varnholt &Home Page", whose false
// result asks the window to show help topic 160 instead; "&E-mail Feedback".
void OpenProductPage(Context& ctx);
bool OpenMakerPage(Context& ctx);
void EmailFeedback(Context& ctx);

// A link clicked in the HTML pane. Web ("http:", "https:") and mail links go to the
// desktop; a link to a local program (".exe") starts it with the text after
// the first blank or "?" as its parameters; ".mid" and ".avi" files are
// played with their default program. expandLinkPath is the pane's, which
// knows the document's base. Returns Handled: false leaves the link to the
// pane.
bool HotSpotClick(Context& ctx, const std::string& url,
                  const std::function<std::string(const std::string&)>& expandLinkPath);

}  // namespace quillet
