#include "convert/UrlsToHtml.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bookmarks/BookmarkFormat.h"
#include "convert/ShortcutListing.h"
#include "convert/ShortcutText.h"
#include "platform/Path.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

void Append(Context& ctx, std::string line) {
  ctx.HtmlLines.push_back(std::move(line));
  if (ctx.Config.DoubleSpaceLines) ctx.HtmlLines.emplace_back();
}

// How the walk writes its lines. The program's own layout puts a folder's
// heading inside its list and indents two blanks a level. The browser layout
// writes what browsers export and their importers expect: the heading before
// its list, four blanks a level, each entry's date, and every "&" as "&amp;",
// since those importers decode references.
struct WalkLayout {
  bool Browser;
  bool Indent;

  explicit WalkLayout(const TConfig& c) : Browser(c.BrowserLayout), Indent(c.IndentHtml) {}

  std::string At(int level) const { return IndentText(Indent, level, Browser ? 4 : 2); }
  std::string ListIndent(int level) const { return At(level - 1); }
  std::string HeadingIndent(int level) const { return At(Browser ? level - 1 : level); }
  std::string LinkIndent(int level) const { return At(Browser ? level : level + 1); }
  AmpersandEscape Ampersands() const {
    return Browser ? AmpersandEscape::Always : AmpersandEscape::WhereAmbiguous;
  }
  // The modification time of a shortcut file or folder, for the browser
  // layout; a time before 1970 means nothing to an importer.
  std::optional<int64_t> Date(FileSystem& fs, const std::string& path) const {
    if (!Browser) return std::nullopt;
    const std::optional<int64_t> t = fs.ModificationTime(path);
    return t && *t >= 0 ? t : std::nullopt;
  }
};

}  // namespace

std::string FolderTitle(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p(path);
  // "." and ".." name the folders they stand for.
  std::error_code ec;
  if (p.is_relative()) {
    fs::path absolute = fs::absolute(p, ec);
    if (!ec) p = std::move(absolute);
  }
  p = p.lexically_normal();
  if (!p.has_filename()) p = p.parent_path();
  const std::string name = p.filename().string();
  return name.empty() ? path : name;
}

std::string ReadShortcutUrl(FileSystem& fs, const std::string& path) {
  std::string text;
  if (fs.ReadFileUpTo(path, kShortcutFileLimit, text).Outcome != FileSystem::ReadOutcome::Read) return "ERROR";
  return ShortcutUrlOfText(text).value_or("ERROR");
}

void WalkUrlFolder(Context& ctx, const std::string& path, const std::string* title, int level) {
  const WalkLayout layout(ctx.Config);
  const AmpersandEscape amp = layout.Ampersands();
  auto heading = [&] {
    Append(ctx, layout.HeadingIndent(level) + HeadingLine(EscapeNameForLine(*title, amp), layout.Date(ctx.Fs(), path)));
  };
  if (title && layout.Browser) heading();
  Append(ctx, layout.ListIndent(level) + std::string(ListOpenLine));
  if (title && !layout.Browser) heading();

  // One listing serves both passes: shortcuts first (whatever their
  // attributes), then the visible subfolders.
  std::vector<DirEntry> entries;
  if (ctx.Fs().ListDir(path, entries)) {
    const std::string prefix = path + PathDelim;
    const std::string linkIndent = layout.LinkIndent(level);
    for (const DirEntry& e : entries) {
      if (!IsShortcutFileName(e.Name)) continue;
      const std::string file = prefix + e.Name;
      const std::string address = ReadShortcutUrl(ctx.Fs(), file);
      const std::string description = e.Name.substr(0, e.Name.size() - 4);
      Append(ctx, linkIndent + LinkLine(EscapeAddressForLine(address, amp), EscapeNameForLine(description, amp),
                                        layout.Date(ctx.Fs(), file)));
    }
    for (const DirEntry& e : entries) {
      if (!IsVisibleSubfolder(e)) continue;
      // A link back to a folder above this one would make the walk endless.
      if (e.IsSymlink && ctx.Fs().IsAncestorOrSelf(prefix + e.Name, path)) continue;
      WalkUrlFolder(ctx, prefix + e.Name, &e.Name, level + 1);
    }
  }

  Append(ctx, layout.ListIndent(level) + std::string(ListCloseLine));
}

bool UrlsToHtml(Context& ctx, const std::string& folder, UrlsToHtmlFor use) {
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
    const std::string top = dir.empty() ? std::string(1, PathDelim) : dir;
    // Inserted into a bookmark file, the block is a folder of its own, or a
    // browser would show its links loose among the file's own.
    const std::string title = FolderTitle(top);
    WalkUrlFolder(ctx, top, use == UrlsToHtmlFor::Insertion ? &title : nullptr, 1);
    if (ctx.Config.BrowserLayout && use == UrlsToHtmlFor::File) {
      // The header names the text's encoding, so it is known only now.
      const TextLines& lines = ctx.HtmlLines;
      const bool utf8 = std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsValidUtf8(l); });
      TextLines header;
      for (std::string& line : BrowserHeaderLines(utf8)) {
        header.push_back(std::move(line));
        if (ctx.Config.DoubleSpaceLines) header.emplace_back();
      }
      ctx.HtmlLines.insert(ctx.HtmlLines.begin(), std::make_move_iterator(header.begin()),
                           std::make_move_iterator(header.end()));
    }
  }
  if (ctx.ReloadSettings) ctx.ReloadSettings(ctx);
  ctx.Config.CurrentFile.clear();
  return true;
}

}  // namespace quillet
