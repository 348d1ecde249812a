// A bookmark file handed over on the command line (by a file manager) opens
// in the window as the open command would leave it.
#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>

#include "tests/gui/GuiTest.h"
#include "tests/support/qt/PaneProbe.h"

namespace quillet::test {
namespace {

class OpenFromCommandLine : public ::testing::Test, public WindowFixture {};

TEST_F(OpenFromCommandLine, LoadsTheFileAsTheOpenCommandWould) {
  WriteBytes(File("docs/a.htm"), "<DL><p>\r\n<DT><A HREF=\"http://x/\">X</A>\r\n</DL><p>\r\n");
  Ctx().Config.BoldHtml = true;
  MainWindow& f = Create();
  ASSERT_TRUE(f.Action("boldDescriptionsAction")->isChecked());
  f.OpenFromCommandLine(File("docs/a.htm"));
  EXPECT_EQ(Ctx().HtmlLines.size(), 3u);
  EXPECT_EQ(Ctx().Config.CurrentFile, File("docs/a.htm"));
  EXPECT_EQ(Ctx().Config.LastDir, File("docs"));
  EXPECT_EQ(f.StatusText(), File("docs/a.htm"));
  EXPECT_FALSE(f.Modified());
  EXPECT_FALSE(f.Action("boldDescriptionsAction")->isChecked());
  EXPECT_EQ(FirstLink(*f.pane), "http://x/");
  EXPECT_TRUE(Dialogs.Setups.empty());  // no dialog was shown
  EXPECT_TRUE(UI().Errors.empty());
  // Nothing changed, so closing asks nothing.
  f.close();
  EXPECT_TRUE(UI().Questions.empty());
}

TEST_F(OpenFromCommandLine, AFileThatCannotBeReadIsReportedAndTheWindowStaysEmpty) {
  MainWindow& f = Create();
  MakeDirs(File("folder.htm"));
  for (const std::string& name : {File("missing.htm"), File("folder.htm")}) {
    UI().Errors.clear();
    f.OpenFromCommandLine(name);
    EXPECT_EQ(UI().Errors.size(), 1u) << name;
    EXPECT_TRUE(Ctx().HtmlLines.empty());
    EXPECT_EQ(Ctx().Config.CurrentFile, "");
    EXPECT_TRUE(f.isVisible());
  }
}

}  // namespace
}  // namespace quillet::test
