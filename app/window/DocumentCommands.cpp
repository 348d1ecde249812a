// MainWindow: the commands of the File, Convert and Html menus, and the
// document state they share (the save question, loads that keep the
// document when they fail, undoable steps).
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include "app/Commands.h"
#include "app/Counted.h"
#include "app/Config.h"
#include "app/window/DocumentHistory.h"
#include "app/window/DocumentViews.h"
#include "app/window/LoadProgress.h"
#include "app/window/MainWindow.h"
#include "app/BrowserImport.h"
#include "app/NetscapeCommands.h"
#include "app/ShellCommands.h"
#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/DocumentFile.h"
#include "bookmarks/DocumentInfo.h"
#include "bookmarks/TreeReader.h"
#include "cleanup/Emphasis.h"
#include "convert/HtmlToUrls.h"
#include "convert/Netscape.h"
#include "convert/Purge.h"
#include "convert/UrlsToHtml.h"
#include "platform/Errors.h"
#include "platform/Path.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet {

namespace {

constexpr const char* kSaveQuestion = "Html has been changed, Save Html now?";

}  // namespace

std::string MainWindow::FolderFieldText() const {
  return EncodeFromDisplay(folderField->text().toStdString(), folderEncoding_);
}

void MainWindow::BrowseForFolder() {
  ctx_.Config.FavoritesDir = FolderFieldText();
  std::string folder;
  if (!dialogs_.SelectFolder(ctx_.Config.FavoritesDir, folder)) return;
  folderEncoding_ = ChooseDisplayEncoding({folder});
  folderField->setText(QString::fromStdString(DecodeForDisplay(folder, folderEncoding_)));
}

bool MainWindow::AskSaveIfModified() {
  if (!Modified()) return true;
  switch (ctx_.UI().AskOrCancel(kSaveQuestion, SaveQuestionTitle())) {
    case Answer::No:
      return true;
    case Answer::Dismissed:
      // Cancel is how one backs out: it must neither overwrite the file nor
      // let the changes go.
      return false;
    case Answer::Yes:
      break;
  }
  // A save that failed has said so.
  Run(&MainWindow::SaveFile);
  // Cancelled, declined or failed, a save that did not happen keeps the
  // mark, and nothing may replace the changes.
  return !Modified();
}

bool MainWindow::LoadKeepingDocument(const std::function<bool()>& load) {
  TextLines kept = std::move(ctx_.HtmlLines);
  ctx_.HtmlLines.clear();
  const std::string keptFile = ctx_.Config.CurrentFile;
  const auto restore = [&] {
    ctx_.HtmlLines = std::move(kept);
    ctx_.Config.CurrentFile = keptFile;
  };
  bool loaded = false;
  try {
    loaded = load();
  } catch (...) {
    restore();
    throw;
  }
  if (!loaded) restore();
  return loaded;
}

void MainWindow::RecordStep(TextLines before, const QString& name, const std::string& note) {
  history_->RecordCommand(std::move(before), name);
  SetModified(true);
  statusNote_->setText(QString::fromStdString(note));
}

// ---- File ----

void MainWindow::OpenFile() {
  if (!AskSaveIfModified()) return;
  openDialog.InitialDir = ctx_.Config.LastDir;
  std::string name;
  if (!dialogs_.OpenFileName(openDialog, name)) name.clear();
  OpenChosenFile(name);
}

void MainWindow::OpenFromCommandLine(const std::string& name) {
  try {
    OpenChosenFile(name);
  } catch (const std::exception& e) {
    ctx_.UI().ShowError(e.what());
  }
}

