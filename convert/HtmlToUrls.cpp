#include "convert/HtmlToUrls.h"

#include <limits.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeReader.h"
#include "convert/ShortcutListing.h"
#include "convert/ShortcutText.h"
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

// A line of the log for something that could not be written.
void Failed(BookmarkWriteRun& run, std::string text) {
  run.Errors.push_back(std::move(text));
  run.WriteFailed = true;
}

// A line of the log that fails nothing: every link it concerns was written
// or never asked for a file.
void Note(BookmarkWriteRun& run, std::string text) { run.Errors.push_back(std::move(text)); }

// The log's words for a link line that gave no shortcut file.
std::string NoShortcutText(size_t index, const std::string& address, const std::string& why) {
  return "No shortcut written for line " + std::to_string(index + 1) +
         (address.empty() ? std::string() : " (" + address + ")") + ": " + why;
}

// A line of the log for a link that gives no shortcut file.
void Skipped(BookmarkWriteRun& run, size_t index, const std::string& address, const std::string& why) {
  Note(run, NoShortcutText(index, address, why));
}

// The most numbers a heading's folder tries past files of its name.
constexpr size_t kMaxFolderNumber = 1000;

// One open list: the folder its links go into, or none when that folder
// could not be made or used (Why says so), whose lines are read past and
// whose links are listed. Depth counts the nested lists that share this
// folder (headings with no usable name), so a document of many such
// headings costs one entry, not one per heading.
struct Level {
  std::unique_ptr<FileSystem::Folder> Owned;
  FileSystem::Folder* Dir = nullptr;
  FolderNames* Names = nullptr;
  std::string Path;
  std::string Why;
  size_t Depth = 1;
};

Level Enter(BookmarkWriteRun& run, FileSystem::Folder& dir) {
  Level level;
  level.Dir = &dir;
  level.Path = dir.Path();
  level.Names = &run.Names[dir.Identity()];
  ++level.Names->Open;
  return level;
}

void Leave(Level& level) {
  if (level.Names) level.Names->Leave();
  level.Names = nullptr;
}

// A folder that is not written: its links are listed with why.
Level Unwritten(std::string path, std::string why) {
  Level level;
  level.Path = std::move(path);
  level.Why = std::move(why);
  return level;
}

// The folder a heading's links go into: a new or existing subfolder, or
// nothing when the heading names none we may use and its links go into the
// enclosing folder. Where something that is no folder stands under the
// name, the folder is the first of "NAME (2)", "NAME (3)", ... that is free
// or a folder already, so a second run finds the same one.
std::optional<Level> EnterHeading(BookmarkWriteRun& run, Level& parent, const std::string& line) {
  if (!parent.Dir) return std::nullopt;
  // A longer heading still gets its folder, under its name cut to fit.
  const std::string name = CutName(FolderNameOf(line), kMaxName);
  if (name.empty()) return std::nullopt;
  if (IsDotName(name)) {
    Note(run, "Folder name \"" + name + "\" cannot be used; its links were written into " + parent.Path);
    return std::nullopt;
  }
  FileSystem& fs = run.Ctx.Fs();
  for (size_t number = 1; number <= kMaxFolderNumber; ++number) {
    const std::string suffix = number == 1 ? std::string() : " (" + std::to_string(number) + ")";
    const std::string candidate = CutName(name, kMaxName - suffix.size()) + suffix;
    const std::string path = parent.Path + candidate + PathDelim;
    // Reached by descriptors, a folder could lie deeper than any path may
    // name it; nothing could read it back.
    if (path.size() >= kMaxPath) {
      Failed(run, "Could not create folder " + path + ": its path would be longer than a path may be");
      return Unwritten(path, "its folder " + path + " could not be made");
    }
    FileSystem::Subfolder sub = fs.OpenSubfolder(*parent.Dir, candidate, run.Root);
    switch (sub.Outcome) {
      case FileSystem::SubfolderOutcome::Opened: {
        Level level = Enter(run, *sub.Dir);
        level.Owned = std::move(sub.Dir);
        return level;
      }
      case FileSystem::SubfolderOutcome::NotAFolder:
        continue;
      case FileSystem::SubfolderOutcome::LeadsOutside: {
        const std::string why = " is a symbolic link that leads outside " + run.Root.Path();
        Failed(run, "Nothing written into " + path + ": it" + why);
        return Unwritten(path, "its folder " + path + why);
      }
      case FileSystem::SubfolderOutcome::Failed:
        Failed(run, "Could not create folder " + path + ": " + sub.Reason);
        return Unwritten(path, "its folder " + path + " could not be made");
    }
  }
  const std::string path = parent.Path + name + PathDelim;
  Failed(run, "Could not create folder " + path + ": files stand under its name and under the next " +
                  std::to_string(kMaxFolderNumber - 1) + " numbers");
  return Unwritten(path, "its folder " + path + " could not be made");
}

