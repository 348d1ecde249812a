// The pane under the mouse: cursor shapes, hot-spot reports, links
// followed or left, the selection dragged (scrolling past the edges) or
// double-clicked, the clipboard and the context menu.
#include <QAction>
#include <QClipboard>
#include <QMenu>

#include "tests/viewer/qt/PaneFixture.h"

namespace quillet::test {
namespace {

class PaneMouse : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    // Two links side by side, then plain text; a far anchor below.
    std::vector<std::string> lines{
        "<p><a href=\"#far\">First link</a><a href=\"http://b/\" target=\"_blank\">Second</a> and plain text",
        "<p>alpha-beta gamma", "<p>na\xC3\xAFve caf\xC3\xA9 \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 x"};
    for (int i = 0; i < 40; ++i) lines.push_back("<p>Filler " + std::to_string(i));
    lines.push_back("<p><a name=\"far\">Far away</a>");
    for (int i = 0; i < 40; ++i) lines.push_back("<p>More " + std::to_string(i));
    Load(lines);
    P().OnHotSpotClick = [this](const std::string& url, bool& handled) {
      Clicked.push_back(url);
      handled = Handle;
    };
  }
  std::vector<std::string> Clicked;
  bool Handle = false;
  QPoint Empty() { return {P().PanelWidth() - 5, At("alpha").y() + 30}; }
};