void MainWindow::OpenChosenFile(const std::string& name) {
  // The marks of Bold and Italic go with the text they were set for, also
  // when the dialog was cancelled.
  Action("boldDescriptionsAction")->setChecked(false);
  Action("italicDescriptionsAction")->setChecked(false);
  if (!name.empty()) {
    std::string dir = ExtractFilePath(name);
    if (dir.size() > 1 && EndsWithDelim(dir)) dir.pop_back();
    ctx_.Config.LastDir = dir;
    const BusyCursor busy(ctx_.UI());
    const QString shown = QString::fromStdString(ExtractFileName(name));
    LoadProgress progress(this, static_cast<size_t>(std::max<qint64>(QFileInfo(QString::fromStdString(name)).size(), 0)), QStringLiteral("Reading %1...").arg(shown));
    // A load refused as too large has said so and opens nothing.
    DocumentLoad load;
    if (LoadKeepingDocument([&] { return (load = LoadHtmlFile(ctx_, name)).Loaded; })) {
      progress.Step(QStringLiteral("Laying out %1...").arg(shown));
      // Text cut short at a NUL byte must not be saved over its file: the
      // next save asks for a name.
      ctx_.Config.CurrentFile = load.NulAt ? std::string() : name;
      history_->StartOver();
      SetModified(false);
      RememberRecentFile(name);
      SayWhereTextStopped(ctx_, name, load);
    }
  }
  // Nothing opened (the dialog cancelled, the file refused): the document
  // and its mark stay.
  ShowFileState();
}

// The mark clears only once the text is written: a save cancelled, declined
// or failed leaves it set.
void MainWindow::SaveFile() {
  if (ctx_.HtmlLines.empty()) {
    ctx_.UI().ShowMessage("There is nothing to save.");
    return;
  }
  if (!ctx_.Config.NetscapeFile.empty() && ctx_.Config.NetscapeFile == ctx_.Config.CurrentFile) {
    if (!ctx_.Fs().FileExists(ctx_.Config.CurrentFile)) return;
    // Closing the question without an answer replaces nothing.
    if (ctx_.UI().Ask("Are you sure you want to replace your Netscape bookmarks?") != Answer::Yes) return;
    KeepBackupCopy(ctx_, ctx_.Config.CurrentFile);
  }
  if (!ctx_.Fs().FileExists(ctx_.Config.CurrentFile)) {
    saveDialog.InitialDir = ctx_.Config.LastDir;
    std::string name;
    if (!dialogs_.SaveFileName(saveDialog, name)) return;
    ctx_.Config.CurrentFile = name;
  }
  try {
    const BusyCursor busy(ctx_.UI());
    SaveHtmlFile(ctx_.Fs(), ctx_.HtmlLines, ctx_.Config.CurrentFile);
    SetModified(false);
    RememberRecentFile(ctx_.Config.CurrentFile);
  } catch (const EFCreateError& e) {
    ctx_.UI().ShowMessage(SaveFailureText("Could not save file.", e));
  }
}

void MainWindow::SaveAs() {
  ctx_.Config.CurrentFile.clear();
  SaveFile();
}

// A copy for a browser to import, whatever the Browser Layout option says;
// the document, its file and its mark stay as they are.
void MainWindow::SaveForBrowserImport() {
  if (ctx_.HtmlLines.empty()) {
    ctx_.UI().ShowMessage("There is nothing to save.");
    return;
  }
  saveDialog.InitialDir = ctx_.Config.LastDir;
  std::string name;
  if (!dialogs_.SaveFileName(saveDialog, name)) return;
  try {
    const BusyCursor busy(ctx_.UI());
    SaveHtmlFile(ctx_.Fs(), ForBrowserImport(ctx_.HtmlLines), name);
    statusNote_->setText(QStringLiteral("Saved for browser import as %1").arg(QString::fromStdString(ExtractFileName(name))));
  } catch (const EFCreateError& e) {
    ctx_.UI().ShowMessage(SaveFailureText("Could not save file.", e));
  }
}

void MainWindow::LoadNetscapeFile() { LoadNetscape(); }

bool MainWindow::LoadNetscape() {
  if (!AskSaveIfModified()) return false;
  bool loaded = false;
  {
    const BusyCursor busy(ctx_.UI());
    loaded = LoadKeepingDocument([this] { return LoadNetscapeBookmarks(ctx_); });
  }
  // Not located or refused as too large: the document and its mark stay.
  if (loaded) {
    history_->StartOver();
    SetModified(false);
  }
  ShowFileState();
  return true;
}

