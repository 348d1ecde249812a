#include "app/DedupeCommand.h"
#include "app/WordOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>

#include "app/CommandDocument.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/FolderPath.h"
#include "cleanup/AddressRules.h"
#include "cleanup/DuplicateReport.h"
#include "cleanup/NearDuplicates.h"
#include "convert/ShortcutFiles.h"
#include "platform/Errors.h"
#include "platform/AsciiCase.h"

namespace quillet {

namespace {

struct DedupeArgs {
  std::string File, Output, Report;
  std::string Rules, TrackingParams, Scope = "file", Keep = "first";
  std::vector<std::string> Protect;
  bool Apply = false;
  DuplicateOptions Options;
};

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
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
  std::optional<BookmarkTree> read = ReadCommandDocument(ctx, a.File, a.Apply, err);
  if (!read) return 1;
  BookmarkTree& tree = *read;

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
  if (!a.Apply) {
    if (!WriteReport(ctx, a, report, err)) return 1;
    out << DuplicateReportText(report, false);
    return 0;
  }

  if (found.Groups.empty() && overFile) {
    out << "No duplicates found; " << a.File << " was left as it was.\n";
    return WriteReport(ctx, a, report, err) ? 0 : 1;
  }
  RemoveTreeDuplicates(tree, found, PatchWanted::No);
  if (!SaveCommandDocument(ctx, tree.Lines(), a.File, a.Output, err)) return 1;
  out << "Removed " << report.Removed << (report.Removed == 1 ? " copy" : " copies") << "; " << report.Kept
      << (report.Kept == 1 ? " link" : " links") << " kept in " << (overFile ? a.File : a.Output)
      << BackupNote(a.File, a.Output) << ".\n";
  return WriteReport(ctx, a, report, err) ? 0 : 1;
}

// ---- a folder of shortcut files

int DedupeFolder(Context& ctx, const DedupeArgs& a, std::ostream& out, std::ostream& err) {
  if (!a.Output.empty()) {
    err << "-o writes a bookmark file; " << a.File << " is a folder, whose copies go to the trash.\n";
    return 2;
  }
  const bool dates = a.Options.Keep == KeepPolicy::Oldest || a.Options.Keep == KeepPolicy::Newest;
  const ShortcutTree tree = ListShortcutFiles(ctx, a.File, dates);
  const std::vector<ShortcutFile>& files = tree.Files;
  for (const std::string& path : a.Protect) {
    if (std::find(tree.Folders.begin(), tree.Folders.end(), path) == tree.Folders.end()) {
      err << "No folder \"" << path << "\" in " << a.File << ": nothing was done.\n";
      return 2;
    }
  }
  const std::vector<DuplicateGroup> groups = FindShortcutDuplicates(ctx, tree, a.Options, a.Protect);

  auto entry = [&](size_t i) {
    return DuplicateEntry{0, files[i].Relative, tree.Folders[files[i].Folder], files[i].Title, files[i].Url, 0};
  };
  DuplicateReport report;
  for (const DuplicateGroup& g : groups) {
    DuplicateReportGroup& r = report.Groups.emplace_back();
    r.Kept = entry(g.Kept);
    for (size_t i : g.Removed) r.Removed.push_back(entry(i));
  }
  if (!a.Apply) {
    CompleteDuplicateReport(report, files.size(), a.Options.Rules);
    if (!WriteReport(ctx, a, report, err)) return 1;
    out << DuplicateReportText(report, false);
    return 0;
  }
  // Each copy goes to the trash, never deleted. One that cannot go stays,
  // is said, and is left out of what the report says went.
  size_t failed = 0;
  for (size_t gi = 0; gi < groups.size(); ++gi) {
    std::vector<DuplicateEntry>& listed = report.Groups[gi].Removed;
    size_t k = 0;
    for (size_t r = 0; r < listed.size(); ++r) {
      const size_t i = groups[gi].Removed[r];
      std::string reason;
      if (ctx.Fs().MoveToTrash(files[i].Path, reason)) {
        if (k != r) listed[k] = std::move(listed[r]);
        ++k;
      } else {
        ++failed;
        err << "Cannot move " << files[i].Path << " to the trash: " << reason << "\n";
      }
    }
    listed.resize(k);
  }
  std::erase_if(report.Groups, [](const DuplicateReportGroup& g) { return g.Removed.empty(); });
  CompleteDuplicateReport(report, files.size(), a.Options.Rules);
  out << DuplicateReportText(report, true);
  if (failed) out << failed << (failed == 1 ? " copy" : " copies") << " could not be moved to the trash and stayed.\n";
  out << "Moved " << report.Removed << (report.Removed == 1 ? " shortcut file" : " shortcut files")
      << " to the trash.\n";
  if (!WriteReport(ctx, a, report, err)) return 1;
  return failed ? 1 : 0;
}

}  // namespace

std::vector<DuplicateGroup> FindShortcutDuplicates(Context& ctx, const ShortcutTree& tree,
                                                   const DuplicateOptions& options,
                                                   const std::vector<std::string>& protect) {
  const std::vector<ShortcutFile>& files = tree.Files;
  std::vector<DuplicateCandidate> candidates;
  candidates.reserve(files.size());
  for (const ShortcutFile& f : files) {
    DuplicateCandidate& c = candidates.emplace_back();
    // A shortcut without a readable address is broken, not a copy.
    if (f.Url != "ERROR") c.Raw = c.Decoded = f.Url;
    c.Date = f.Modified;
    c.Folder = f.Folder;
    c.Protected = std::any_of(protect.begin(), protect.end(),
                              [&](const std::string& p) { return PathCovers(p, tree.Folders[f.Folder]); });
  }
  std::vector<DuplicateGroup> groups = FindDuplicateGroups(candidates, options);
  // A shortcut that is a link to the one kept is that file itself: moving
  // the file away would leave the kept one pointing nowhere.
  for (DuplicateGroup& g : groups)
    std::erase_if(g.Removed, [&](size_t i) { return ctx.Fs().IsAncestorOrSelf(files[i].Path, files[g.Kept].Path); });
  std::erase_if(groups, [](const DuplicateGroup& g) { return g.Removed.empty(); });
  return groups;
}

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
  if (const auto status = ParseWordOptions(app, args, out, err)) return *status;

  if (!a.Rules.empty()) {
    std::string error;
    const std::optional<AddressRuleSet> rules = ParseAddressRules(a.Rules, error);
    if (!rules) {
      err << "--rules: " << error << "\n";
      return 2;
    }
    a.Options.Rules.Rules = *rules;
  }
  if (!a.TrackingParams.empty()) a.Options.Rules.TrackingParams = SplitNameList(a.TrackingParams);
  a.Options.Scope = a.Scope == "folder" ? DuplicateScope::Folder : DuplicateScope::File;
  a.Options.Keep = a.Keep == "last" ? KeepPolicy::Last
                   : a.Keep == "oldest" ? KeepPolicy::Oldest
                   : a.Keep == "newest" ? KeepPolicy::Newest
                                        : KeepPolicy::First;
  if (ctx.Fs().DirectoryExists(a.File)) return DedupeFolder(ctx, a, out, err);
  return DedupeDocument(ctx, a, out, err);
}

}  // namespace quillet
