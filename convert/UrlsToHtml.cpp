#include "convert/UrlsToHtml.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/TreeEdit.h"
#include "convert/ShortcutListing.h"
#include "convert/ShortcutText.h"
#include "platform/Path.h"
#include "platform/TextCodec.h"
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

ShortcutAddress ReadShortcutAddress(FileSystem& fs, const std::string& path) {
  std::string text;
  if (fs.ReadFileUpTo(path, kShortcutFileLimit, text).Outcome != FileSystem::ReadOutcome::Read) return {"ERROR", false};
  return ShortcutAddressOfText(text).value_or(ShortcutAddress{"ERROR", false});
}

std::string ReadShortcutUrl(FileSystem& fs, const std::string& path) { return ReadShortcutAddress(fs, path).Text; }

namespace {

// What LinkLine and HeadingLine write before an address and after a name.
constexpr std::string_view kLinkOpen = "<DT><A HREF=\"";
constexpr std::string_view kLinkClose = "</A>";
constexpr std::string_view kHeadingClose = "</H3>";

// Text in UTF-8 where a line holds it, which is right only while the whole
// text is UTF-8: an address read as Unicode, or a name or address whose
// bytes are UTF-8 outside ASCII.
struct Utf8Piece {
  size_t Line;
  size_t At;
  size_t Size;
  bool UnicodeAddress;
};

// Notes the piece of the line about to be appended that starts at at.
void NotePiece(const Context& ctx, std::vector<Utf8Piece>& pieces, size_t at, std::string_view text, bool unicode) {
  if (IsAscii(text) || !(unicode || IsValidUtf8(text))) return;
  pieces.push_back({ctx.HtmlLines.size(), at, text.size(), unicode});
}

// Appends the block of one folder (title empty for the top folder).
void WalkUrlFolder(Context& ctx, const std::string& path, const std::string* title, int level,
                   std::vector<Utf8Piece>& pieces) {
  const WalkLayout layout(ctx.Config);
  const AmpersandEscape amp = layout.Ampersands();
  auto heading = [&] {
    const std::string name = EscapeNameForLine(*title, amp);
    std::string line = layout.HeadingIndent(level) + HeadingLine(name, layout.Date(ctx.Fs(), path));
    NotePiece(ctx, pieces, line.size() - name.size() - kHeadingClose.size(), name, false);
    Append(ctx, std::move(line));
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
      const ShortcutAddress address = ReadShortcutAddress(ctx.Fs(), file);
      const std::string description = EscapeNameForLine(e.Name.substr(0, e.Name.size() - 4), amp);
      const std::string escaped = EscapeAddressForLine(address.Text, amp);
      std::string line = linkIndent + LinkLine(escaped, description, layout.Date(ctx.Fs(), file));
      NotePiece(ctx, pieces, linkIndent.size() + kLinkOpen.size(), escaped, address.Unicode);
      NotePiece(ctx, pieces, line.size() - description.size() - kLinkClose.size(), description, false);
      Append(ctx, std::move(line));
    }
    for (const DirEntry& e : entries) {
      if (!IsVisibleSubfolder(e)) continue;
      // A link back to a folder above this one would make the walk endless.
      if (e.IsSymlink && ctx.Fs().IsAncestorOrSelf(prefix + e.Name, path)) continue;
      WalkUrlFolder(ctx, prefix + e.Name, &e.Name, level + 1, pieces);
    }
  }

  Append(ctx, layout.ListIndent(level) + std::string(ListCloseLine));
}

// Writes the pieces in Windows-1252, characters it lacks as references, so
// that they read back as they were in a text that is read so: only the
// addresses read as Unicode, or every piece. The last piece goes first, so
// that the places of those before it hold.
void FitPieces(TextLines& lines, const std::vector<Utf8Piece>& pieces, bool unicodeAddressesOnly) {
  for (auto p = pieces.rbegin(); p != pieces.rend(); ++p) {
    if (unicodeAddressesOnly && !p->UnicodeAddress) continue;
    std::string& line = lines[p->Line];
    const std::string text = EncodeForDocument(std::string_view(line).substr(p->At, p->Size), TextEncoding::Windows1252);
    line.replace(p->At, p->Size, text);
  }
}

}  // namespace

bool UrlsToHtml(Context& ctx, const std::string& folder, UrlsToHtmlFor use, const InsertionEncoding& into) {
  if (!ctx.Fs().DirectoryExists(folder)) {
    ctx.UI().ShowMessage("Directory not found");
    return false;
  }
  std::vector<Utf8Piece> pieces;
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
    WalkUrlFolder(ctx, top, use == UrlsToHtmlFor::Insertion ? &title : nullptr, 1, pieces);
    // A text with bytes that are not UTF-8 reads as Windows-1252 as a whole:
    // the addresses read as Unicode are written in it then.
    if (!into && ChooseTextEncoding(ctx.HtmlLines) == TextEncoding::Windows1252)
      FitPieces(ctx.HtmlLines, pieces, true);
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
  // Asked last: the file may be read only now, and whatever that throws
  // leaves the document as a finished run does.
  if (into) {
    if (into() == TextEncoding::Windows1252)
      FitPieces(ctx.HtmlLines, pieces, false);
    else if (ChooseTextEncoding(ctx.HtmlLines) == TextEncoding::Windows1252)
      FitPieces(ctx.HtmlLines, pieces, true);
  }
  return true;
}

}  // namespace quillet