// The name of the shortcut file for a link name in a folder: the name cut
// to what the file system takes, and numbered " (2)", " (3)", ... when this
// run has already given that name there, so that no link replaces another.
// Empty when the folder's path leaves no room for a name.
std::string ShortcutName(Level& level, const std::string& name) {
  FolderNames& names = *level.Names;
  const std::string& path = level.Path;
  size_t& number = names.Numbers[name];
  for (;;) {
    ++number;
    const std::string suffix =
        (number == 1 ? std::string() : " (" + std::to_string(number) + ")") + std::string(kShortcutExtension);
    if (path.size() + suffix.size() >= kMaxPath) return std::string();
    const std::string cut = CutName(name, std::min(kMaxName - suffix.size(), kMaxPath - path.size() - suffix.size()));
    if (cut.empty()) return std::string();
    std::string file = cut + suffix;
    if (names.Take(file)) return file;
  }
}

// Writes the link of one line, if it has one with a usable name, into the
// level's folder; a link line that gives no file is logged with the reason.
void WriteLink(BookmarkWriteRun& run, Level& level, const std::string& line, size_t index) {
  if (!level.Dir) {
    if (HasLinkTag(line)) Failed(run, NoShortcutText(index, DecodeCharRefs(LinkAddress(line)), level.Why));
    return;
  }
  const LineSpan span = DescriptionSpan(line);
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
  const std::string file = ShortcutName(level, name);
  if (file.empty()) {
    Skipped(run, index, address, "the path of " + level.Path + " leaves no room for a file name");
    return;
  }
  try {
    const ShortcutUrls urls = ShortcutUrlsFor(address);
    run.Ctx.Profile().WriteStringIn(*level.Dir, file, run.Root, kShortcutFileLimit, "InternetShortcut", "URL",
                                    urls.Ascii);
    if (urls.Wide)
      run.Ctx.Profile().WriteStringIn(*level.Dir, file, run.Root, kShortcutFileLimit, "InternetShortcut.W", "URL",
                                      *urls.Wide);
  } catch (const EWriteError& e) {
    Failed(run, TextWithReason(e));
  }
}

// Calls meet(heading, line) in document order for every folder at its
// heading's line, every link and separator at its first line, every line of
// an opaque node and every folder's list end, until meet returns false.
template <class Meet>
void ForEachNodeLine(const BookmarkTree& tree, Meet meet) {
  // An explicit stack: no nesting in a document can exhaust the call stack.
  std::vector<std::pair<NodeId, size_t>> stack{{kRootNode, 0}};
  while (!stack.empty()) {
    auto& [folder, next] = stack.back();
    const std::vector<NodeId>& children = tree.Children(folder);
    if (next == children.size()) {
      const TextSpan tail = tree.Tail(folder);
      stack.pop_back();
      if (!tail.Empty() && !meet(false, tail.Begin.Line)) return;
      continue;
    }
    const NodeId child = children[next++];
    switch (tree.Kind(child)) {
      case NodeKind::Folder:
        if (!meet(true, tree.ItemLine(child))) return;
        stack.emplace_back(child, 0);
        break;
      case NodeKind::Link:
        if (!meet(false, tree.ItemLine(child))) return;
        break;
      case NodeKind::Separator:
        if (!meet(false, tree.Span(child).Begin.Line)) return;
        break;
      case NodeKind::Opaque: {
        // Every line of it: the header's lines make one node.
        const TextSpan span = tree.Span(child);
        for (size_t line = span.Begin.Line; line < span.End.Line || (line == span.End.Line && span.End.Col > 0);
             ++line)
          if (!meet(false, line)) return;
        break;
      }
    }
  }
}

}  // namespace

