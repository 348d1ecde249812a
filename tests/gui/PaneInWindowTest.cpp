// The HTML pane in the main window: what the window asks of it, the parse
// error it passes on, the status bar following the mouse over links, and
// the help shown in a window of its own.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "app/window/HelpPages.h"
#include "app/window/HelpWindow.h"
#include "app/window/PaneBrowsing.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class PaneInWindow : public ::testing::Test, public WindowFixture {
 protected:
  void Hover(ThtmlPane& pane, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, at, pane.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &e);
  }
};

TEST_F(PaneInWindow, IsSetUpAsTheWindowsPreview) {
  MainWindow& f = Create();
  ThtmlPane& pane = *f.pane;
  EXPECT_FALSE(pane.ViewImages());
  EXPECT_EQ(pane.DefBackground(), clWindow);
  EXPECT_EQ(pane.BorderStyle(), htSingle);
  EXPECT_EQ(pane.HistoryMaxCount(), TPaneBrowsing::kHistoryLength);
  EXPECT_EQ(pane.DefFontName(), "Times New Roman");
  EXPECT_EQ(pane.DefPreFontName(), "Courier New");
  EXPECT_EQ(pane.DefHotSpotColor(), clHotLight);
  EXPECT_FALSE(pane.NoSelect());
  EXPECT_EQ(pane.CharSet(), 1);
  EXPECT_EQ(pane.Cursor(), Qt::IBeamCursor);
  // It starts empty, without bars.
  EXPECT_TRUE(pane.Document().Empty());
  EXPECT_FALSE(pane.verticalScrollBar()->isVisible());
}

TEST_F(PaneInWindow, ACommentLeftOpenReachesTheErrorBoxAndTheCommandGoesOn) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<DL><p>", "<DT><A HREF=\"http://b/\">B</A>", "<DT><A HREF=\"http://a/\">A</A>",
                     "</DL><p>", "<!-- open"};
  f.Action("sortAction")->trigger();
  EXPECT_EQ(UI().Errors, std::vector<std::string>{"Open Comment at End of HTML File"});
  EXPECT_EQ(PaneLinks(*f.pane), (std::vector<std::string>{"http://a/", "http://b/"}));
  EXPECT_TRUE(f.Modified());
  EXPECT_EQ(f.StatusNote(), "Sorted 2 links");
}

TEST_F(PaneInWindow, TheStatusBarShowsTheLinkUnderTheMouse) {
  WriteBytes(File("a.htm"), "<DL><p>\r\n<DT><A HREF=\"http://a/\">Site A</A>\r\n<DT>Plain\r\n</DL><p>\r\n");
  MainWindow& f = Create();
  Dialogs.Names = {File("a.htm")};
  f.Action("openFileAction")->trigger();
  Hover(*f.pane, PanelPointOf(*f.pane, "Site A"));
  EXPECT_EQ(f.statusBar()->currentMessage().toStdString(), "http://a/");
  Hover(*f.pane, PanelPointOf(*f.pane, "Plain"));
  EXPECT_EQ(f.statusBar()->currentMessage().toStdString(), "");
  EXPECT_EQ(f.StatusText(), File("a.htm"));
}

TEST_F(PaneInWindow, SecureWebLinksGoToTheBrowserAndOthersToThePane) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<p><A HREF=\"https://s/\">Secure</A> <A HREF=\"#top\">Top</A>"};
  f.ShowDocument();
  QTest::mouseClick(f.pane->viewport(), Qt::LeftButton, {}, PanelPointOf(*f.pane, "Secure"));
  QTest::mouseClick(f.pane->viewport(), Qt::LeftButton, {}, PanelPointOf(*f.pane, "Top"));
  ASSERT_EQ(T.Shell.Calls.size(), 1u);
  EXPECT_EQ(T.Shell.Calls[0].Target, "https://s/");
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(PaneInWindow, AFormShowsItsControlsAndSubmitsNowhere) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<FORM ACTION=\"http://example.com/\">Name <INPUT NAME=q VALUE=Ann>",
                     "<INPUT TYPE=submit NAME=go></FORM>"};
  f.ShowDocument();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  ThtmlPane& pane = *f.pane;
  // The window has no submit handler: a form goes nowhere.
  EXPECT_FALSE(pane.OnFormSubmit);
  QPushButton* go = pane.viewport()->findChild<QPushButton*>();
  QLineEdit* name = pane.viewport()->findChild<QLineEdit*>();
  ASSERT_TRUE(go && name);
  EXPECT_TRUE(name->isVisible());
  EXPECT_EQ(name->text().toStdString(), "Ann");
  EXPECT_GT(name->x(), PanelPointOf(pane, "Name").x());
  QTest::mouseClick(go, Qt::LeftButton);
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  EXPECT_TRUE(T.Shell.Calls.empty());
  EXPECT_TRUE(UI().Errors.empty());
}

