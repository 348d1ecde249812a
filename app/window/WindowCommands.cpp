// MainWindow: the view switch of the Html menu, the options, the help and
// the recent files.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/window/About.h"
#include "app/Addresses.h"
#include "app/Config.h"
#include "app/DisplayCodec.h"
#include "app/window/DocumentViews.h"
#include "app/window/HelpPages.h"
#include "app/window/HelpWindow.h"
#include "app/window/MainWindow.h"
#include "app/ShellCommands.h"

namespace quillet {

// Html > View Source switches between the source text and the page.
void MainWindow::ToggleViewSource() { ShowView(CurrentView() == source_ ? static_cast<DocumentView*>(rendered_) : source_); }

// ---- Options: each flips its mark and the setting of the same name ----

void MainWindow::ToggleWordWrap() {
  QAction* item = Action("wordWrapAction");
  ctx_.Config.WordWrap = !item->isChecked();
  item->setChecked(ctx_.Config.WordWrap);
  source_->SetWordWrap(ctx_.Config.WordWrap);
}

void MainWindow::ToggleDoubleSpaceLines() {
  QAction* item = Action("doubleSpaceLinesAction");
  ctx_.Config.DoubleSpaceLines = !item->isChecked();
  item->setChecked(ctx_.Config.DoubleSpaceLines);
}

void MainWindow::ToggleIndentHtml() {
  QAction* item = Action("indentHtmlAction");
  ctx_.Config.IndentHtml = !item->isChecked();
  item->setChecked(ctx_.Config.IndentHtml);
}

void MainWindow::ToggleBrowserLayout() {
  QAction* item = Action("browserLayoutAction");
  ctx_.Config.BrowserLayout = !item->isChecked();
  item->setChecked(ctx_.Config.BrowserLayout);
}

// ---- Help ----

void MainWindow::ShowHelp(const char* page) {
  const std::string file = WriteHelpPages(ctx_.Fs(), HelpFile) + page;
  if (ShowHelpPage && !ShowHelpPage(file)) ctx_.UI().ShowMessage("Could not launch " + file);
}

void MainWindow::ShowHelpContents() { ShowHelp(kHelpContents); }
void MainWindow::ShowKeywordSearch() { ShowHelp(kHelpKeywords); }
void MainWindow::ShowOtherSoftware() { ShowHelp(kHelpTopic160); }

void MainWindow::VisitProductPage() { OpenProductPage(ctx_); }

void MainWindow::VisitMakerPage() {
  if (!OpenMakerPage(ctx_)) ShowOtherSoftware();
}

void MainWindow::SendFeedback() { EmailFeedback(ctx_); }

void MainWindow::ShowAbout() {
  TAboutBox box(this);
  box.OpenProductPage = [this] { OpenWebAddress(ctx_, kProductPage, true); };
  box.OpenMakerHomePage = [this] { OpenWebAddress(ctx_, kMakerPage, true); };
  box.exec();
}

// ---- Recent files ----

void MainWindow::RememberRecentFile(const std::string& name) {
  std::vector<std::string> files{name};
  for (const std::string& f : recentFiles_)
    if (f != name && files.size() < kMaxRecentFiles) files.push_back(f);
  SetRecentFiles(std::move(files));
}

void MainWindow::SetRecentFiles(std::vector<std::string> files) {
  if (files == recentFiles_) return;
  recentFiles_ = std::move(files);
  BuildRecentMenu();
  // Kept at once, not only at closing: a window closed while maximized
  // writes no settings, and another window may open meanwhile.
  try {
    SaveRecentFiles(ctx_, recentFiles_);
  } catch (const std::exception&) {
    // The settings file cannot be written: closing will say so.
  }
}

void MainWindow::BuildRecentMenu() {
  QMenu* menu = Menu(QStringLiteral("recentFilesMenu"));
  // The item being triggered may be among them: gone once it has returned.
  for (QAction* old : menu->actions()) {
    menu->removeAction(old);
    old->deleteLater();
  }
  for (size_t i = 0; i < recentFiles_.size(); ++i) {
    const std::string& file = recentFiles_[i];
    QString shown = QString::fromStdString(DecodeName(file));
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    a->setObjectName(QStringLiteral("recentFile%1Action").arg(i + 1));
    connect(a, &QAction::triggered, this, [this, file] { Run([this, file] { OpenRecentFile(file); }); });
  }
  menu->setEnabled(!recentFiles_.empty());
}

void MainWindow::OpenRecentFile(const std::string& name) {
  if (!AskSaveIfModified()) return;
  try {
    OpenChosenFile(name);
  } catch (...) {
    // A file that has gone, or cannot be read, leaves the list.
    std::vector<std::string> files = recentFiles_;
    std::erase(files, name);
    SetRecentFiles(std::move(files));
    throw;
  }
}

}  // namespace quillet
