#include "app/DedupeCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <optional>

#include "bookmarks/DocumentFile.h"
#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "cleanup/DuplicateReport.h"
#include "cleanup/NearDuplicates.h"
#include "convert/Netscape.h"
#include "convert/ShortcutListing.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"
#include "platform/Path.h"

namespace quillet {

namespace {

struct DedupeArgs {
  std::string File, Output, Report;
  std::string Rules, TrackingParams, Scope = "file", Keep = "first";
  std::vector<std::string> Protect;
  bool Apply = false;
  DuplicateOptions Options;
};

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  size_t b = 0;
  while (b <= list.size()) {
    size_t e = list.find(',', b);
    if (e == std::string::npos) e = list.size();
    std::string item = list.substr(b, e - b);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    if (!item.empty()) items.push_back(item);
    b = e + 1;
  }
  return items;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i]) return false;
  return true;
}

// Writes the report file, JSON or CSV by its name; false when it cannot be
// written (said on err).
bool WriteReport(Context& ctx, const DedupeArgs& a, const DuplicateReport& report, std::ostream& err) {
  if (a.Report.empty()) return true;
  try {
    ctx.Fs().WriteFile(a.Report, EndsWithNoCase(a.Report, ".json") ? DuplicateReportJson(report)
                                                                     : DuplicateReportCsv(report));
  } catch (const EFCreateError& e) {
    err << TextWithReason(e) << "\n";
    return false;
  }
  return true;
}

// ---- a bookmark file

int DedupeDocument(Context& ctx, const DedupeArgs& a, std::ostream& out, std::ostream& err) {
  const bool overFile = a.Apply && a.Output.empty();
  std::unique_ptr<FileSystem::Lock> lock;
  if (overFile) lock = LockDocumentFile(ctx, a.File);
  TextLines lines;
  DocumentLoad load;
  try {
    load = ReadDocumentFile(ctx, a.File, lines);
  } catch (const EFOpenError& e) {
    err << e.what() << "\n";
    return 1;
  }
  if (!load.Loaded) return 1;
  if (load.NulAt) {
    // What follows the NUL was not read: a saved result would lose it.
    err << NulByteText(a.File, *load.NulAt)
        << (a.Apply ? "; the text after it cannot be read, so nothing was written.\n"
                    : "; only the text before it was read.\n");
    if (a.Apply) return 1;
  }
  BookmarkTree tree = ReadBookmarkTree(std::move(lines));

  std::vector<NodeId> protect;
  for (const std::string& path : a.Protect) {
    const std::vector<NodeId> found = FindFolders(tree, path);
    if (found.empty()) {
      err << "No folder \"" << path << "\" in " << a.File << ": nothing was done.\n";
      return 2;
    }
    protect.insert(protect.end(), found.begin(), found.end());
  }

  const TreeDuplicates found = FindTreeDuplicates(tree, a.Options, protect);
  const bool listed = !a.Apply || !a.Report.empty();
  DuplicateReport report;
  if (listed) {
    report = ReportTreeDuplicates(tree, found, a.Options.Rules);
  } else {
    report.Removed = found.RemovedNodes().size();
    report.Kept = found.Links.size() - report.Removed;
  }
  if (!WriteReport(ctx, a, report, err)) return 1;
  if (!a.Apply) {
    out << DuplicateReportText(report, false);
    return 0;
  }

  if (found.Groups.empty() && overFile) {
    out << "No duplicates found; " << a.File << " was left as it was.\n";
    return 0;
  }
  RemoveTreeDuplicates(tree, found);
  const std::string target = overFile ? a.File : a.Output;
  try {
    if (overFile) KeepNetscapeBackup(ctx, a.File);
    SaveHtmlFile(ctx.Fs(), tree.Lines(), target);
  } catch (const QuilletError& e) {
    err << TextWithReason(e) << "\n";
    return 1;
  }
  out << "Removed " << report.Removed << (report.Removed == 1 ? " copy" : " copies") << "; " << report.Kept
      << " links kept in " << target << (overFile ? " (the old text is in " + a.File + ".bak)" : "") << ".\n";
  return 0;
}

