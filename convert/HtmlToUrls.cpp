#include "convert/HtmlToUrls.h"

#include <limits.h>

#include <algorithm>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "platform/Errors.h"
#include "platform/Path.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

// The file system's limits: one name, and a whole path.
constexpr size_t kMaxName = 255;
constexpr size_t kMaxPath = PATH_MAX - 1;
constexpr std::string_view kShortcutExtension = ".url";

// "." and ".." name the folder itself or its parent, never a new entry.
bool IsDotName(const std::string& name) { return name == "." || name == ".."; }

// A name cut to at most room bytes, never inside a character.
std::string CutName(const std::string& name, size_t room) { return name.substr(0, Utf8CutLength(name, room)); }

// True when writing at path cannot leave the root: the path is no symbolic
// link, or it is one that leads to a place inside the root. The folders above
// path were checked the same way on the way down.
bool StaysInside(BookmarkWriteRun& run, const std::string& path) {
  FileSystem& fs = run.Ctx.Fs();
  return !fs.IsSymlink(path) || fs.IsAncestorOrSelf(run.Root, path);
}

// A line of the log for something that could not be written.
void Failed(BookmarkWriteRun& run, std::string text) {
  run.Errors.push_back(std::move(text));
  run.WriteFailed = true;
}

// A line of the log for a link that gives no shortcut file.
void Skipped(BookmarkWriteRun& run, size_t index, const std::string& address, const std::string& why) {
  run.Errors.push_back("No shortcut written for line " + std::to_string(index + 1) +
                       (address.empty() ? std::string() : " (" + address + ")") + ": " + why);
}

// One open list: the folder its links go into. Not writable: a folder we may
// not write into, whose lines are read past. Depth counts the nested lists
// that share this folder (headings with no usable name), so a document of
// many such headings costs one entry, not one per heading.
struct Level {
  std::string Path;
  bool Writable = true;
  size_t Depth = 1;
};

// The folder a heading's links go into: a new or existing subfolder, or the
// enclosing folder when the heading names none we may use.
Level EnterHeading(BookmarkWriteRun& run, const Level& parent, const std::string& line) {
  const Level same{parent.Path, parent.Writable};
  if (!parent.Writable) return same;
  // A longer heading still gets its folder, under its name cut to fit.
  const std::string name = CutName(FolderNameOf(line), kMaxName);
  if (name.empty()) return same;
  if (IsDotName(name)) {
    Failed(run, "Folder name \"" + name + "\" cannot be used; its links were written into " + parent.Path);
    return same;
  }
  const std::string sub = parent.Path + name + PathDelim;
  if (!StaysInside(run, sub)) {
    Failed(run, "Nothing written into " + sub + ": it is a symbolic link that leads outside " + run.Root);
    return {sub, false};
  }
  FileSystem& fs = run.Ctx.Fs();
  if (!fs.DirectoryExists(sub)) {
    try {
      fs.CreateDir(sub);
    } catch (const EOSError& e) {
      // The system's text alone does not say which folder failed.
      throw EOSError("Could not create folder " + sub + ": " + e.what());
    }
  }
  return {sub, true};
}

// The shortcut file for a name in folder path: the name cut to what the file
// system takes, and numbered " (2)", " (3)", ... when this run has already
// written a file of that name there, so that no link replaces another. Empty
// when the folder's path leaves no room for a name.
std::string ShortcutPath(BookmarkWriteRun& run, const std::string& path, const std::string& name) {
  size_t& number = run.NameUses[path + name];
  for (;;) {
    ++number;
    const std::string suffix =
        (number == 1 ? std::string() : " (" + std::to_string(number) + ")") + std::string(kShortcutExtension);
    if (path.size() + suffix.size() >= kMaxPath) return std::string();
    const std::string cut = CutName(name, std::min(kMaxName - suffix.size(), kMaxPath - path.size() - suffix.size()));
    if (cut.empty()) return std::string();
    std::string file = path + cut + suffix;
    if (run.Written.insert(file).second) return file;
  }
}

