// MainWindow: the commands of the Sort and Near Duplicates dialogs.
#include <QLabel>
#include <memory>

#include "app/SortCommand.h"
#include "app/window/MainWindow.h"
#include "app/window/NearDuplicatesDialog.h"
#include "app/window/SortDialog.h"
#include "app/Counted.h"
#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeReader.h"
#include "cleanup/TreeSort.h"
#include "platform/IcuCollation.h"
#include "platform/Ui.h"

namespace quillet {

void MainWindow::SortWithOptions() { OpenSortDialog(std::nullopt, true); }
void MainWindow::FindNearDuplicates() { OpenNearDuplicates(std::nullopt); }

void MainWindow::OpenSortDialog(std::optional<std::string> folderPath, bool recursive) {
  SortSettings settings = LoadSortSettings(ctx_);
  const BookmarkTree tree = ReadBookmarkTree(ctx_.HtmlLines);
  if (folderPath) {
    settings.Folder = DecodeForDisplay(*folderPath, tree.Encoding());
    settings.Recursive = recursive;
  }
  SortDialog dialog(this, settings, SortDialog::FolderPaths(tree),
                    [this](const SortSettings& s) { return SortWith(s); });
  if (dialog.exec() != QDialog::Accepted) return;
  SortSettings chosen = dialog.Settings();
  // A folder the caller named is its choice, not one to offer next time.
  if (folderPath) {
    const SortSettings stored = LoadSortSettings(ctx_);
    chosen.Folder = stored.Folder;
    chosen.Recursive = stored.Recursive;
  }
  SaveSortSettings(ctx_, chosen);
}

std::string MainWindow::SortWith(const SortSettings& s) {
  std::unique_ptr<IcuCollation> own;
  if (!s.Locale.empty()) {
    own = std::make_unique<IcuCollation>(s.Locale);
    if (!own->KnowsLocale())
      return "No collation is known for the locale \"" + s.Locale + "\" (a language code such as de, sv_SE or fr_CA).";
  }
  BookmarkTree tree = ReadBookmarkTree(ctx_.HtmlLines);
  TreeSortOptions options;
  options.By = SortKeyNamed(s.By).value_or(SortKeyKind::Name);
  options.Then = SortKeyNamed(s.Then);
  options.Reverse = s.Reverse;
  options.Folders = FolderPlacementNamed(s.Folders).value_or(FolderPlacement::First);
  options.Text.Natural = s.Natural;
  options.Text.CaseSensitive = s.CaseSensitive;
  options.Recursive = s.Recursive;
  options.KeepToolbarOrder = s.KeepToolbarOrder;
  const auto find = [&](const std::string& shown, std::vector<NodeId>& into) {
    const std::vector<NodeId> found = FindFolders(tree, EncodeFromDisplay(shown, tree.Encoding()));
    into.insert(into.end(), found.begin(), found.end());
    return !found.empty();
  };
  if (!s.Folder.empty() && !find(s.Folder, options.Within))
    return "There is no folder \"" + s.Folder + "\" in the document: nothing was sorted.";
  for (const std::string& path : s.KeepOrder)
    if (!find(path, options.KeepOrder))
      return "There is no folder \"" + path + "\" to keep in order: nothing was sorted.";

  const BusyCursor busy(ctx_.UI());
  TextLines before = ctx_.HtmlLines;
  const TreeSortResult result = SortTree(tree, options, own ? *own : ctx_.Collate());
  const size_t folders = result.Plan.FoldersSorted, changed = result.Plan.Orders.size();
  if (changed == 0) {
    statusNote_->setText(QString::fromStdString("Already in order: " + Counted(folders, "folder", "folders") +
                                                " looked at, nothing moved"));
    return {};
  }
  ApplyPatch(ctx_.HtmlLines, result.Patch);
  RecordStep(std::move(before), QStringLiteral("Sort with Options"),
             "Sorted " + Counted(folders, "folder", "folders") + ": " +
                 Counted(result.Plan.ItemsMoved, "item", "items") + " moved in " +
                 Counted(changed, "folder", "folders"));
  return {};
}

void MainWindow::OpenNearDuplicates(std::optional<std::string> folderPath) {
  NodeId within = kRootNode;
  const BookmarkTree tree = ReadBookmarkTree(ctx_.HtmlLines);
  if (folderPath) {
    const std::vector<NodeId> found = FindFolders(tree, *folderPath);
    if (found.empty()) {
      ctx_.UI().ShowMessage("There is no folder \"" + *folderPath + "\" in the document.");
      return;
    }
    within = found.front();
  }
  NearDuplicatesDialog dialog(this, ctx_, within, [this](TextLines before, const std::string& note) {
    RecordStep(std::move(before), QStringLiteral("Remove Near Duplicates"), note);
  });
  dialog.exec();
}

void MainWindow::NearDuplicatesInUrls() {
  const std::string folder = FolderFieldText();
  if (folder.empty() || !ctx_.Fs().DirectoryExists(folder)) {
    ctx_.UI().ShowMessage("There is no folder of shortcut files at \"" + folder + "\".");
    return;
  }
  NearDuplicatesDialog dialog(this, ctx_, folder,
                              [this](const std::string& note) { statusNote_->setText(QString::fromStdString(note)); });
  dialog.exec();
}

}  // namespace quillet
