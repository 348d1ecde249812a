#include "convert/UrlsToHtml.h"

#include <vector>

#include "convert/BookmarkFormat.h"
#include "convert/ShortcutListing.h"
#include "platform/Path.h"

namespace quillet {

namespace {

void Append(Context& ctx, std::string line) {
  ctx.HtmlLines.push_back(std::move(line));
  if (ctx.Config.DoubleSpaceLines) ctx.HtmlLines.emplace_back();
}

}  // namespace

std::string ReadShortcutUrl(PrivateProfile& profile, const std::string& path) {
  return profile.ReadString(path, "InternetShortcut", "URL", "ERROR");
}

void WalkUrlFolder(Context& ctx, const std::string& path, const std::string* title, int level) {
  const bool indent = ctx.Config.IndentHtml;
  Append(ctx, IndentText(indent, level - 1) + std::string(ListOpenLine));
  if (title) Append(ctx, IndentText(indent, level) + HeadingLine(EscapeNameForLine(*title)));

  // One listing serves both passes: shortcuts first (whatever their
  // attributes), then the visible subfolders.
  std::vector<DirEntry> entries;
  if (ctx.Fs().ListDir(path, entries)) {
    const std::string prefix = path + PathDelim;
    const std::string linkIndent = IndentText(indent, level + 1);
    for (const DirEntry& e : entries) {
      if (!IsShortcutFileName(e.Name)) continue;
      const std::string address = ReadShortcutUrl(ctx.Profile(), prefix + e.Name);
      const std::string description = e.Name.substr(0, e.Name.size() - 4);
      Append(ctx, linkIndent + LinkLine(EscapeAddressForLine(address), EscapeNameForLine(description)));
    }
    for (const DirEntry& e : entries) {
      if (!IsVisibleSubfolder(e)) continue;
      // A link back to a folder above this one would make the walk endless.
      if (e.IsSymlink && ctx.Fs().IsAncestorOrSelf(prefix + e.Name, path)) continue;
      WalkUrlFolder(ctx, prefix + e.Name, &e.Name, level + 1);
    }
  }

  Append(ctx, IndentText(indent, level - 1) + std::string(ListCloseLine));
}

bool UrlsToHtml(Context& ctx, const std::string& folder) {
  if (!ctx.Fs().DirectoryExists(folder)) {
    ctx.UI().ShowMessage("Directory not found");
    return false;
  }
  {
    BusyCursor busy(ctx.UI());
    std::string dir = folder;
    if (EndsWithDelim(dir)) dir.pop_back();
    ctx.Config.FavoritesDir = dir;
    ctx.HtmlLines.clear();
    // The root folder "/" loses its delimiter like "C:\" does; list it as "/".
    WalkUrlFolder(ctx, dir.empty() ? std::string(1, PathDelim) : dir, nullptr, 1);
  }
  if (ctx.ReloadSettings) ctx.ReloadSettings(ctx);
  ctx.Config.CurrentFile.clear();
  return true;
}

}  // namespace quillet
