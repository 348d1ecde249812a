// MainWindow: File > Check Bookmarks, for the whole document or the folders
// another view names. The check runs in a window of its own.
#include "app/CheckCommand.h"
#include "app/window/CheckWindow.h"
#include "app/window/MainWindow.h"
#include "platform/Path.h"

namespace quillet {

void MainWindow::CheckAllBookmarks() { CheckBookmarks({}); }

void MainWindow::CheckBookmarks(std::vector<std::string> folderPaths) {
  if (ctx_.HtmlLines.empty()) {
    ctx_.UI().ShowMessage("There are no links to check.");
    return;
  }
  if (checkWindow_ && checkWindow_->Running()) {
    if (ctx_.UI().Ask("A check is running. Stop it and start again?") != Answer::Yes) {
      checkWindow_->raise();
      checkWindow_->activateWindow();
      return;
    }
  }
  if (!ctx_.Services.Net && ctx_.ConnectNetwork) ctx_.ConnectNetwork(ctx_);
  if (!ctx_.Services.Net || !ctx_.Services.Loop) {
    ctx_.UI().ShowMessage("Links cannot be checked here: there is no network.");
    return;
  }
  delete checkWindow_;
  checkWindow_ = new CheckWindow(ctx_, this);
  checkWindow_->OnChange = [this](TextLines before, const QString& step, const std::string& note) {
    RecordStep(std::move(before), step, note);
  };
  CheckOptions options = LinkCheckPace;
  const std::string& file = ctx_.Config.CurrentFile;
  SetUpCheck(ctx_, file.empty() ? std::string() : ExtractFilePath(file), options);
  if (checkWindow_->Start(ctx_.HtmlLines, folderPaths, std::move(options)) == 0) {
    delete checkWindow_;
    checkWindow_ = nullptr;
    ctx_.UI().ShowMessage(folderPaths.empty() ? "There are no links to check." : "There are no links to check in "
                                                                                  "the folders chosen.");
    return;
  }
  checkWindow_->show();
}

}  // namespace quillet
