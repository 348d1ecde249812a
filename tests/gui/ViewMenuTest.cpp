// The View menu: the views of the one document, each keeping its place, a
// view plugged in from outside, zoom, Back and Forward; the source view's
// font and wrapping.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "app/Config.h"
#include "app/window/DocumentHistory.h"
#include "app/window/DocumentViews.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/qt/PaneProbe.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {
namespace {

class ViewMenu : public ::testing::Test, public WindowFixture {
 protected:
  MainWindow& Open(int links) {
    std::string bytes = "<DL><p>\r\n";
    for (int i = 0; i < links; ++i)
      bytes += "<DT><A HREF=\"http://h/" + std::to_string(i) + "\">Link " + std::to_string(i) + "</A>\r\n";
    WriteBytes(File("a.htm"), bytes + "</DL><p>\r\n");
    MainWindow& f = Create();
    f.resize(600, 400);
    Dialogs.Names = {File("a.htm")};
    Item("openFileAction").trigger();
    return f;
  }
};

TEST_F(ViewMenu, EachViewKeepsItsPlaceAcrossSwitches) {
  MainWindow& f = Open(300);
  f.pane->SetPosition(2000);
  const int paneAt = f.pane->Position();
  ASSERT_GT(paneAt, 0);
  Item("sourceViewAction").trigger();
  EXPECT_TRUE(Item("viewSourceAction").isChecked());
  f.sourceView->setTextCursor(QTextCursor(f.sourceView->document()->findBlockByNumber(150)));
  f.sourceView->ensureCursorVisible();
  const int sourceAt = f.sourceView->verticalScrollBar()->value();
  Item("viewSourceAction").trigger();  // Alt+S goes back to the page
  EXPECT_TRUE(Item("renderedViewAction").isChecked());
  EXPECT_EQ(f.pane->Position(), paneAt);
  // A command keeps the reader's place in the page, as typing would.
  Item("boldDescriptionsAction").trigger();
  EXPECT_EQ(f.pane->Position(), paneAt);
  Item("sourceViewAction").trigger();
  EXPECT_EQ(f.sourceView->textCursor().blockNumber(), 150);
  EXPECT_EQ(f.sourceView->verticalScrollBar()->value(), sourceAt);
  EXPECT_EQ(f.sourceView->document()->findBlockByNumber(1).text().toStdString(), Ctx().HtmlLines[1]);
}

// A big document shows its first lines at once and the rest while the
// window goes on; the editor takes no typing until it holds them all.
TEST_F(ViewMenu, ABigSourceFillsInWhileTheWindowGoesOn) {
  const size_t chunk = SourceView::FillChunkLines;
  SourceView::FillChunkLines = 100;
  MainWindow& f = Open(300);
  Item("sourceViewAction").trigger();
  EXPECT_EQ(f.sourceView->document()->blockCount(), 100);
  EXPECT_TRUE(f.sourceView->isReadOnly());
  EXPECT_EQ(f.StatusNote(), "Reading the source text: 33 %");
  EXPECT_TRUE(SourceFilled());
  EXPECT_EQ(f.sourceView->document()->blockCount(), 302);
  EXPECT_FALSE(f.sourceView->isReadOnly());
  EXPECT_EQ(f.StatusNote(), "");
  SourceView::FillChunkLines = chunk;
}

// A view plugged in through AddView gets its item in the View menu and the
// document's changes; Find and zoom follow what it offers.
class CountingView : public DocumentView {
 public:
  explicit CountingView(DocumentHistory& history) {
    QObject::connect(&history, &DocumentHistory::Changed, &label, [this] { ++Changes; });
  }
  QWidget* Widget() override { return &label; }
  void SetCurrent(bool current) override { Current = current; }
  QLabel label;
  int Changes = 0;
  bool Current = false;
};

TEST_F(ViewMenu, AViewPlugsInWithItsOwnItem) {
  MainWindow& f = Open(3);
  CountingView view(f.History());
  QAction* show = f.AddView(&view, QStringLiteral("&Counting"), QKeySequence(Qt::CTRL | Qt::Key_9),
                            QStringLiteral("countingViewAction"));
  EXPECT_EQ(Item("countingViewAction").text(), QStringLiteral("&Counting"));
  show->trigger();
  EXPECT_TRUE(view.Current);
  EXPECT_TRUE(view.label.isVisible());
  EXPECT_FALSE(Item("viewSourceAction").isChecked());
  for (const char* name : {"findAction", "findNextAction", "zoomInAction", "backAction"})
    EXPECT_FALSE(Item(name).isEnabled()) << name;
  Item("boldDescriptionsAction").trigger();
  Item("undoAction").trigger();
  EXPECT_EQ(view.Changes, 2);
  Item("viewSourceAction").trigger();
  EXPECT_FALSE(view.Current);
  EXPECT_TRUE(f.sourceView->isVisible());
  // The view goes before the window: it must not be the one shown.
  f.ShowView(&f.Rendered());
}

TEST_F(ViewMenu, ZoomScalesThePagesFontsAndIsKept) {
  MainWindow& f = Open(3);
  ASSERT_EQ(f.pane->DefFontSize(), 12);
  EXPECT_FALSE(Item("actualSizeAction").isEnabled());
  Press(f.pane, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(f.Zoom(), 110);
  Item("zoomInAction").trigger();
  EXPECT_EQ(f.pane->DefFontSize(), 15);  // 125 %
  for (int i = 0; i < 20; ++i) Item("zoomOutAction").trigger();
  EXPECT_EQ(f.Zoom(), 50);
  EXPECT_EQ(f.pane->DefFontSize(), 6);
  EXPECT_FALSE(Item("zoomOutAction").isEnabled());
  Press(f.pane, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(f.Zoom(), 100);
  Item("zoomInAction").trigger();
  // Only the page zooms.
  Item("sourceViewAction").trigger();
  EXPECT_FALSE(Item("zoomInAction").isEnabled());
  // Kept in the settings file when the window closes, and read back by the
  // next window.
  Form.reset();
  {
    MainWindow own(Ctx(), Dialogs);
    own.ZoomIn();
    own.WriteSettings(Ctx());
  }
  EXPECT_EQ(LoadZoom(Ctx()), 110);
  SaveZoom(Ctx(), 175);
  EXPECT_EQ(Create().pane->DefFontSize(), 21);
}

TEST_F(ViewMenu, BackAndForwardStepThroughThePagesFollowed) {
  WriteBytes(File("other.htm"), "<p>Other page");
  WriteBytes(File("list.htm"), "<p><a href=\"other.htm\">Other</a> list");
  MainWindow& f = Create();
  Dialogs.Names = {File("list.htm")};
  Item("openFileAction").trigger();
  EXPECT_FALSE(Item("backAction").isEnabled());
  QTest::mouseClick(f.pane->viewport(), Qt::LeftButton, {}, PanelPointOf(*f.pane, "Other"));
  ASSERT_EQ(PaneText(*f.pane), "Other page");
  EXPECT_TRUE(Item("backAction").isEnabled());
  Item("backAction").trigger();
  EXPECT_EQ(PaneText(*f.pane), "Other list");
  EXPECT_TRUE(Item("forwardAction").isEnabled());
  Item("forwardAction").trigger();
  EXPECT_EQ(PaneText(*f.pane), "Other page");
  // The source view has no pages to go through.
  Item("sourceViewAction").trigger();
  EXPECT_FALSE(Item("backAction").isEnabled());
}

TEST_F(ViewMenu, TheSourceIsInAFixedWidthFontAndWrapsWithoutASidewaysBar) {
  Ctx().Config.WordWrap = true;
  MainWindow& f = Open(3);
  EXPECT_TRUE(QFontInfo(f.sourceView->font()).fixedPitch());
  EXPECT_TRUE(Item("wordWrapAction").isChecked());
  EXPECT_EQ(f.sourceView->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  Item("wordWrapAction").trigger();
  EXPECT_EQ(f.sourceView->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(f.sourceView->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

}  // namespace
}  // namespace quillet::test