void MainWindow::SaveNetscapeFile() {
  if (SaveOverNetscapeBookmarks(ctx_)) SetModified(false);
}
void MainWindow::ExploreFavoritesFolder() { ExploreFavorites(ctx_, FolderFieldText()); }
void MainWindow::OpenFavoritesFolder() { OpenFavorites(ctx_, FolderFieldText()); }
void MainWindow::PurgeUrlsInFolder() { PurgeUrls(ctx_, FolderFieldText()); }

void MainWindow::Exit() { close(); }

// ---- Convert ----

void MainWindow::ConvertUrlsToHtml() {
  if (!AskSaveIfModified()) return;
  TextLines before = ctx_.HtmlLines;
  // No folder, no change: the mark stays as it was.
  if (!UrlsToHtml(ctx_, FolderFieldText())) return;
  const DocumentInfo read = DescribeDocument(ReadBookmarkTree(ctx_.HtmlLines));
  // The converted folder itself has no heading, only its list: it counts too.
  RecordStep(std::move(before), QString::fromUtf8(CommandNamed("urls2html")->step),
             "Read " + Counted(read.Links, "link", "links") + " in " + Counted(read.Folders + 1, "folder", "folders"));
}

void MainWindow::ConvertHtmlToUrls() {
  ctx_.UrlTargetDir = ctx_.Config.FavoritesDir;
  const BusyCursor busy(ctx_.UI());
  HtmlToUrls(ctx_, false);
}

void MainWindow::AppendUrlsToNetscape() {
  TextLines before = ctx_.HtmlLines;
  bool written = false;
  if (!ImportUrlsIntoNetscape(ctx_, [this] { return AskSaveIfModified(); }, &written)) return;
  // The Favorites HTML, as a step that marks the document; it counts as
  // saved once it is in the bookmark file.
  history_->RecordCommand(std::move(before), QString::fromUtf8(CommandNamed("urls2ns")->step));
  if (written) SetModified(false);
}

void MainWindow::ConvertNetscapeToUrls() {
  if (!LoadNetscape()) return;
  ConvertHtmlToUrls();
}

// ---- Html ----

// A clean-up of the Html menu: nothing at all on an empty document.
void MainWindow::RunCleanUp(const char* cleanUpSwitch) {
  if (ctx_.HtmlLines.empty()) return;
  const quillet::Command& c = *CommandNamed(cleanUpSwitch);
  const BusyCursor busy(ctx_.UI());
  TextLines before = ctx_.HtmlLines;
  const size_t count = c.cleanUp(ctx_);
  RecordStep(std::move(before), QString::fromUtf8(c.step), std::string(c.done) + " " + Counted(count, c.one, c.many));
}

void MainWindow::SortDocument() { RunCleanUp("/sort"); }
void MainWindow::StripDocument() { RunCleanUp("/nsstrip"); }
void MainWindow::RemoveDuplicatesFromHtml() { RunCleanUp("/nodupes"); }

void MainWindow::RemoveDuplicatesFromNetscape() {
  if (!LoadNetscape()) return;
  RemoveDuplicatesFromHtml();
  // Declined or failed, the cleaned text stays marked as unsaved.
  SaveNetscapeFile();
}

void MainWindow::ViewInBrowser() { ViewPageInBrowser(ctx_); }

void MainWindow::ToggleDescriptionEffect(QAction* item, char letter) {
  bool checked = item->isChecked();
  TextLines before = ctx_.HtmlLines;
  if (const auto changed = ToggleEffect(ctx_, letter, checked)) {
    const std::string effect = letter == BoldLetter ? "bold" : "italic";
    const std::string descriptions = Counted(*changed, "description", "descriptions");
    RecordStep(std::move(before), item->text().remove(QLatin1Char('&')),
               checked ? "Made " + descriptions + " " + effect : "Took " + effect + " off " + descriptions);
  }
  item->setChecked(checked);
}

void MainWindow::ToggleBold() { ToggleDescriptionEffect(Action("boldDescriptionsAction"), BoldLetter); }
void MainWindow::ToggleItalic() { ToggleDescriptionEffect(Action("italicDescriptionsAction"), ItalicLetter); }

}  // namespace quillet
