#include "app/NetscapeCommands.h"

#include "convert/Netscape.h"

namespace quillet {

bool SaveOverNetscapeBookmarks(Context& ctx) {
  if (ctx.HtmlLines.empty()) {
    ctx.UI().ShowMessage("There are no bookmarks to save.");
    return false;
  }
  // Closing the question without an answer replaces nothing.
  if (ctx.UI().Ask("Are you sure you want to replace your Netscape bookmarks?") != Answer::Yes) return false;
  // The file the document was loaded from, never one a new search happens to
  // find (another user, or none).
  const std::string path = ctx.Config.NetscapeFile;
  ctx.Config.CurrentFile = path;
  if (path.empty() || !ctx.Fs().FileExists(path)) return false;
  return SaveNetscapeBookmarks(ctx, ctx.HtmlLines, path);
}

bool ImportUrlsIntoNetscape(Context& ctx, const std::function<bool()>& askToSave, bool* written) {
  if (ctx.UI().Ask("Are you sure you want to append Urls to your Netscape bookmarks?") != Answer::Yes)
    return false;
  if (askToSave && !askToSave()) return false;
  const bool saved = AppendUrlsToNetscape(ctx);
  if (written) *written = saved;
  return true;
}

}  // namespace quillet
