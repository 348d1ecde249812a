// The Edit menu: one undo history for typing and commands in every view,
// the find bar, Select All and Copy in the rendered and the source view.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QUndoStack>

#include "app/window/FindBar.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class EditMenu : public ::testing::Test, public WindowFixture {
 protected:
  MainWindow& Open(const std::string& bytes) {
    WriteBytes(File("a.htm"), bytes);
    MainWindow& f = Create();
    Dialogs.Names = {File("a.htm")};
    Item("openFileAction").trigger();
    return f;
  }
  // What the view shows selected.
  std::string Selected(MainWindow& f) {
    if (f.CurrentView() == nullptr) return {};
    if (f.sourceView->isVisible()) return f.sourceView->textCursor().selectedText().toStdString();
    return f.pane->SelText();
  }
};

const char kLinks[] = "<DL><p>\r\n<DT><A HREF=\"http://a/\">Alpha</A>\r\n<DT><A HREF=\"http://b/\">beta</A>\r\n"
                      "<DT><A HREF=\"http://c/\">ALPHA again</A>\r\n</DL><p>\r\n";

TEST_F(EditMenu, KeystrokesMergeIntoStepsAndCtrlZTakesThemBackInAnyView) {
  MainWindow& f = Open(kLinks);
  const TextLines opened = Ctx().HtmlLines;
  Item("sourceViewAction").trigger();
  QTextCursor end(f.sourceView->document()->findBlockByNumber(1));
  end.movePosition(QTextCursor::EndOfBlock);
  f.sourceView->setTextCursor(end);
  // Three characters typed are one step; two erased are another.
  QTest::keyClicks(f.sourceView, "xyz");
  QTest::keyClick(f.sourceView, Qt::Key_Backspace);
  QTest::keyClick(f.sourceView, Qt::Key_Backspace);
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">Alpha</A>x");
  EXPECT_EQ(f.UndoStack().count(), 2);
  // Ctrl+Z in the editor reaches the window's history, not the editor's own.
  Press(f.sourceView, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">Alpha</A>xyz");
  EXPECT_EQ(f.sourceView->document()->findBlockByNumber(1).text().toStdString(), Ctx().HtmlLines[1]);
  // A command is a step of the same history; the rendered view undoes it
  // and the typing before it.
  Item("sortAction").trigger();
  Item("renderedViewAction").trigger();
  Press(f.pane, Qt::Key_Z, Qt::ControlModifier);
  Press(f.pane, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Ctx().HtmlLines, opened);
  EXPECT_FALSE(f.Modified());
  EXPECT_EQ(PaneLinks(*f.pane), (std::vector<std::string>{"http://a/", "http://b/", "http://c/"}));
  Press(f.pane, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Ctx().HtmlLines[1], "<DT><A HREF=\"http://a/\">Alpha</A>xyz");
  EXPECT_TRUE(f.Modified());
  EXPECT_TRUE(Item("redoAction").isEnabled());  // the sort is still ahead
}

// Find in each view that has it: Enter and F3 go on, Shift+F3 goes back,
// both going round the ends, letter case ignored; Escape closes the bar.
TEST_F(EditMenu, FindsInTheRenderedAndTheSourceView) {
  for (const char* view : {"renderedViewAction", "sourceViewAction"}) {
    SCOPED_TRACE(view);
    MainWindow& f = Open(kLinks);
    Item(view).trigger();
    Item("findAction").trigger();
    ASSERT_TRUE(f.findBar->isVisible());
    auto* field = f.findBar->findChild<QLineEdit*>(QStringLiteral("findField"));
    field->setText(QStringLiteral("alpha"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(Selected(f), "Alpha");
    Item("findNextAction").trigger();
    EXPECT_EQ(Selected(f), "ALPHA");
    Item("findNextAction").trigger();
    EXPECT_EQ(Selected(f), "Alpha");
    Item("findPreviousAction").trigger();
    EXPECT_EQ(Selected(f), "ALPHA");
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Selected(f), "Alpha");
    EXPECT_EQ(f.findBar->Note(), QString());
    field->setText(QStringLiteral("gamma"));
    Item("findNextAction").trigger();
    EXPECT_EQ(f.findBar->Note(), QStringLiteral("Not found"));
    EXPECT_EQ(Selected(f), "Alpha");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(f.findBar->isVisible());
  }
}

TEST_F(EditMenu, AMatchFarDownIsScrolledIntoView) {
  std::string bytes = "<DL><p>\r\n";
  for (int i = 0; i < 400; ++i) bytes += "<DT><A HREF=\"http://h/" + std::to_string(i) + "\">Link " + std::to_string(i) + "</A>\r\n";
  bytes += "<DT><A HREF=\"http://end/\">Needle</A>\r\n</DL><p>\r\n";
  MainWindow& f = Open(bytes);
  for (const char* view : {"renderedViewAction", "sourceViewAction"}) {
    SCOPED_TRACE(view);
    Item(view).trigger();
    Item("findAction").trigger();
    f.findBar->findChild<QLineEdit*>()->setText(QStringLiteral("needle"));
    Item("findNextAction").trigger();
    EXPECT_EQ(Selected(f), "Needle");
  }
  EXPECT_GT(f.pane->Position(), 0);
  EXPECT_GE(PanelPointOf(*f.pane, "Needle").y(), 0);
  EXPECT_LT(PanelPointOf(*f.pane, "Needle").y(), f.pane->PanelHeight());
  EXPECT_GT(f.sourceView->verticalScrollBar()->value(), 0);
}

TEST_F(EditMenu, SelectAllAndCopyInEachView) {
  MainWindow& f = Open(kLinks);
  Press(f.pane, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(f.pane->SelText(), "Alpha\nbeta\nALPHA again");
  QGuiApplication::clipboard()->clear();
  Item("copyAction").trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Alpha\nbeta\nALPHA again");
  Item("sourceViewAction").trigger();
  Item("selectAllAction").trigger();
  Item("copyAction").trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), f.sourceView->toPlainText().toStdString());
  // In the folder field they are the field's.
  f.folderField->setText(QStringLiteral("/home/ann"));
  f.folderField->setFocus();
  f.folderField->deselect();
  Item("selectAllAction").trigger();
  EXPECT_EQ(f.folderField->selectedText(), QStringLiteral("/home/ann"));
}

}  // namespace
}  // namespace quillet::test