// Writes the link of one line, if it has one with a usable name, into path;
// a link line that gives no file is logged with the reason.
void WriteLink(BookmarkWriteRun& run, const std::string& path, size_t index) {
  const std::string& line = run.Ctx.HtmlLines[index];
  const TextSpan span = DescriptionSpan(line);
  std::string description;
  // A description starting this early belongs to no "<DT><A HREF" line.
  if (span.Begin >= 9) description = line.substr(span.Begin, span.Size());
  const std::string name = SafeFileName(description);
  if (name.empty()) {
    if (HasLinkTag(line))
      Skipped(run, index, DecodeCharRefs(LinkAddress(line)),
              IsBlankText(description) ? "it has no description" : "its description leaves no usable file name");
    return;
  }
  const std::string address = DecodeCharRefs(LinkAddress(line));
  const std::string file = ShortcutPath(run, path, name);
  if (file.empty()) {
    Skipped(run, index, address, "the path of " + path + " leaves no room for a file name");
    return;
  }
  if (!StaysInside(run, file)) {
    Failed(run, "Unable to write to " + file + ": it is a symbolic link that leads outside " + run.Root);
    return;
  }
  try {
    run.Ctx.Profile().WriteString(file, "InternetShortcut", "URL", address);
  } catch (const EWriteError& e) {
    Failed(run, TextWithReason(e));
  }
}

}  // namespace

void ParseBookmarkList(BookmarkWriteRun& run, const std::string& path, size_t& index) {
  const TextLines& lines = run.Ctx.HtmlLines;
  // The open lists live on this stack rather than the call stack, so that no
  // depth of nesting in a document can exhaust it.
  std::vector<Level> levels{Level{path}};
  while (index < lines.size()) {
    const std::string& line = lines[index];
    if (IsListEnd(line)) {
      if (levels.size() == 1 && levels.back().Depth == 1) return;
      if (--levels.back().Depth == 0) levels.pop_back();
      // The line that closed the nested list is read once more as a line of
      // the enclosing list.
    } else if (IsHeading(line)) {
      Level next = EnterHeading(run, levels.back(), line);
      if (next.Path == levels.back().Path && next.Writable == levels.back().Writable)
        ++levels.back().Depth;
      else
        levels.push_back(std::move(next));
      ++index;
      continue;
    }
    if (levels.back().Writable) WriteLink(run, levels.back().Path, index);
    ++index;
  }
}

HtmlToUrlsResult HtmlToUrls(Context& ctx, bool unattended) {
  Ui& ui = ctx.UI();
  if (ctx.HtmlLines.empty()) {
    ui.ShowMessage("There is no HTML to convert.");
    return HtmlToUrlsResult::NoDocument;
  }
  // An empty folder name would mean the root of the file system.
  if (ctx.UrlTargetDir.empty()) {
    ui.ShowMessage("There is no folder to convert Html to Urls in.");
    return HtmlToUrlsResult::NotDone;
  }
  if (!unattended &&
      ui.Ask("Are you sure you want to convert Html to Urls in " + ctx.UrlTargetDir + "?") != Answer::Yes)
    return HtmlToUrlsResult::NotDone;
  ctx.UrlTargetDir = IncludeTrailingDelim(ctx.UrlTargetDir);
  FileSystem& fs = ctx.Fs();
  if (!fs.DirectoryExists(ctx.UrlTargetDir)) {
    if (ui.Ask("Directory: " + ctx.UrlTargetDir + " not found. Create Now?") != Answer::Yes)
      return HtmlToUrlsResult::NotDone;
    fs.ForceDirectories(ctx.UrlTargetDir);
    if (!fs.DirectoryExists(ctx.UrlTargetDir)) {
      ui.ShowMessage("Could not create: " + ctx.UrlTargetDir);
      return HtmlToUrlsResult::NotDone;
    }
  }

  BookmarkWriteRun run{ctx, ctx.UrlTargetDir};
  // The stripped lines stay in the document.
  for (std::string& line : ctx.HtmlLines) StripDateAttributes(line);
  // The first line is never read: it opens the top list.
  size_t index = 1;
  ParseBookmarkList(run, run.Root, index);

  if (!run.Errors.empty()) {
    const std::string log = ctx.DataDir + kUrlErrorsFile;
    SaveHtmlFile(fs, run.Errors, log);
    if (!unattended && ui.Ask("Errors occurred during the conversion.  View now?") == Answer::Yes) {
      if (!ctx.LaunchDocument || !ctx.LaunchDocument(ctx, log))
        ui.ShowMessage("Could not start default text editor.");
    }
  }
  if (!unattended) ui.ShowMessage("Finished conversion");
  if (run.WriteFailed) return HtmlToUrlsResult::WrittenWithErrors;
  return run.Errors.empty() ? HtmlToUrlsResult::Written : HtmlToUrlsResult::WrittenWithNotes;
}

}  // namespace quillet
