#include "convert/Netscape.h"

#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "convert/UrlsToHtml.h"
#include "platform/AsciiCase.h"
#include "platform/Path.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

const std::string kNavigator = "Software\\Netscape\\Netscape Navigator";
const char* const kBookmarkLocationKey = "browser.bookmark_location";

// The folder part of a Windows path, as the browser's paths are written: the
// last name goes with the delimiter before it, except the delimiter of a root
// ("C:\", "\").
std::string FileDir(const std::string& p) {
  const size_t i = p.find_last_of("\\/:");
  if (i == std::string::npos) return std::string();
  const bool delim = p[i] == '\\' || p[i] == '/';
  if (delim && i > 0 && p[i - 1] != ':' && p[i - 1] != '\\' && p[i - 1] != '/') return p.substr(0, i);
  return p.substr(0, i + 1);
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(std::string s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlankOrControl(s[b])) ++b;
  while (e > b && IsBlankOrControl(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// One search for the bookmark file. Candidates are kept as the browser wrote
// them (Windows paths, read from a Wine prefix) and placed on this machine
// only to test them.
class BookmarkSearch {
 public:
  explicit BookmarkSearch(Context& ctx) : ctx_(ctx) {}

  std::string Run() {
    // The profile folder of the current mail user.
    const std::string user = Read(RegRoot::CurrentUser, kNavigator + "\\biff", "CurrentUser");
    const std::string pop = Read(RegRoot::CurrentUser,
                                 kNavigator + "\\biff\\users\\" + user + "\\servers\\mail", "popStatePath");
    const std::string dir = FileDir(FileDir(pop));
    candidate_ = dir;
    if (!dir.empty()) TryProfileFolder(dir, '\\', "bookmark.htm", "prefs.js");

    if (!Found()) {
      const std::string name = UserName();
      candidate_ = Read(RegRoot::LocalMachine, kNavigator + "\\Users\\" + name, "DirRoot") + "\\bookmark.htm";
    }
    if (!Found())
      candidate_ = Read(RegRoot::CurrentUser, kNavigator + "\\Bookmark List", "File Location");
    if (!Found())
      candidate_ = Read(RegRoot::CurrentUser, "Software\\Netscape\\Netscape\\Bookmark List", "File Location");
    if (!Found()) candidate_ = Read(RegRoot::Users, kNavigator + "\\Bookmark List", "File Location");
    // Where the browser kept its files on Linux.
    if (!Found() && !ctx_.HomeDir.empty())
      TryProfileFolder(IncludeTrailingDelim(ctx_.HomeDir) + ".netscape", PathDelim, "bookmarks.html",
                       "preferences.js");
    return Found() ? Local(candidate_) : std::string();
  }

 private:
  std::string Read(RegRoot root, const std::string& key, const std::string& name) {
    return ctx_.Services.Reg ? ctx_.Reg().ReadString(root, key, name) : std::string();
  }

  // Where a candidate lies on this machine: a drive of the Wine prefix is
  // mapped to its folder. A path that still is not absolute (a drive the
  // prefix lacks, a relative name) cannot be placed and is never looked up
  // relative to the current folder.
  std::string Local(const std::string& path) {
    if (path.empty()) return std::string();
    std::string local = ctx_.Services.Reg ? ctx_.Reg().LocalPath(path) : path;
    return !local.empty() && local[0] == PathDelim ? local : std::string();
  }

  bool Exists(const std::string& path) {
    const std::string local = Local(path);
    return !local.empty() && ctx_.Fs().FileExists(local);
  }
  bool Found() { return Exists(candidate_); }

  // The bookmark file in the folder; else the location its preferences file
  // records, when it records one.
  void TryProfileFolder(const std::string& dir, char delim, const char* bookmarks, const char* prefs) {
    if (Exists(dir + delim + bookmarks)) {
      candidate_ = dir + delim + bookmarks;
      return;
    }
    const std::string prefsFile = Local(dir + delim + prefs);
    std::string text;
    if (prefsFile.empty() || !ctx_.Fs().FileExists(prefsFile) || !ctx_.Fs().TryReadFile(prefsFile, text))
      return;
    if (auto location = BookmarkLocationFromPrefs(SplitDocumentText(text))) candidate_ = *location;
  }

  // The Netscape user whose profile to use: the only one, or the one the
  // user names when there are several.
  std::string UserName() {
    const std::vector<std::string> names =
        ctx_.Services.Reg ? ctx_.Reg().SubKeyNames(RegRoot::LocalMachine, kNavigator + "\\Users")
                          : std::vector<std::string>();
    if (names.empty()) return candidate_;
    if (names.size() == 1) return names.front();
    return ctx_.UI().AskText("Enter User Name",
                             "The following Netscape users were found: " + JoinNamesQuoted(names) +
                                 ".  Enter the username of the bookmarks you wish to use:",
                             "");
  }

  Context& ctx_;
  std::string candidate_;
};

// The encoding new text takes in a bookmark file: Windows-1252 when its
// bytes are not UTF-8, and when they are all ASCII under a label naming a
// Latin encoding, as a browser then reads them; else UTF-8.
TextEncoding EncodingOfBookmarkFile(const TextLines& lines) {
  if (ChooseTextEncoding(lines) == TextEncoding::Windows1252) return TextEncoding::Windows1252;
  if (!std::all_of(lines.begin(), lines.end(), [](const std::string& l) { return IsAscii(l); }))
    return TextEncoding::Utf8;
  constexpr std::string_view kCharset = "CHARSET=";
  for (const std::string& line : lines) {
    const size_t at = FindNoCase(line, kCharset);
    if (at == std::string::npos) continue;
    const size_t begin = std::min(line.find_first_not_of("\"' ", at + kCharset.size()), line.size());
    const size_t end = std::min(line.find_first_of("\"'; \t>", begin), line.size());
    const std::string_view label = std::string_view(line).substr(begin, end - begin);
    for (const std::string_view latin : {"windows-1252", "cp1252", "iso-8859-1", "latin1", "us-ascii"})
      if (EqualIgnoringAsciiCase(label, latin)) return TextEncoding::Windows1252;
    return TextEncoding::Utf8;
  }
  return TextEncoding::Utf8;
}

}  // namespace

std::vector<std::string> PrefsFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
        continue;
      }
      quoted = !quoted;
      fields.back() += c;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::optional<std::string> BookmarkLocationFromPrefs(const TextLines& lines) {
  for (const std::string& line : lines) {
    if (line.find(kBookmarkLocationKey) == std::string::npos) continue;
    const std::vector<std::string> fields = PrefsFields(line);
    std::string field = fields.size() > 1 ? fields[1] : std::string();
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
    field = Trim(std::move(field));
    // The value stands between the opening quote and the closing '");'.
    if (field.size() <= 4) return std::string();
    return field.substr(1, field.size() - 4);
  }
  return std::nullopt;
}

std::string JoinNamesQuoted(const std::vector<std::string>& names) {
  std::string out;
  for (size_t n = 0; n < names.size(); ++n) {
    if (n > 0) out += ',';
    const std::string& name = names[n];
    bool quote = false;
    for (char c : name) quote = quote || IsBlankOrControl(c) || c == '"' || c == ',';
    if (!quote) {
      out += name;
      continue;
    }
    out += '"';
    for (char c : name) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

std::string FindNetscapeBookmarks(Context& ctx) { return BookmarkSearch(ctx).Run(); }

DocumentLoad LoadNetscapeFile(Context& ctx) {
  ctx.Config.BoldHtml = false;
  ctx.Config.ItalicHtml = false;
  ctx.Config.CurrentFile = ctx.Config.NetscapeFile;
  return LoadHtmlFile(ctx, ctx.Config.CurrentFile);
}

bool LoadNetscapeBookmarks(Context& ctx) {
  ctx.Config.NetscapeFile = FindNetscapeBookmarks(ctx);
  if (ctx.Config.NetscapeFile.empty() || !ctx.Fs().FileExists(ctx.Config.NetscapeFile)) {
    ctx.UI().ShowMessage(kNetscapeNotLocated);
    return false;
  }
  const DocumentLoad load = LoadNetscapeFile(ctx);
  if (load.NulAt) {
    SayWhereTextStopped(ctx, ctx.Config.NetscapeFile, load);
    ctx.Config.CurrentFile.clear();
    ctx.Config.NetscapeFile.clear();
  }
  return load.Loaded;
}

bool AppendUrlsToNetscape(Context& ctx) {
  const std::string previousFile = ctx.Config.CurrentFile;
  const std::string target = FindNetscapeBookmarks(ctx);
  ctx.Config.CurrentFile = target;
  if (target.empty() || !ctx.Fs().FileExists(target)) {
    ctx.UI().ShowMessage(kNetscapeNotLocated);
    return false;
  }
  // Without the folder the document is not the Favorites HTML: appending it
  // would put unrelated text into the bookmarks. The document still belongs
  // to the file it came from.
  // The file is read once the folder has been: the block is written in
  // the file's encoding.
  std::unique_ptr<FileSystem::Lock> lock;
  TextLines lines;
  DocumentLoad load;
  const auto readTarget = [&] {
    lock = LockDocumentFile(ctx, target);
    load = ReadDocumentFile(ctx, target, lines);
    return EncodingOfBookmarkFile(lines);
  };
  if (!UrlsToHtml(ctx, ctx.Config.FavoritesDir, UrlsToHtmlFor::Insertion, readTarget)) {
    ctx.Config.CurrentFile = previousFile;
    return false;
  }
  if (MustNotSaveOver(ctx, target, load)) return false;
  // The end of the top list: the last list-close line, the first line never
  // counting; without one the block goes to the top.
  size_t at = 0;
  for (size_t i = lines.size(); i-- > 1;) {
    if (lines[i].find("</DL><p>") != std::string::npos) {
      at = i;
      break;
    }
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), ctx.HtmlLines.begin(), ctx.HtmlLines.end());
  return SaveNetscapeBookmarks(ctx, lines, target);
}

bool SaveNetscapeBookmarks(Context& ctx, const TextLines& lines, const std::string& path) {
  KeepBackupCopy(ctx, path);
  try {
    SaveHtmlFile(ctx.Fs(), lines, path);
  } catch (const EFCreateError& e) {
    ctx.UI().ShowMessage(SaveFailureText(kNetscapeCannotSave, e));
    return false;
  }
  return true;
}

}  // namespace quillet