TEST_F(PaneMouse, TheCursorIsAHandOverLinksAnIBeamOverTextAndAnArrowElsewhere) {
  Move(At("First"));
  EXPECT_EQ(Panel()->cursor().shape(), Qt::PointingHandCursor);
  Move(At("plain"));
  EXPECT_EQ(Panel()->cursor().shape(), Qt::IBeamCursor);
  Move({P().PanelWidth() - 3, At("plain").y()});
  EXPECT_EQ(Panel()->cursor().shape(), Qt::ArrowCursor);
  P().SetCursor(Qt::CrossCursor);
  Move(At("gamma"));
  EXPECT_EQ(Panel()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(PaneMouse, TheCoveredEventComesOncePerChangeOfLink) {
  std::vector<std::string> covered;
  P().OnHotSpotCovered = [&](const std::string& url) { covered.push_back(url); };
  Move(At("First"));
  Move(At("link"));  // within the same link
  Move(At("Second"));
  EXPECT_EQ(covered, (std::vector<std::string>{"#far", "http://b/"}));
  EXPECT_EQ(P().HotURL(), "http://b/");
  EXPECT_EQ(P().HotTarget(), "_blank");
  Move(At("plain"));
  Move(At("gamma"));
  EXPECT_EQ(covered, (std::vector<std::string>{"#far", "http://b/", ""}));
  // Leaving the panel from a link leaves the link too.
  Move(At("Second"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(Panel(), &leave);
  EXPECT_EQ(covered, (std::vector<std::string>{"#far", "http://b/", "", "http://b/", ""}));
}

TEST_F(PaneMouse, AClickTheHandlerTakesDoesNothingMore) {
  Handle = true;
  Click(At("First"));
  EXPECT_EQ(Clicked, std::vector<std::string>{"#far"});
  EXPECT_EQ(P().Position(), 0);
}

TEST_F(PaneMouse, AnAnchorLinkScrollsToItsAnchor) {
  Click(At("First"));
  EXPECT_EQ(Clicked, std::vector<std::string>{"#far"});
  EXPECT_EQ(P().Position(), P().NameList().at(u"FAR")->YValue);
  // A double click's second click selects nothing after a followed link.
  P().SetPosition(0);
  DoubleClick(At("First"));
  EXPECT_EQ(P().SelStart(), P().SelEnd());
}

TEST_F(PaneMouse, LinksToPagesLoadThemOtherFilesAreLeftAlone) {
  WriteBytes(Dir / "a.htm", "<p><a href=\"b.htm#x\">To b</a> <a href=\"notes.txt\">Notes</a> "
                            "<a href=\"https://c/\">Web</a> <a href=\"pic.GIF\">Picture</a>");
  WriteBytes(Dir / "pic.GIF", "GIF89a");
  std::string b = "<title>B</title>";
  for (int i = 0; i < 50; ++i) b += "<p>b " + std::to_string(i);
  WriteBytes(Dir / "b.htm", b + "<p><a name=x>There</a><p>end");
  P().LoadFromFile(Dir / "a.htm");
  Click(At("Notes"));
  Click(At("Web"));
  EXPECT_EQ(P().CurrentFile(), Dir / "a.htm");
  // A picture is shown alone.
  Click(At("Picture"));
  EXPECT_EQ(P().CurrentFile(), Dir / "pic.GIF");
  EXPECT_EQ(P().FileKind(), TFileKind::fkImage);
  P().LoadFromFile(Dir / "a.htm");
  Click(At("To b"));
  EXPECT_EQ(Clicked, (std::vector<std::string>{"notes.txt", "https://c/", "pic.GIF", "b.htm#x"}));
  EXPECT_EQ(P().CurrentFile(), Dir / "b.htm");
  EXPECT_EQ(P().Title(), "B");
  EXPECT_EQ(P().Position(), std::min(P().NameList().at(u"X")->YValue, P().DocHeight() - P().PanelHeight()));
  // A link to a missing page says so through the Ui and keeps the page.
  std::vector<std::string> gone{"<p><a href=\"gone.htm\">Gone</a>"};
  WriteBytes(Dir / "c.htm", gone[0]);
  P().LoadFromFile(Dir / "c.htm");
  Click(At("Gone"));
  EXPECT_EQ(Ui.Errors, std::vector<std::string>{"Can't locate file: " + Dir / "gone.htm"});
  EXPECT_EQ(P().CurrentFile(), Dir / "c.htm");
}

TEST_F(PaneMouse, ADragEndingOnALinkSelectsAndDoesNotFollowIt) {
  Drag(At("plain"), At("Second"));
  EXPECT_LT(P().SelStart(), P().SelEnd());
  EXPECT_EQ(P().SelText(), "Second and");
  EXPECT_TRUE(Clicked.empty());
}

TEST_F(PaneMouse, AShakyClickOnALinkStillFollowsIt) {
  const QPoint at = At("Second");
  Move(at);
  Press(at);
  Move(at + QPoint(2, 1), Qt::LeftButton);
  Release(at + QPoint(2, 1));
  EXPECT_EQ(Clicked, std::vector<std::string>{"http://b/"});
  EXPECT_EQ(P().SelStart(), P().SelEnd());
}

TEST_F(PaneMouse, ALinkFollowsOnlyAPressAndReleaseOnItWithoutADrag) {
  // Two links a few pixels apart, and blank space below the page.
  Load({"<p>Top words <a href=\"a.htm\">i</a><a href=\"b.htm\">l</a> end"});
  Handle = true;
  const QPoint blank{40, P().PanelHeight() - 10};
  const struct {
    QPoint press;
    std::vector<QPoint> drag;
    QPoint release;
    std::vector<std::string> followed;
    std::string selected;
  } cases[] = {
      {At("i"), {}, At("i"), {"a.htm"}, ""},
      {At("i"), {}, At("l"), {}, ""},
      {blank, {blank - QPoint(0, 60)}, At("l"), {}, ""},
      {blank, {At("Top"), At("i")}, At("l"), {}, "Top words i"},
      {At("i"), {At("i") + QPoint(200, 0)}, At("i"), {}, ""},
  };
  for (const auto& c : cases) {
    Clicked.clear();
    Move(c.press);
    Press(c.press);
    for (const QPoint& at : c.drag) Move(at, Qt::LeftButton);
    Move(c.release, Qt::LeftButton);
    Release(c.release);
    EXPECT_EQ(Clicked, c.followed) << &c - cases;
    EXPECT_EQ(P().SelText(), c.selected) << &c - cases;
  }
}

TEST_F(PaneMouse, TextInAFloatingTableIsTextToTheMouse) {
  for (const char* align : {"left", "right"}) {
    Load({std::string("<table align=") + align + " border=1><tr><td>Floated words</table>",
          "<p>Beside the table runs this paragraph of text"});
    Move(At("Floated"));
    EXPECT_EQ(Panel()->cursor().shape(), Qt::IBeamCursor) << align;
    DoubleClick(At("words"));
    EXPECT_EQ(P().SelText(), "words") << align;
    Drag(At("Floated"), At("words"));
    EXPECT_EQ(P().SelText(), "Floated") << align;
  }
}

TEST_F(PaneMouse, ADoubleClickSelectsOneWordOfLettersAndDigits) {
  DoubleClick(At("alpha"));
  EXPECT_EQ(P().SelText(), "alpha");
  DoubleClick(At("beta"));
  EXPECT_EQ(P().SelText(), "beta");
  DoubleClick(At("caf"));
  EXPECT_EQ(P().SelText(), "caf\xC3\xA9");
  DoubleClick(At("\xD0\xBF\xD1\x80\xD0\xB8"));
  EXPECT_EQ(P().SelText(), "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
  // Between words: nothing.
  DoubleClick(At("-beta"));
  EXPECT_EQ(P().SelStart(), P().SelEnd());
  // On a link: the first click followed it, so nothing is selected.
  Handle = true;
  DoubleClick(At("Second"));
  EXPECT_EQ(P().SelStart(), P().SelEnd());
  P().SetNoSelect(true);
  DoubleClick(At("gamma"));
  EXPECT_EQ(P().SelText(), "");
}

TEST_F(PaneMouse, CtrlCCopiesTheSelectionAsLines) {
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::keyClick(&P(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));  // nothing selected
  DoubleClick(At("gamma"));
  QTest::keyClick(&P(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("gamma"));
  Drag(At("plain"), At("gamma"));
  QTest::keyClick(&P(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("plain text\nalpha-beta"));
}

TEST_F(PaneMouse, TheCopiedTextTakesTableCellsInTheirOrder) {
  Load({"<p>Before", "<table><caption>Cap</caption><tr><td>One<td>Two</tr><tr><td>Three<td>Four</table>",
        "<p>After"});
  Drag(At("efore"), At("After"));
  EXPECT_EQ(P().SelText(), "efore\nCap\nOne\nTwo\nThree\nFour");
}

TEST_F(PaneMouse, DraggingPastTheEdgesScrollsBy16Or128PixelsAStep) {
  const QPoint from = At("alpha");
  Move(from);
  Press(from);
  Move({from.x(), P().PanelHeight() + 5}, Qt::LeftButton);
  ASSERT_TRUE(P().AutoScrolling());
  P().AutoScroll();
  EXPECT_EQ(P().Position(), 16);
  Move({from.x(), P().PanelHeight() + 16}, Qt::LeftButton);
  P().AutoScroll();
  EXPECT_EQ(P().Position(), 16 + 128);
  EXPECT_LT(P().SelStart(), P().SelEnd());
  Move({from.x(), -3}, Qt::LeftButton);
  P().AutoScroll();
  EXPECT_EQ(P().Position(), 128);
  Move({from.x(), -20}, Qt::LeftButton);
  P().AutoScroll();
  EXPECT_EQ(P().Position(), 0);
  // Back inside, the next step stops it; so does letting go.
  Move({from.x(), 20}, Qt::LeftButton);
  P().AutoScroll();
  EXPECT_FALSE(P().AutoScrolling());
  Move({from.x(), P().PanelHeight() + 40}, Qt::LeftButton);
  EXPECT_TRUE(P().AutoScrolling());
  Release({from.x(), P().PanelHeight() + 40});
  EXPECT_FALSE(P().AutoScrolling());
}

TEST_F(PaneMouse, ARightClickTellsTheLinkUnderTheMouse) {
  std::vector<TRightClickParameters> clicks;
  P().OnRightClick = [&](const TRightClickParameters& p) { clicks.push_back(p); };
  Click(At("Second"), Qt::RightButton);
  Click(At("plain"), Qt::RightButton);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].URL, "http://b/");
  EXPECT_EQ(clicks[0].Target, "_blank");
  EXPECT_EQ(clicks[0].Image, nullptr);
  EXPECT_EQ(clicks[1].URL, "");
  EXPECT_TRUE(Clicked.empty());
}

TEST_F(PaneMouse, PicturesReportTheirPointsToTheImageEventsAndTheRightClick) {
  QImage green(40, 30, QImage::Format_RGB32);
  green.fill(Qt::green);
  ASSERT_TRUE(green.save(QString::fromStdString(Dir / "green.png")));
  WriteBytes(Dir / "page.htm",
             "<p>Before<br><img src=\"green.png\"> plain<br><a href=\"x.htm\"><img src=\"green.png\"></a> linked");
  P().SetViewImages(true);
  P().LoadFromFile(Dir / "page.htm");
  std::vector<std::string> events;
  P().OnImageOver = [&](TImageObj* image, Qt::KeyboardModifiers, int x, int y) {
    events.push_back("over " + std::to_string(image != nullptr) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  P().OnImageClick = [&](TImageObj* image, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    events.push_back("click " + std::to_string(image != nullptr) + " " + std::to_string(button) + " " +
                     std::to_string(x) + "," + std::to_string(y));
  };
  std::vector<TRightClickParameters> rights;
  P().OnRightClick = [&](const TRightClickParameters& p) { rights.push_back(p); };
  // The pictures' top-left corners: left of the words after them.
  const QPoint plain = At(" plain") - QPoint(40 - 5, 0);
  const QPoint linked = At(" linked") - QPoint(40 - 5, 0);
  Move(plain);
  EXPECT_EQ(Panel()->cursor().shape(), Qt::ArrowCursor);
  Move(linked);
  EXPECT_EQ(Panel()->cursor().shape(), Qt::PointingHandCursor);
  Click(linked, Qt::RightButton);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].substr(0, 7), "over 1 ");
  EXPECT_EQ(events[1].substr(0, 10), "click 1 2 ");
  ASSERT_EQ(rights.size(), 1u);
  EXPECT_EQ(rights[0].URL, "x.htm");
  EXPECT_NE(rights[0].Image, nullptr);
  EXPECT_GE(rights[0].ImageX, 0);
  EXPECT_LT(rights[0].ImageX, 40);
  EXPECT_GE(rights[0].ImageY, 0);
  EXPECT_LT(rights[0].ImageY, 30);
}

TEST_F(PaneMouse, TheContextMenuCopiesTheSelectionOrTheLinkAddress) {
  Click(At("Second"), Qt::RightButton);
  auto* menu = P().findChild<QMenu*>();
  ASSERT_TRUE(menu && menu->isVisible());
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("&Copy"));
  EXPECT_FALSE(actions[0]->isEnabled());
  EXPECT_EQ(actions[1]->text(), QStringLiteral("Copy &Link Address"));
  actions[1]->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("http://b/"));
  menu->close();
  QApplication::processEvents();

  DoubleClick(At("gamma"));
  Click(At("gamma"), Qt::RightButton);
  menu = P().findChild<QMenu*>();
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_TRUE(menu->actions()[0]->isEnabled());
  menu->actions()[0]->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("gamma"));
  menu->close();
}

TEST_F(PaneMouse, TheKeyboardOpensTheContextMenuToo) {
  DoubleClick(At("gamma"));
  QTest::keyClick(&P(), Qt::Key_F10, Qt::ShiftModifier);
  auto* menu = P().findChild<QMenu*>();
  ASSERT_TRUE(menu && menu->isVisible());
  menu->close();
  QApplication::processEvents();
  QTest::keyClick(&P(), Qt::Key_Menu);
  menu = P().findChild<QMenu*>();
  ASSERT_TRUE(menu && menu->isVisible());
  EXPECT_TRUE(menu->actions()[0]->isEnabled());
  menu->close();
}

TEST_F(PaneMouse, NoSelectForbidsDraggingASelection) {
  P().SetNoSelect(true);
  Drag(At("plain"), At("gamma"));
  EXPECT_EQ(P().SelText(), "");
}

}  // namespace
}  // namespace quillet::test
