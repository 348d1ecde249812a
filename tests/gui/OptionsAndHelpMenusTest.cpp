// The Options menu's marks and settings, and the Help menu's pages.
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

class OptionsAndHelpMenus : public ::testing::Test, public WindowFixture {};

TEST_F(OptionsAndHelpMenus, OptionsToggleTheirMarksAndTheSettings) {
  Ctx().Config.DoubleSpaceLines = true;
  Ctx().Config.BrowserLayout = true;
  MainWindow& f = Create();
  EXPECT_TRUE(f.Action("doubleSpaceLinesAction")->isChecked());
  EXPECT_TRUE(f.Action("browserLayoutAction")->isChecked());
  f.Action("browserLayoutAction")->trigger();
  EXPECT_FALSE(Ctx().Config.BrowserLayout);
  EXPECT_FALSE(f.Action("browserLayoutAction")->isChecked());
  f.Action("wordWrapAction")->trigger();
  EXPECT_TRUE(Ctx().Config.WordWrap);
  EXPECT_TRUE(f.Action("wordWrapAction")->isChecked());
  EXPECT_EQ(f.sourceView->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  f.Action("wordWrapAction")->trigger();
  EXPECT_FALSE(Ctx().Config.WordWrap);
  EXPECT_FALSE(f.Action("wordWrapAction")->isChecked());
  EXPECT_EQ(f.sourceView->lineWrapMode(), QPlainTextEdit::NoWrap);
  f.Action("doubleSpaceLinesAction")->trigger();
  EXPECT_FALSE(Ctx().Config.DoubleSpaceLines);
  EXPECT_FALSE(f.Action("doubleSpaceLinesAction")->isChecked());
  f.Action("indentHtmlAction")->trigger();
  EXPECT_TRUE(Ctx().Config.IndentHtml);
  EXPECT_TRUE(f.Action("indentHtmlAction")->isChecked());
  // The mark follows the negated mark, not the setting, when the two disagree.
  Ctx().Config.IndentHtml = false;
  f.Action("indentHtmlAction")->trigger();
  EXPECT_FALSE(Ctx().Config.IndentHtml);
  EXPECT_FALSE(f.Action("indentHtmlAction")->isChecked());
}

TEST_F(OptionsAndHelpMenus, HelpShowsTheContentsTheIndexAndTopic160) {
  MainWindow& f = Create();
  f.Action("helpContentsAction")->trigger();
  f.Action("keywordSearchAction")->trigger();
  f.Action("otherSoftwareAction")->trigger();
  ASSERT_EQ(HelpShown.size(), 3u);
  EXPECT_EQ(HelpShown[0], Dir.Path() + "/help/index.html");
  EXPECT_EQ(HelpShown[1], Dir.Path() + "/help/keywords.html");
  EXPECT_EQ(HelpShown[2], Dir.Path() + "/help/other-software.html");
  for (const auto& page : HelpShown) EXPECT_NE(ReadBytes(page).find("Quillet"), std::string::npos);
  EXPECT_TRUE(Exists(Dir.Path() + "/help/style.css"));
}

TEST_F(OptionsAndHelpMenus, AHelpPageThatCannotBeShownIsReported) {
  MainWindow& f = Create();
  f.ShowHelpPage = [](const std::string&) { return false; };
  f.Action("helpContentsAction")->trigger();
  EXPECT_EQ(UI().Messages, std::vector<std::string>{"Could not launch " + Dir.Path() + "/help/index.html"});
}

}  // namespace
}  // namespace quillet::test
