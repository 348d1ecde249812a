#include "convert/ShortcutFiles.h"

#include "bookmarks/FolderPath.h"
#include "convert/ShortcutListing.h"
#include "convert/UrlsToHtml.h"
#include "platform/Path.h"

namespace quillet {

namespace {

struct Walk {
  Context& Ctx;
  const std::string& Root;
  bool Dates;
  ShortcutTree Out;

  void Folder(const std::string& dir, const std::string& relative, const std::string& path) {
    const size_t index = Out.Folders.size();
    Out.Folders.push_back(path);
    std::vector<DirEntry> entries;
    if (!Ctx.Fs().ListDir(dir, entries)) return;
    for (const DirEntry& e : entries) {
      if (e.IsDirectory || !IsShortcutFileName(e.Name)) continue;
      ShortcutFile& f = Out.Files.emplace_back();
      f.Path = dir + PathDelim + e.Name;
      f.Relative = relative + e.Name;
      f.Title = e.Name.substr(0, e.Name.size() - 4);
      f.Url = ReadShortcutUrl(Ctx.Fs(), f.Path);
      f.Folder = index;
      if (Dates) f.Modified = Ctx.Fs().ModificationTime(f.Path);
    }
    for (const DirEntry& e : entries) {
      if (!IsVisibleSubfolder(e)) continue;
      const std::string sub = dir + PathDelim + e.Name;
      // A link into the tree: its files are listed where they lie. A link
      // to a folder above: the walk would never end.
      if (e.IsSymlink && (Ctx.Fs().IsAncestorOrSelf(Root, sub) || Ctx.Fs().IsAncestorOrSelf(sub, dir))) continue;
      Folder(sub, relative + e.Name + PathDelim, path.empty() ? EscapePathStep(e.Name)
                                                              : path + "/" + EscapePathStep(e.Name));
    }
  }
};

}  // namespace

ShortcutTree ListShortcutFiles(Context& ctx, const std::string& folder, bool withDates) {
  std::string root = folder;
  while (root.size() > 1 && EndsWithDelim(root)) root.pop_back();
  Walk walk{ctx, root, withDates, {}};
  walk.Folder(root, "", "");
  return std::move(walk.Out);
}

}  // namespace quillet
