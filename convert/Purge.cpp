#include "convert/Purge.h"

#include <vector>

#include "convert/ShortcutListing.h"
#include "platform/Path.h"

namespace quillet {

bool DeleteUrls(FileSystem& fs, const std::string& folder) {
  // An empty name would list the working folder: it names no folder at all.
  if (folder.empty()) return true;
  std::vector<DirEntry> entries;
  if (!fs.ListDir(folder, entries)) {
    // Gone or never there: nothing to delete. There but unreadable: its
    // shortcut files, if any, stay, and the user should hear of it.
    return !fs.DirectoryExists(folder);
  }
  const std::string prefix = EndsWithDelim(folder) ? folder : folder + PathDelim;
  bool ok = true;
  for (const DirEntry& e : entries) {
    if (!IsShortcutFileName(e.Name)) continue;
    // A folder (or a link to one) of that name is not a shortcut file; the
    // port would remove such a link, so refuse it here.
    if (e.IsDirectory || !fs.DeleteFile(prefix + e.Name)) ok = false;
  }
  for (const DirEntry& e : entries) {
    // A linked folder may lie anywhere, even above this one: the purge
    // stays inside the tree it was given.
    if (!IsVisibleSubfolder(e) || e.IsSymlink) continue;
    if (!DeleteUrls(fs, prefix + e.Name)) ok = false;
  }
  return ok;
}

void PurgeUrls(Context& ctx, const std::string& folderText) {
  // "Are you sure you want to delete all Urls in ?" would ask about nothing.
  if (folderText.empty()) {
    ctx.UI().ShowMessage("There is no folder to delete Urls in.");
    return;
  }
  if (ctx.UI().Ask("Are you sure you want to delete all Urls in " + folderText + "?") != Answer::Yes)
    return;
  std::string dir = folderText;
  if (EndsWithDelim(dir)) dir.pop_back();
  ctx.Config.FavoritesDir = dir;
  bool ok;
  {
    BusyCursor busy(ctx.UI());
    // The root "/" loses its delimiter as "C:\" does, but is still the root.
    ok = DeleteUrls(ctx.Fs(), dir.empty() && !folderText.empty() ? std::string(1, PathDelim) : dir);
  }
  if (!ok) ctx.UI().ShowMessage("Not all Urls could be removed.");
}

}  // namespace quillet
