// The Html menu: the clean-ups as undoable steps, the view switch, bold and
// italic descriptions.
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

class HtmlMenu : public ::testing::Test, public WindowFixture {};

TEST_F(HtmlMenu, ViewSourceSwitchesViewsAndKeepsTheFlag) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.SetModified(true);
  f.Action("viewSourceAction")->trigger();
  EXPECT_TRUE(f.Action("viewSourceAction")->isChecked());
  EXPECT_TRUE(f.sourceView->isVisible());
  EXPECT_FALSE(f.pane->isVisible());
  EXPECT_EQ(f.sourceView->toPlainText().toStdString(), "<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n</DL><p>");
  EXPECT_TRUE(f.Modified());
  TypeAtEnd("x");
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.Action("viewSourceAction")->trigger();
  EXPECT_FALSE(f.Action("viewSourceAction")->isChecked());
  EXPECT_TRUE(f.pane->isVisible());
  EXPECT_TRUE(f.Modified());
}

TEST_F(HtmlMenu, CleanUpsDoNothingOnAnEmptyDocument) {
  MainWindow& f = Create();
  for (QAction* a : {f.Action("sortAction"), f.Action("stripNetscapeTagsAction"), f.Action("removeDuplicatesFromHtmlAction")}) a->trigger();
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().BusyCount, 0);
}

TEST_F(HtmlMenu, CleanUpsRefreshTheViewAndSetTheFlag) {
  MainWindow& f = Create();
  for (QAction* a : {f.Action("sortAction"), f.Action("stripNetscapeTagsAction"), f.Action("removeDuplicatesFromHtmlAction")}) {
    SCOPED_TRACE(a->text().toStdString());
    Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://b/\">B</A>", "</DL><p>"};
    f.SetModified(false);
    UI().BusyCount = 0;
    a->trigger();
    EXPECT_TRUE(f.Modified());
    EXPECT_GE(UI().BusyCount, 1);
    EXPECT_EQ(UI().BusyDepth, 0);
    EXPECT_EQ(FirstLink(*f.pane), "http://b/");
  }
}

TEST_F(HtmlMenu, ALargeDocumentSortsAndShowsUnderTheBusyCursor) {
  TextLines lines{"<DL><p>"};
  for (int i = 0; i < 100000; ++i)
    lines.push_back("<DT><A HREF=\"http://host/" + std::to_string(i) + "\">Link " + std::to_string(99999 - i) + "</A>");
  lines.push_back("</DL><p>");
  MainWindow& f = Create();
  Ctx().HtmlLines = lines;
  f.Action("sortAction")->trigger();
  EXPECT_GE(UI().BusyCount, 1);
  EXPECT_EQ(UI().BusyDepth, 0);
  EXPECT_EQ(PaneLinks(*f.pane).size(), 100000u);
  f.Action("viewSourceAction")->trigger();
  ASSERT_TRUE(SourceFilled());
  EXPECT_EQ(f.sourceView->document()->blockCount(), 100002);
  // The window paints the result.
  EXPECT_FALSE(f.grab().isNull());
}

TEST_F(HtmlMenu, EachDocumentCommandIsOneStepThatCtrlZTakesBack) {
  const std::string file = "<DL><p>\r\n<DT><A HREF=\"http://b/\" ADD_DATE=\"1\">B</A>\r\n"
                           "<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n";
  WriteBytes(File("a.htm"), file);
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  const TextLines opened = Ctx().HtmlLines;
  // In the rendered view: two commands, then the window's Ctrl+Z.
  f.Action("sortAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Sorted 3 links");
  f.Action("removeDuplicatesFromHtmlAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Removed 1 duplicate link");
  const TextLines cleaned = Ctx().HtmlLines;
  QAction* undo = f.Action("undoAction");
  QAction* redo = f.Action("redoAction");
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines.size(), 5u);  // the duplicate is back
  undo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_EQ(FirstLink(*f.pane), "http://b/");
  // Back where the file was opened: nothing to save.
  EXPECT_FALSE(f.Modified());
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  EXPECT_TRUE(f.Modified());

  // In the source view typing and commands share the history.
  ShowSource();
  TypeAtEnd("x");
  f.Action("stripNetscapeTagsAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Stripped 1 attribute");
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Made 2 descriptions bold");
  f.Action("undoAction")->trigger();
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines.back(), "</DL><p>x");
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
  // Building from a folder is a step too.
  WriteBytes(File("Favs/c.url"), Shortcut("http://c/"));
  f.folderField->setText(QString::fromStdString(File("Favs")));
  UI().Answers = {Answer::No};
  f.Action("urlsToHtmlAction")->trigger();
  EXPECT_EQ(f.StatusNote(), "Read 1 link in 1 folder");
  f.Action("undoAction")->trigger();
  EXPECT_EQ(Ctx().HtmlLines, cleaned);
}

TEST_F(HtmlMenu, NetscapeRemoveDuplicatesLoadsCleansAndSavesOverTheFileLoaded) {
  const std::string bookmarks = Dir.Path() + "/home/.netscape/bookmarks.html";
  const std::string original =
      "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://a/\">again</A>\r\n</DL><p>\r\n";
  WriteBytes(bookmarks, original);
  Ctx().HomeDir = Dir.Path() + "/home";
  MainWindow& f = Create();
  UI().Answers = {Answer::Yes};
  f.Action("removeDuplicatesFromNetscapeAction")->trigger();
  EXPECT_EQ(ReadBytes(bookmarks), "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n</DL><p>\r\n");
  EXPECT_EQ(ReadBytes(bookmarks + ".bak"), original);
  EXPECT_EQ(Ctx().Config.NetscapeFile, bookmarks);
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(UI().Questions, std::vector<std::string>{"Are you sure you want to replace your Netscape bookmarks?"});
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(HtmlMenu, BoldAndItalicWrapDescriptionsAndKeepTheirMarks) {
  MainWindow& f = Create();
  // On an empty document nothing changes, not even the mark.
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://a/\">A</A>", "</DL><p>"};
  f.ShowDocument();
  f.Action("boldDescriptionsAction")->trigger();
  EXPECT_TRUE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\"><B>A</B></A>");
  EXPECT_TRUE(f.Modified());
  f.Action("italicDescriptionsAction")->trigger();
  EXPECT_TRUE(f.Action("italicDescriptionsAction")->isChecked());
  f.Action("boldDescriptionsAction")->trigger();
  f.Action("italicDescriptionsAction")->trigger();
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_FALSE(f.Action("italicDescriptionsAction")->isChecked());
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">A</A>");
}

}  // namespace
}  // namespace quillet::test
