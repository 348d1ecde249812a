// MainWindow: File > Import from Browser and Export to Chromium, the
// browsers' own stores read into the document and written from it.
#include <QLabel>

#include "app/Counted.h"
#include "app/window/DocumentHistory.h"
#include "app/window/MainWindow.h"
#include "app/window/ProfileChooser.h"
#include "bookmarks/TreeReader.h"
#include "stores/StoreFiles.h"

namespace quillet {

namespace {

std::string ProfileText(const BrowserProfile& p) {
  return (BrowserDisplayName(p.Browser) + QStringLiteral(", ") + ProfileDisplayName(p)).toStdString();
}

std::string FoundIn(const Context& ctx) { return ctx.HomeDir.empty() ? "(no home folder)" : ctx.HomeDir; }

// What a reader skipped or a writer left out, a few lines of it.
std::string Problems(const std::string& head, const std::vector<StoreProblem>& problems) {
  constexpr size_t kShown = 15;
  std::string text = head;
  for (size_t i = 0; i < problems.size() && i < kShown; ++i) text += "\n" + problems[i].Kind + ": " + problems[i].Text;
  if (problems.size() > kShown) text += "\n... and " + std::to_string(problems.size() - kShown) + " more";
  return text;
}

}  // namespace

// The store becomes a new document without a file: nothing is written
// until it is saved, and the mark says so.
void MainWindow::ImportFromBrowser() {
  const std::vector<BrowserProfile> profiles = FindBrowserProfiles(ctx_.Fs(), ctx_.HomeDir, ctx_.ConfigHome);
  if (profiles.empty()) {
    ctx_.UI().ShowMessage("No browser profiles were found in " + FoundIn(ctx_) + ".");
    return;
  }
  if (!AskSaveIfModified()) return;
  ProfileChooser chooser(profiles, ProfileChooser::Purpose::Import, this);
  if (chooser.exec() != QDialog::Accepted || !chooser.Chosen()) return;
  const BrowserProfile profile = *chooser.Chosen();
  StoreRead read;
  {
    const BusyCursor busy(ctx_.UI());
    // A store that cannot be read leaves the document as it was.
    read = ReadStoreFile(ctx_, profile.Store, profile.Format);
  }
  WriteOptions options;
  options.Layout = ctx_.Config.BrowserLayout ? WriteLayout::Browser : WriteLayout::Quillet;
  options.Indent = ctx_.Config.IndentHtml;
  options.DoubleSpace = ctx_.Config.DoubleSpaceLines;
  ctx_.HtmlLines = WriteOutline(read.Root, options);
  ctx_.Config.CurrentFile.clear();
  Action("boldDescriptionsAction")->setChecked(false);
  Action("italicDescriptionsAction")->setChecked(false);
  history_->StartOver();
  SetModified(true);
  ShowFileState();
  const OutlineCounts counts = CountOutline(read.Root);
  statusNote_->setText(QString::fromStdString("Imported " + Counted(counts.Links, "link", "links") + " in " +
                                              Counted(counts.Folders, "folder", "folders") + " from " +
                                              ProfileText(profile)));
  if (!read.Problems.empty())
    ctx_.UI().ShowMessage(Problems("Some of what " + profile.Store + " holds could not be read:", read.Problems));
}

// A copy of the document into the profile; the document, its file and its
// mark stay as they are.
void MainWindow::ExportToChromium() {
  if (ctx_.HtmlLines.empty()) {
    ctx_.UI().ShowMessage("There is nothing to export.");
    return;
  }
  std::vector<BrowserProfile> profiles = FindBrowserProfiles(ctx_.Fs(), ctx_.HomeDir, ctx_.ConfigHome);
  std::erase_if(profiles, [](const BrowserProfile& p) { return p.Format != StoreFormat::Chromium; });
  if (profiles.empty()) {
    ctx_.UI().ShowMessage("No Chromium profiles were found in " + FoundIn(ctx_) + ".");
    return;
  }
  ProfileChooser chooser(profiles, ProfileChooser::Purpose::Export, this);
  if (chooser.exec() != QDialog::Accepted || !chooser.Chosen()) return;
  const BrowserProfile profile = *chooser.Chosen();
  const OutlineNode root = OutlineOf(ReadBookmarkTree(TextLines(ctx_.HtmlLines)));
  const OutlineCounts counts = CountOutline(root);
  if (ctx_.UI().Ask("Replace the bookmarks of " + ProfileText(profile) + " with the document's " +
                    Counted(counts.Links, "link", "links") + "? The old ones are kept as " + profile.Store +
                    ".bak.") != Answer::Yes)
    return;
  ChromiumWrite written;
  {
    const BusyCursor busy(ctx_.UI());
    // Refused while the browser runs: the file stays as it was.
    written = SaveChromiumBookmarks(ctx_, profile.Store, root);
  }
  statusNote_->setText(QString::fromStdString("Exported " + Counted(written.Written.Links, "link", "links") +
                                              " to " + ProfileText(profile)));
  if (!written.Refused.empty())
    ctx_.UI().ShowMessage(Problems("Chromium would drop these links, so they were left out:", written.Refused));
}

}  // namespace quillet
