#include "app/SortCommand.h"
#include "app/WordOptions.h"

#include <CLI/CLI.hpp>

#include <map>
#include <memory>
#include <optional>

#include "app/CommandDocument.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/FolderPath.h"
#include "cleanup/TreeSort.h"
#include "platform/IcuCollation.h"

namespace quillet {

namespace {

const std::map<std::string, SortKeyKind, std::less<>> kKeys{
    {"name", SortKeyKind::Name}, {"url", SortKeyKind::Url}, {"site", SortKeyKind::Site}, {"added", SortKeyKind::Added}};
const std::map<std::string, FolderPlacement, std::less<>> kPlacements{
    {"first", FolderPlacement::First}, {"last", FolderPlacement::Last}, {"mixed", FolderPlacement::Mixed}};

// The folders a list of paths names; false, said on err, when one names none.
bool FindAll(const BookmarkTree& tree, const std::vector<std::string>& paths, const std::string& file,
             std::vector<NodeId>& out, std::ostream& err) {
  for (const std::string& path : paths) {
    const std::vector<NodeId> found = FindFolders(tree, path);
    if (found.empty()) {
      err << "No folder \"" << path << "\" in " << file << ": nothing was done.\n";
      return false;
    }
    out.insert(out.end(), found.begin(), found.end());
  }
  return true;
}

}  // namespace

std::optional<SortKeyKind> SortKeyNamed(std::string_view word) {
  const auto it = kKeys.find(word);
  return it == kKeys.end() ? std::nullopt : std::optional(it->second);
}

std::optional<FolderPlacement> FolderPlacementNamed(std::string_view word) {
  const auto it = kPlacements.find(word);
  return it == kPlacements.end() ? std::nullopt : std::optional(it->second);
}

int RunSortCommand(Context& ctx, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file, output, by = "name", then, folders = "first", locale;
  std::vector<std::string> within, keepOrder;
  bool reverse = false, noNatural = false, caseSensitive = false, keepToolbar = false, recursive = true;
  CLI::App app{"Sorts the items of each folder. Only the order within folders changes: every line keeps its bytes, "
               "a description moves with its link and a folder with everything in it; separators stay where they "
               "are and only the runs between them are sorted. Equal keys keep their order.",
               "quillet sort"};
  app.add_option("FILE", file, "The bookmark file")->required();
  app.add_option("-o,--output", output, "Write the result to OUT and leave FILE as it is (otherwise FILE is saved "
                                        "over, after it is copied to FILE.bak)");
  app.add_option("--by", by, "name (default), url, site (the host without www., then the address) or added "
                             "(ADD_DATE, oldest first, undated last)")
      ->check(CLI::IsMember({"name", "url", "site", "added"}));
  app.add_option("--then", then, "A second key for items the first finds equal")
      ->check(CLI::IsMember({"name", "url", "site", "added"}));
  app.add_flag("--reverse", reverse, "The other way round; undated links stay last");
  app.add_option("--folders", folders, "first (default) or last within each run between separators, or mixed among "
                                       "the links by the same key (folders by their title)")
      ->check(CLI::IsMember({"first", "last", "mixed"}));
  app.add_flag("--no-natural", noNatural, "Compare digits as text: \"Chapter 10\" before \"Chapter 2\"");
  app.add_flag("--case-sensitive", caseSensitive, "Tell capitals from small letters: \"Apple\" before \"apple\"");
  app.add_option("--locale", locale, "The collation's locale (default from LC_ALL, LC_COLLATE, LANG)");
  app.add_option("--folder", within, "Sort only this folder (a folder path, e.g. \"Bookmarks bar/Work\"); repeatable")
      ->allow_extra_args(false);
  app.add_flag("--recursive,!--no-recursive", recursive,
               "With --folder: also every folder below it (default), or just its own items");
  app.add_option("--keep-order", keepOrder, "A folder whose own items keep their order; repeatable")
      ->allow_extra_args(false);
  app.add_flag("--keep-toolbar-order", keepToolbar, "The toolbar folder's own items keep their order");
  if (const auto status = ParseWordOptions(app, args, out, err)) return *status;

  std::unique_ptr<IcuCollation> own;
  if (!locale.empty()) {
    own = std::make_unique<IcuCollation>(locale);
    if (!own->KnowsLocale()) {
      err << "--locale: no collation is known for \"" << locale << "\" (a language code such as de, sv_SE or "
          << "fr_CA.UTF-8): nothing was done.\n";
      return 2;
    }
  }
  Collation& collation = own ? *own : ctx.Collate();

  const bool overFile = output.empty();
  std::unique_ptr<FileSystem::Lock> lock;
  if (overFile) lock = LockDocumentFile(ctx, file);
  std::optional<BookmarkTree> read = ReadCommandDocument(ctx, file, true, err);
  if (!read) return 1;
  BookmarkTree& tree = *read;

  TreeSortOptions options;
  options.By = kKeys.at(by);
  if (!then.empty()) options.Then = kKeys.at(then);
  options.Reverse = reverse;
  options.Folders = kPlacements.at(folders);
  options.Text.Natural = !noNatural;
  options.Text.CaseSensitive = caseSensitive;
  options.Recursive = recursive;
  options.KeepToolbarOrder = keepToolbar;
  if (!FindAll(tree, within, file, options.Within, err) || !FindAll(tree, keepOrder, file, options.KeepOrder, err))
    return 2;

  const TreeSortResult result = SortTree(tree, options, collation, PatchWanted::No);
  const size_t changed = result.Plan.Orders.size();
  if (changed == 0 && overFile) {
    out << "Already in order: " << file << " was left as it was.\n";
    return 0;
  }
  if (!SaveCommandDocument(ctx, tree.Lines(), file, output, err)) return 1;
  out << "Sorted " << result.Plan.FoldersSorted << (result.Plan.FoldersSorted == 1 ? " folder" : " folders") << ": "
      << result.Plan.ItemsMoved << (result.Plan.ItemsMoved == 1 ? " item" : " items") << " moved in " << changed
      << (changed == 1 ? " folder" : " folders") << "; written to " << (overFile ? file : output)
      << BackupNote(file, output) << ".\n";
  return 0;
}

}  // namespace quillet