TEST_F(PaneInWindow, LinksOpenBesideTheDocumentAndBackAndForwardStepThroughThem) {
  WriteBytes(File("docs/list.htm"), "<title>List</title><p><a href=\"other.htm\">Other</a> list");
  WriteBytes(File("docs/other.htm"), "<title>O</title><p>Other page <a href=\"http://a/\">Web</a>");
  // A file of the same name where Quillet was started must not be taken.
  WriteBytes(File("started/other.htm"), "<p>Wrong one");
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(File("started"));
  MainWindow& f = Create();
  ThtmlPane& pane = *f.pane;
  const auto* browsing = pane.findChild<TPaneBrowsing*>();
  ASSERT_NE(browsing, nullptr);
  Dialogs.Names = {File("docs/list.htm")};
  f.Action("openFileAction")->trigger();
  Hover(pane, PanelPointOf(pane, "Other"));
  EXPECT_EQ(f.statusBar()->currentMessage().toStdString(), "other.htm");
  QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, PanelPointOf(pane, "Other"));
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(UI().Errors.empty());
  EXPECT_EQ(pane.CurrentFile(), File("docs/other.htm"));
  // The clicked address leaves the status bar; it names the page shown,
  // and the document's file stays.
  EXPECT_EQ(f.statusBar()->currentMessage().toStdString(), "");
  EXPECT_EQ(browsing->PageNote(), "Showing " + File("docs/other.htm") + ", not the document (Alt+Left goes back)");
  EXPECT_EQ(f.StatusText(), File("docs/list.htm"));

  QTest::keyClick(&pane, Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(PaneText(pane), "Other list");
  EXPECT_EQ(browsing->PageNote(), "");
  QTest::mouseClick(pane.viewport(), Qt::ForwardButton, {}, {5, 5});
  EXPECT_EQ(pane.CurrentFile(), File("docs/other.htm"));
  // The source view and Save keep the document; back in the rendered view
  // it is the document that shows.
  f.Action("viewSourceAction")->trigger();
  EXPECT_EQ(f.sourceView->toPlainText().toStdString(), Ctx().HtmlLines[0]);
  EXPECT_EQ(browsing->PageNote(), "");
  f.Action("viewSourceAction")->trigger();
  EXPECT_EQ(PaneText(pane), "Other list");
  EXPECT_FALSE(pane.CanGoBack() || pane.CanGoForward());
}

TEST_F(PaneInWindow, ADragFromBlankSpaceOntoALinkSelectsAndOpensNothing) {
  MainWindow& f = Create();
  Ctx().HtmlLines = {"<p>Some text before <a href=\"http://a/\">Site</a>"};
  f.ShowDocument();
  ThtmlPane& pane = *f.pane;
  const QPoint blank{30, pane.PanelHeight() - 10}, text = PanelPointOf(pane, "Some"), link = PanelPointOf(pane, "Site");
  QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, blank);
  for (const QPoint at : {text, link}) {
    QMouseEvent e(QEvent::MouseMove, at, pane.viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &e);
  }
  QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, link);
  EXPECT_TRUE(T.Shell.Calls.empty());
  EXPECT_EQ(pane.SelText(), "Some text before");
}

// The window as the program makes it, showing help in its own window.
class HelpInThePane : public ::testing::Test {
 protected:
  HelpInThePane() { App(); }
  TempDir Dir;
  TestContext T{Dir.Path() + "/"};
  ScriptedDialogs Dialogs;
};

TEST_F(HelpInThePane, TheHelpMenuShowsThePagesInTheHelpWindow) {
  MainWindow f(T.Ctx, Dialogs);
  f.show();
  f.Action("helpContentsAction")->trigger();
  THelpWindow& help = f.HelpWindow();
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(help.Pane->CurrentFile(), f.HelpFile + kHelpContents);
  EXPECT_EQ(help.windowTitle().toStdString(), "Quillet Help: Contents");
  EXPECT_TRUE(T.Shell.Calls.empty());
  f.Action("keywordSearchAction")->trigger();
  EXPECT_EQ(help.Pane->CurrentFile(), f.HelpFile + kHelpKeywords);
  // A keyword's link opens the contents at its section.
  ThtmlPane& pane = *help.Pane;
  QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, PanelPointOf(pane, "Tidy a bookmark file"));
  EXPECT_EQ(pane.CurrentFile(), f.HelpFile + kHelpContents);
  EXPECT_EQ(pane.Position(), std::min(pane.NameList().at(u"CLEANUP")->YValue, pane.DocHeight() - pane.PanelHeight()));
  EXPECT_EQ(help.windowTitle().toStdString(), "Quillet Help: Contents");
  f.Action("otherSoftwareAction")->trigger();
  EXPECT_EQ(pane.CurrentFile(), f.HelpFile + kHelpTopic160);
  EXPECT_TRUE(T.Shell.Calls.empty());
  EXPECT_TRUE(T.UI.Errors.empty());
}

TEST_F(HelpInThePane, WebAndMailLinksGoToTheDesktop) {
  MainWindow f(T.Ctx, Dialogs);
  WriteBytes(Dir / "page.html", "<p><a href=\"HTTPS://example.org/\">Web</a> <a href=\"mailto:ann@example.org\">Mail</a>");
  f.HelpWindow().ShowPage(Dir / "page.html");
  ThtmlPane& pane = *f.HelpWindow().Pane;
  QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, PanelPointOf(pane, "Web"));
  QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, PanelPointOf(pane, "Mail"));
  ASSERT_EQ(T.Shell.Calls.size(), 2u);
  EXPECT_EQ(T.Shell.Calls[0].Target, "HTTPS://example.org/");
  EXPECT_EQ(T.Shell.Calls[1].Target, "mailto:ann@example.org");
  EXPECT_EQ(pane.CurrentFile(), Dir / "page.html");
  EXPECT_TRUE(IsWebLink("ftp://x"));
  EXPECT_FALSE(IsWebLink("index.html#http:"));
}

}  // namespace
}  // namespace quillet::test
