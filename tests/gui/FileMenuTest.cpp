// The File menu's additions: recent files, Save for Browser Import, and the
// progress window of a long load.
#include <gtest/gtest.h>

#include <QMenu>
#include <QProgressDialog>

#include "app/Config.h"
#include "app/LoadProgress.h"
#include "tests/gui/GuiTest.h"
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

}  // namespace
}  // namespace quillet::test
