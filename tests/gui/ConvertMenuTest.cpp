// The Convert menu: building the document from a folder, writing shortcuts.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>
#include <QToolBar>

#include "app/Addresses.h"
#include "app/window/RealCoolBar.h"
#include "app/StartOptions.h"
#include "platform/Errors.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class ConvertMenu : public ::testing::Test, public WindowFixture {};

TEST_F(ConvertMenu, UrlsToHtmlAsksToSaveBuildsTheDocumentAndSetsTheFlag) {
  WriteBytes(File("Favs/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  MainWindow& f = Create();
  Ctx().Config.CurrentFile = File("old.htm");
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.SetModified(true);
  UI().Answers = {Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(UI().Questions, std::vector<std::string>{kSaveQuestion});
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Ctx().Config.CurrentFile.empty());
  EXPECT_EQ(FirstLink(*f.pane), "http://site/");
}

TEST_F(ConvertMenu, UrlsToHtmlFollowsTheBrowserLayoutMark) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.Action("browserLayoutAction")->trigger();
  f.Action("urlsToHtmlAction")->trigger();
  const TextLines& l = Ctx().HtmlLines;
  ASSERT_GT(l.size(), 9u);
  EXPECT_EQ(l[0], "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  EXPECT_EQ(l[8].rfind("<DT><H3 ADD_DATE=\"", 0), 0u) << l[8];
  EXPECT_EQ(l[9], "<DL><p>");
}

TEST_F(ConvertMenu, ASecondBuildKeepsTheLayoutMarksTheSettingsFileDoesNotHoldYet) {
  WriteBytes(File("Favs/News/Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  // The build re-reads the settings file, which holds the stored options.
  Ctx().ReloadSettings = [](Context& c) {
    c.Config.BrowserLayout = false;
    c.Config.IndentHtml = false;
    c.Config.BoldHtml = true;
  };
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("Favs")));
  f.Action("browserLayoutAction")->trigger();
  f.Action("indentHtmlAction")->trigger();
  UI().Answers = {Answer::No, Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_TRUE(Ctx().Config.BrowserLayout);
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_EQ(Ctx().HtmlLines.at(0), "<!DOCTYPE NETSCAPE-Bookmark-file-1>");
  // The stored emphasis comes back, as before.
  EXPECT_TRUE(Ctx().Config.BoldHtml);
}

TEST_F(ConvertMenu, UrlsToHtmlFromAMissingFolderKeepsTheViewAndTheFlag) {
  MainWindow& f = Create();
  f.folderField->setText(QString::fromStdString(File("missing")));
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Directory not found"});
  EXPECT_FALSE(f.Modified());
}

TEST_F(ConvertMenu, HtmlToUrlsTargetsTheFolderFieldWithTheBusyCursor) {
  MainWindow& f = Create();
  f.folderField->setText(QStringLiteral("/target"));
  Ctx().HtmlLines = {"<DL><p>", "</DL><p>"};
  f.Action("htmlToUrlsAction")->trigger();
  EXPECT_EQ(Ctx().UrlTargetDir, "/target");
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_FALSE(f.Modified());
}

}  // namespace
}  // namespace quillet::test