// ---- a folder of shortcut files

struct ShortcutFile {
  std::string Path, Relative, Folder, Title, Url;
  size_t FolderIndex = 0;
  std::optional<int64_t> Date;
};

// Every shortcut below the folder, in the order urls2html writes them:
// a folder's shortcuts, then its visible subfolders, by name.
void CollectShortcuts(Context& ctx, const std::string& dir, const std::string& relative, const std::string& folder,
                      std::vector<std::string>& folders, std::vector<ShortcutFile>& files, bool dates) {
  const size_t index = folders.size();
  folders.push_back(folder);
  std::vector<DirEntry> entries;
  if (!ctx.Fs().ListDir(dir, entries)) return;
  for (const DirEntry& e : entries) {
    if (e.IsDirectory || !IsShortcutFileName(e.Name)) continue;
    ShortcutFile f;
    f.Path = dir + PathDelim + e.Name;
    f.Relative = relative + e.Name;
    f.Folder = folder;
    f.Title = e.Name.substr(0, e.Name.size() - 4);
    f.Url = ReadShortcutUrl(ctx.Profile(), f.Path);
    f.FolderIndex = index;
    if (dates) f.Date = ctx.Fs().ModificationTime(f.Path);
    files.push_back(std::move(f));
  }
  for (const DirEntry& e : entries) {
    if (!IsVisibleSubfolder(e)) continue;
    const std::string sub = dir + PathDelim + e.Name;
    // A link back to a folder above would make the walk endless.
    if (e.IsSymlink && ctx.Fs().IsAncestorOrSelf(sub, dir)) continue;
    CollectShortcuts(ctx, sub, relative + e.Name + PathDelim,
                     folder.empty() ? EscapePathStep(e.Name) : folder + "/" + EscapePathStep(e.Name), folders, files,
                     dates);
  }
}

int DedupeFolder(Context& ctx, const DedupeArgs& a, std::ostream& out, std::ostream& err) {
  if (!a.Output.empty()) {
    err << "-o writes a bookmark file; " << a.File << " is a folder, whose copies go to the trash.\n";
    return 2;
  }
  std::string root = a.File;
  while (root.size() > 1 && EndsWithDelim(root)) root.pop_back();
  std::vector<std::string> folders;
  std::vector<ShortcutFile> files;
  const bool dates = a.Options.Keep == KeepPolicy::Oldest || a.Options.Keep == KeepPolicy::Newest;
  CollectShortcuts(ctx, root, "", "", folders, files, dates);

  for (const std::string& path : a.Protect) {
    if (std::none_of(folders.begin(), folders.end(), [&](const std::string& f) { return f == path; })) {
      err << "No folder \"" << path << "\" in " << a.File << ": nothing was done.\n";
      return 2;
    }
  }
  std::vector<DuplicateCandidate> candidates;
  for (const ShortcutFile& f : files) {
    DuplicateCandidate c;
    // A shortcut without a readable address is broken, not a copy.
    if (f.Url != "ERROR") c.Raw = c.Decoded = f.Url;
    c.Date = f.Date;
    c.Folder = f.FolderIndex;
    c.Protected = std::any_of(a.Protect.begin(), a.Protect.end(), [&](const std::string& p) { return PathCovers(p, f.Folder); });
    candidates.push_back(c);
  }
  const std::vector<DuplicateGroup> groups = FindDuplicateGroups(candidates, a.Options);

  auto entry = [&](size_t i) { return DuplicateEntry{0, files[i].Relative, files[i].Folder, files[i].Title, files[i].Url, 0}; };
  DuplicateReport report;
  for (const DuplicateGroup& g : groups) {
    DuplicateReportGroup& r = report.Groups.emplace_back();
    r.Kept = entry(g.Kept);
    for (size_t i : g.Removed) r.Removed.push_back(entry(i));
  }
  CompleteDuplicateReport(report, files.size(), a.Options.Rules);
  if (!WriteReport(ctx, a, report, err)) return 1;
  if (!a.Apply) {
    out << DuplicateReportText(report, false);
    return 0;
  }
  // Each copy goes to the trash, never deleted; one that cannot go stays
  // and is said.
  size_t moved = 0, failed = 0;
  for (const DuplicateGroup& g : groups) {
    for (size_t i : g.Removed) {
      std::string reason;
      if (ctx.Fs().MoveToTrash(files[i].Path, reason)) {
        ++moved;
      } else {
        ++failed;
        err << "Cannot move " << files[i].Path << " to the trash: " << reason << "\n";
      }
    }
  }
  out << DuplicateReportText(report, true);
  if (failed) out << failed << " of them could not be moved to the trash and stayed.\n";
  out << "Moved " << moved << (moved == 1 ? " shortcut file" : " shortcut files") << " to the trash.\n";
  return failed ? 1 : 0;
}

}  // namespace

int RunDedupeCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  DedupeArgs a;
  CLI::App app{"Finds links that lead to the same page and, with --apply, removes the copies. Without --apply "
               "nothing is changed: each group is shown, the copy kept and those that would go.",
               "quillet dedupe"};
  app.add_option("FILE", a.File, "A bookmark file, or a folder of shortcut files (its copies go to the trash)")
      ->required();
  app.add_option("--rules", a.Rules,
                 "What else makes two addresses one, comma-separated: slash, scheme, www, fragment, tracking, port, "
                 "host-case, pct, query-order; safe (host-case,port,pct); all. Without: the exact address as written");
  app.add_option("--tracking-params", a.TrackingParams,
                 "The parameters the tracking rule drops, comma-separated, a trailing * matching any ending "
                 "(default utm_*,fbclid,gclid,dclid,mc_cid,mc_eid,igshid,ref_src)");
  app.add_option("--scope", a.Scope, "file: across the whole document (default); folder: only among one folder's own links")
      ->check(CLI::IsMember({"file", "folder"}));
  app.add_option("--keep", a.Keep, "Which copy stays: first (default), last, oldest, newest (by ADD_DATE)")
      ->check(CLI::IsMember({"first", "last", "oldest", "newest"}));
  app.add_option("--protect", a.Protect,
                 "A folder path (e.g. \"Bookmarks bar/Work\") whose links, and its subfolders', are never removed and "
                 "are kept before any other copy; repeatable")
      ->allow_extra_args(false);
  CLI::Option* apply = app.add_flag("--apply", a.Apply, "Remove the copies: save over FILE after copying it to FILE.bak, "
                                                        "or to -o OUT; shortcut files go to the trash");
  app.add_option("-o,--output", a.Output, "Write the result to OUT and leave FILE as it is")->needs(apply);
  app.add_option("--report", a.Report, "Write every group to F.json or F.csv")
      ->check([](const std::string& f) {
        return EndsWithNoCase(f, ".json") || EndsWithNoCase(f, ".csv") ? std::string()
                                                                       : std::string("the report must end in .json or .csv");
      });
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? 0 : 2;
  }

  if (!a.Rules.empty()) {
    std::string error;
    const std::optional<AddressRuleSet> rules = ParseAddressRules(a.Rules, error);
    if (!rules) {
      err << "--rules: " << error << "\n";
      return 2;
    }
    a.Options.Rules.Rules = *rules;
  }
  if (!a.TrackingParams.empty()) a.Options.Rules.TrackingParams = SplitList(a.TrackingParams);
  a.Options.Scope = a.Scope == "folder" ? DuplicateScope::Folder : DuplicateScope::File;
  a.Options.Keep = a.Keep == "last" ? KeepPolicy::Last
                   : a.Keep == "oldest" ? KeepPolicy::Oldest
                   : a.Keep == "newest" ? KeepPolicy::Newest
                                        : KeepPolicy::First;
  if (ctx.Fs().DirectoryExists(a.File)) return DedupeFolder(ctx, a, out, err);
  return DedupeDocument(ctx, a, out, err);
}

}  // namespace quillet
