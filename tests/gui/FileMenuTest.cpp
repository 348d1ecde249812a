// The File menu: open, save, the Netscape file, the Favorites commands,
// recent files, Save for Browser Import and the progress of a long load.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>

#include "app/Addresses.h"
#include "app/Config.h"
#include "app/StartOptions.h"
#include "app/window/LoadProgress.h"
#include "app/window/RealCoolBar.h"
#include "platform/Errors.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class FileMenu : public ::testing::Test, public WindowFixture {
 protected:
  void OpenNamed(const std::string& name) {
    Dialogs.Names = {name};
    Item("openFileAction").trigger();
  }
  std::vector<std::string> RecentItems() {
    std::vector<std::string> items;
    for (QAction* a : Form->Menu(QStringLiteral("recentFilesMenu"))->actions()) items.push_back(a->text().toStdString());
    return items;
  }
};

TEST_F(FileMenu, RecentFilesListTheLastEightMostRecentFirst) {
  MainWindow& f = Create();
  EXPECT_FALSE(f.Menu(QStringLiteral("recentFilesMenu"))->isEnabled());
  for (int i = 1; i <= 9; ++i) WriteBytes(File(std::to_string(i) + ".htm"), "<p>File " + std::to_string(i));
  for (int i = 1; i <= 9; ++i) OpenNamed(File(std::to_string(i) + ".htm"));
  OpenNamed(File("5.htm"));
  // Saved under another name, the file is the most recent.
  Dialogs.Names = {File("a&b.htm")};
  Item("saveAsAction").trigger();
  const std::vector<std::string> expected = {File("a&b.htm"), File("5.htm"), File("9.htm"), File("8.htm"),
                                             File("7.htm"),   File("6.htm"), File("4.htm"), File("3.htm")};
  EXPECT_EQ(f.RecentFiles(), expected);
  ASSERT_EQ(RecentItems().size(), 8u);
  EXPECT_EQ(RecentItems()[0], "&1 " + File("a&&b.htm"));
  // Kept at once in the settings file, for the next window.
  EXPECT_EQ(LoadRecentFiles(Ctx()), expected);
  Form.reset();
  Create();
  EXPECT_EQ(RecentItems().size(), 8u);
  Item("recentFile3Action").trigger();
  EXPECT_EQ(Ctx().Config.CurrentFile, File("9.htm"));
  EXPECT_EQ(PaneText(*Form->pane), "File 9");
  EXPECT_EQ(Form->RecentFiles().front(), File("9.htm"));
}

TEST_F(FileMenu, ARecentFileThatHasGoneIsSaidAndLeavesTheList) {
  WriteBytes(File("a.htm"), "<p>A");
  MainWindow& f = Create();
  OpenNamed(File("gone.htm"));  // the dialog takes a missing name; the open fails
  WriteBytes(File("gone.htm"), "<p>Gone");
  OpenNamed(File("gone.htm"));
  OpenNamed(File("a.htm"));
  std::remove(File("gone.htm").c_str());
  UI().Errors.clear();
  Item("recentFile2Action").trigger();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Cannot open file " + File("gone.htm")});
  EXPECT_EQ(f.RecentFiles(), std::vector<std::string>{File("a.htm")});
  EXPECT_EQ(PaneText(*f.pane), "A");
  // With unsaved changes it asks first, and Cancel opens nothing.
  Item("sortAction").trigger();
  UI().Answers = {Answer::Dismissed};
  Item("recentFile1Action").trigger();
  EXPECT_EQ(UI().Questions.size(), 1u);
  EXPECT_TRUE(f.Modified());
}

TEST_F(FileMenu, SaveForBrowserImportWritesHeadingsBeforeTheirListsAndLeavesTheDocument) {
  const std::string own = "<DL><p>\r\n<DL><p>\r\n<DT><H3>News</H3>\r\n<DT><A HREF=\"http://n/\">N</A>\r\n</DL><p>\r\n</DL><p>\r\n";
  WriteBytes(File("own.htm"), own);
  MainWindow& f = Create();
  OpenNamed(File("own.htm"));
  Item("sortAction").trigger();
  const TextLines document = Ctx().HtmlLines;
  Dialogs.Names = {File("import.htm")};
  Item("saveForBrowserImportAction").trigger();
  const std::string saved = ReadBytes(File("import.htm"));
  EXPECT_EQ(saved.rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n", 0), 0u);
  EXPECT_NE(saved.find("<DL><p>\r\n<DT><H3>News</H3>\r\n<DL><p>\r\n<DT><A HREF=\"http://n/\">N</A>\r\n</DL><p>\r\n</DL><p>\r\n"),
            std::string::npos);
  EXPECT_EQ(Ctx().HtmlLines, document);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("own.htm"));
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(ReadBytes(File("own.htm")), own);
  EXPECT_EQ(f.StatusNote(), "Saved for browser import as import.htm");
}