bool FolderNames::Take(const std::string& name) {
  if (!Earlier.empty() && std::binary_search(Earlier.begin(), Earlier.end(), std::hash<std::string>{}(name)))
    return false;
  return Names.insert(name).second;
}

void FolderNames::Leave() {
  if (Open == 0 || --Open > 0) return;
  for (const std::string& name : Names) Earlier.push_back(std::hash<std::string>{}(name));
  std::sort(Earlier.begin(), Earlier.end());
  // Hand the memory back, not merely empty the containers.
  std::unordered_set<std::string>().swap(Names);
  std::unordered_map<std::string, size_t>().swap(Numbers);
}

void WriteTreeAsShortcuts(BookmarkWriteRun& run, const BookmarkTree& tree) {
  const TextLines& lines = tree.Lines();
  // The folders being written, innermost last. They live on this stack, not
  // the call stack, so that no depth of nesting can exhaust it.
  std::vector<Level> levels;
  levels.push_back(Enter(run, run.Root));
  // Each line met is read as html2urls has always read its lines, so that
  // every document gives the files it gave before:
  // - only a "</DL><p>" ends a list, and only a "<DT><H3" heading makes a
  //   folder; a line holding both is a list end;
  // - a list end closes the folder of the last heading still open, so a
  //   heading without a list of its own takes the items after it, and the
  //   list end of the top level ends the walk;
  // - every other such line is read as a link line: its first link (or
  //   anything that reads as one) gives at most one file;
  // - the first line is never read: it opens the top list.
  size_t current = 0;  // the line being read
  bool done = false;   // ... and whether it was read to its end
  ForEachNodeLine(tree, [&](bool heading, size_t index) {
    if (index == 0) return true;
    const std::string& line = lines[index];
    const bool listEnd = IsListEnd(line);
    if (index != current) {
      current = index;
      done = false;
      if (listEnd) {
        if (levels.size() == 1 && levels.back().Depth == 1) return false;
        if (--levels.back().Depth == 0) {
          Leave(levels.back());
          levels.pop_back();
        }
      }
    }
    if (done) return true;
    if (!listEnd && IsHeading(line)) {
      // Read at the folder's own node, which may come after others on the line.
      if (!heading) return true;
      if (std::optional<Level> next = EnterHeading(run, levels.back(), line))
        levels.push_back(std::move(*next));
      else
        ++levels.back().Depth;
    } else {
      WriteLink(run, levels.back(), line, index);
    }
    done = true;
    return true;
  });
  for (Level& level : levels) Leave(level);
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

  // The target is opened once; everything below it is reached from it.
  const std::unique_ptr<FileSystem::Folder> root = fs.OpenFolder(ctx.UrlTargetDir);
  if (!root) {
    ui.ShowMessage("Could not open: " + ctx.UrlTargetDir);
    return HtmlToUrlsResult::NotDone;
  }
  BookmarkWriteRun run{ctx, *root};
  // The stripped lines stay in the document.
  for (std::string& line : ctx.HtmlLines) StripDateAttributes(line);
  {
    // The tree borrows the lines and always gives them back.
    BookmarkTree tree = ReadBookmarkTree(std::move(ctx.HtmlLines));
    struct GiveBack {
      Context& Ctx;
      BookmarkTree& Tree;
      ~GiveBack() { Ctx.HtmlLines = Tree.TakeLines(); }
    } giveBack{ctx, tree};
    WriteTreeAsShortcuts(run, tree);
  }

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