TEST_F(FileMenu, ALoadShowsItsProgressWhenItsSizeSaysItWillTakeLong) {
  MainWindow& f = Create();
  {
    LoadProgress small(&f, 1000, QStringLiteral("Reading"));
    small.Step(QStringLiteral("Laying out"));
    EXPECT_FALSE(small.Shown());
  }
  LoadProgress big(&f, LoadProgress::kBytesPerHalfSecond, QStringLiteral("Reading"));
  ASSERT_TRUE(big.Shown());
  big.Step(QStringLiteral("Laying out"));
  auto* shown = f.findChild<QProgressDialog*>(QStringLiteral("loadProgress"));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->labelText(), QStringLiteral("Laying out"));
}

TEST_F(FileMenu, OpenLoadsTheFileShowsItsNameAndRemembersItsFolder) {
  WriteBytes(File("in/a.htm"), "<DL><p>\r\n<DT><A HREF=\"http://x/\">X</A>\r\n</DL><p>\r\n");
  Ctx().Config.LastDir = "/start";
  MainWindow& f = Create();
  f.Action("boldDescriptionsAction")->setChecked(true);
  Dialogs.Names = {File("in/a.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, "/start");
  EXPECT_EQ(Ctx().HtmlLines.size(), 3u);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("in/a.htm"));
  EXPECT_EQ(Ctx().Config.LastDir, File("in"));
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(FirstLink(*f.pane), "http://x/");
  EXPECT_EQ(f.windowTitle().toStdString(), "a.htm[*] - Quillet");
  // A clean-up keeps the path and says what it did.
  f.Action("sortAction")->trigger();
  EXPECT_EQ(f.StatusText(), File("in/a.htm"));
  EXPECT_EQ(f.StatusNote(), "Sorted 1 link");
  EXPECT_TRUE(f.isWindowModified());
}

TEST_F(FileMenu, OpenInTheRootFolderKeepsItsDelimiter) {
  MainWindow& f = Create();
  Dialogs.Names = {"/no-such-file-for-quillet.htm"};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(Ctx().Config.LastDir, "/");
}

TEST_F(FileMenu, AFailedOpenLeavesTheDocumentViewsFileFlagAndStatus) {
  WriteBytes(File("a.htm"), "<DL><p>\r\n<DT><H3>Folder</H3>\r\n</DL><p>\r\n");
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  ShowSource();
  TypeAtEnd("x");
  ASSERT_TRUE(f.Modified());
  const QString shown = f.sourceView->toPlainText();
  const TextLines lines = Ctx().HtmlLines;
  f.statusBar()->findChild<QLabel*>()->setText(QStringLiteral("shown"));
  const std::string pane = PaneText(*f.pane);

  UI().Answers = {Answer::No};
  Dialogs.Names = {File("missing.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Cannot open file " + File("missing.htm")});
  EXPECT_EQ(Ctx().HtmlLines, lines);
  EXPECT_EQ(f.sourceView->toPlainText(), shown);
  EXPECT_EQ(PaneText(*f.pane), pane);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("a.htm"));
  EXPECT_TRUE(f.Modified());
  // The status bar shows the file the document still belongs to.
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(FileMenu, SaveOverwritesAnExistingCurrentFileWithoutADialog) {
  WriteBytes(File("a.htm"), "old");
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one", "two"};
  f.SetModified(true);
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(ReadBytes(File("a.htm")), "one\r\ntwo\r\n");
  EXPECT_FALSE(f.Modified());
  EXPECT_TRUE(UI().Messages.empty());
}

TEST_F(FileMenu, SaveAsAlwaysAsksAndTakesTheNewName) {
  WriteBytes(File("a.htm"), "old");
  Ctx().Config.LastDir = Dir.Path();
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("a.htm");
  Ctx().HtmlLines = {"one"};
  Dialogs.Names = {File("b.htm")};
  f.Action("saveAsAction")->trigger();
  EXPECT_EQ(Dialogs.Shown, std::vector<std::string>{"save"});
  EXPECT_EQ(Dialogs.Setups.at(0).InitialDir, Dir.Path());
  EXPECT_EQ(Ctx().Config.CurrentFile, File("b.htm"));
  EXPECT_EQ(ReadBytes(File("b.htm")), "one\r\n");
  EXPECT_EQ(ReadBytes(File("a.htm")), "old");
}

TEST_F(FileMenu, CancellingTheSaveDialogKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {""};
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
}

TEST_F(FileMenu, SavingAnEmptyDocumentSaysSo) {
  MainWindow& f = Create();
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is nothing to save."});
  EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(FileMenu, AFailedSaveSaysSoAndKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"one"};
  f.SetModified(true);
  Dialogs.Names = {File("no-such-folder/b.htm")};
  f.Action("saveFileAction")->trigger();
  // The fixed text, then why.
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not save file.\nCannot create file " +
                                                    File("no-such-folder/b.htm") + ": its folder does not exist"});
  EXPECT_TRUE(f.Modified());
}

TEST_F(FileMenu, SavingTheNetscapeFileAsksAndDoesNothingOnceItIsGone) {
  WriteBytes(File("bookmark.htm"), "old");
  MainWindow& f = Create();
  Ctx().Config.NetscapeFile = Ctx().Config.CurrentFile = File("bookmark.htm");
  Ctx().HtmlLines = {"new"};
  UI().Answers = {Answer::No};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "old");

  UI().Answers = {Answer::Yes};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(ReadBytes(File("bookmark.htm")), "new\r\n");

  std::remove(File("bookmark.htm").c_str());
  UI().Questions.clear();
  f.Action("saveFileAction")->trigger();
  EXPECT_TRUE(UI().Questions.empty());
  EXPECT_TRUE(UI().Messages.empty());
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(Exists(File("bookmark.htm")));
}

TEST_F(FileMenu, ExitClosesTheWindow) {
  MainWindow& f = Create();
  f.Action("exitAction")->trigger();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(SettingsWrites, 1);
}

TEST_F(FileMenu, PurgeWithoutAFolderSaysSo) {
  MainWindow& f = Create();
  f.folderField->clear();
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"There is no folder to delete Urls in."});
  EXPECT_TRUE(UI().Questions.empty());
}

TEST_F(FileMenu, PurgeAsksAndDeletesOnlyOnYes) {
  MainWindow& f = Create();
  WriteBytes(Dir.Path() + "/Fav/a.url", "[InternetShortcut]\r\nURL=x\r\n");
  f.folderField->setText(QString::fromStdString(Dir.Path() + "/Fav"));
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_TRUE(Exists(Dir.Path() + "/Fav/a.url"));
  UI().Answers = {Answer::Yes};
  f.Action("purgeUrlsAction")->trigger();
  EXPECT_FALSE(Exists(Dir.Path() + "/Fav/a.url"));
  EXPECT_EQ(UI().Questions.back(), "Are you sure you want to delete all Urls in " + Dir.Path() + "/Fav?");
}

TEST_F(FileMenu, ShellCommandsGoToTheDesktop) {
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(Dir.Path()));
  f.Action("exploreFavoritesAction")->trigger();
  f.Action("openFavoritesAction")->trigger();
  f.Action("productPageAction")->trigger();
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.Action("viewInBrowserAction")->trigger();
  ASSERT_EQ(T.Shell.Calls.size(), 4u);
  EXPECT_EQ(T.Shell.Calls[0].Kind, "explore");
  EXPECT_EQ(T.Shell.Calls[0].Target, Dir.Path());
  EXPECT_EQ(T.Shell.Calls[2].Target, kProductPage);
  EXPECT_EQ(T.Shell.Calls[3].Target, Dir.Path() + "/quillettemp.htm");
  EXPECT_EQ(ReadBytes(Dir.Path() + "/quillettemp.htm"), "<DL><p>\r\n</DL><p>\r\n");
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(FileMenu, AFileCutShortAtANulIsShownButSavedOnlyUnderANameChosenAgain) {
  WriteBytes(File("nul.htm"), std::string("<DL><p>\r\n\0rest", 14));
  MainWindow& f = Create();
  Dialogs.Names = {File("nul.htm")};
  f.Action("openFileAction")->trigger();
  EXPECT_EQ(UI().Messages,
            std::vector<std::string>{File("nul.htm") + " holds a NUL byte at offset 9; only the text before it was read."});
  EXPECT_EQ(Ctx().HtmlLines, TextLines{"<DL><p>"});
  EXPECT_EQ(Ctx().Config.CurrentFile, "");
  EXPECT_EQ(f.windowTitle().toStdString(), "Quillet[*]");
  Dialogs.Names = {""};
  f.Action("saveFileAction")->trigger();
  EXPECT_EQ(Dialogs.Shown, (std::vector<std::string>{"open", "save"}));
  EXPECT_EQ(ReadBytes(File("nul.htm")), std::string("<DL><p>\r\n\0rest", 14));
}

}  // namespace
}  // namespace quillet::test
