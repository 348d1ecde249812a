// A page with a form in the pane, with the real Qt controls on the
// offscreen platform: each paint puts the controls where the layout has
// them, scrolling moves them, Tab walks through all of them (scrolling the
// one it reaches into view), and Submit raises OnFormSubmit after its click.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "tests/viewer/qt/PaneFixture.h"
#include "viewer/forms/FormControls.h"

namespace quillet {
namespace {

struct Submission {
  std::string Action, Target, EncType, Method;
  std::vector<std::string> Results;
};

class PaneFormsTest : public test::PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    QApplication::setActiveWindow(Pane.get());
    Pane->OnFormSubmit = [this](const std::string& action, const std::string& target, const std::string& encType,
                                const std::string& method, const std::vector<std::string>& results) {
      Submitted.push_back({action, target, encType, method, results});
    };
    std::vector<std::string> page{
        "<FORM METHOD=post ACTION=\"/order\" TARGET=_top>",
        "Name <INPUT NAME=q SIZE=10> <INPUT TYPE=checkbox NAME=agree> agree<BR>"};
    for (const std::string& line : ManyLines(30)) page.push_back(line);
    page.push_back("Town <INPUT NAME=town VALUE=Leeds> <INPUT TYPE=submit NAME=go VALUE=Send></FORM>");
    Load(page);
    Settle();
  }
  // Lets the pane paint, which places the controls.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  TFormControlObj& Control(std::u16string_view name) {
    for (TFormControlObj* c : P().Document().Forms().FormControlList())
      if (c->Name == name) return *c;
    throw std::out_of_range("no control " + Utf16ToUtf8(name));
  }
  // Where the layout puts a control on the panel at the present scroll
  // position.
  QRect LaidOut(std::u16string_view name) {
    const TFormControlObj& c = Control(name);
    return QRect(P().MarginWidth() + c.LayoutX - P().horizontalScrollBar()->value(), c.YValue - P().Position(),
                 c.Width(), c.Height());
  }
  template <class W>
  W* Widget(int index) {
    const QList<W*> found = Panel()->findChildren<W*>();
    return index < found.size() ? found[index] : nullptr;
  }
  QWidget* Focused() { return QApplication::focusWidget(); }

  std::vector<Submission> Submitted;
};

TEST_F(PaneFormsTest, ControlsStandWhereTheLayoutPutsThemAndMoveWithTheScroll) {
  QLineEdit* name = Widget<QLineEdit>(0);
  QLineEdit* town = Widget<QLineEdit>(1);
  QPushButton* send = Widget<QPushButton>(0);
  ASSERT_TRUE(name && town && send);
  EXPECT_TRUE(name->isVisible());
  EXPECT_EQ(name->geometry(), LaidOut(u"q"));
  EXPECT_EQ(Widget<QCheckBox>(0)->geometry(), LaidOut(u"agree"));
  EXPECT_TRUE(Widget<QCheckBox>(0)->isVisible());
  // Below the page: not shown.
  EXPECT_FALSE(town->isVisible());
  EXPECT_FALSE(send->isVisible());

  P().SetPosition(12);
  Settle();
  EXPECT_EQ(name->geometry(), LaidOut(u"q"));
  EXPECT_EQ(name->y(), Control(u"q").YValue - 12);

  P().SetPosition(P().DocHeight());
  Settle();
  EXPECT_FALSE(name->isVisible());
  EXPECT_TRUE(send->isVisible());
  EXPECT_EQ(send->geometry(), LaidOut(u"go"));
  EXPECT_EQ(town->geometry(), LaidOut(u"town"));
  EXPECT_GE(town->y(), 0);
  EXPECT_LE(town->geometry().bottom(), P().PanelHeight());

  // A new width lays the page out again; the controls follow.
  Pane->resize(250, 200);
  Settle();
  EXPECT_EQ(send->geometry(), LaidOut(u"go"));
}

TEST_F(PaneFormsTest, TabWalksThroughEveryControlAndBringsEachIntoView) {
  QLineEdit* name = Widget<QLineEdit>(0);
  ASSERT_NE(name, nullptr);
  name->setFocus(Qt::TabFocusReason);
  Settle();
  // With the focus among them, the controls off the page wait out of view.
  QPushButton* send = Widget<QPushButton>(0);
  EXPECT_TRUE(send->isVisible());
  EXPECT_EQ(send->x(), DocumentForms::kAsideLeft);

  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), Widget<QCheckBox>(0));
  EXPECT_EQ(P().Position(), 0);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), Widget<QLineEdit>(1));
  Settle();
  // The field the Tab key reached came into view, placed by the paint.
  EXPECT_GT(P().Position(), 0);
  EXPECT_EQ(Focused()->geometry(), LaidOut(u"town"));
  EXPECT_LE(Focused()->geometry().bottom(), P().PanelHeight());
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), send);
  Settle();
  EXPECT_EQ(send->geometry(), LaidOut(u"go"));

  // Focus back in the pane: those off the page hide.
  P().setFocus(Qt::OtherFocusReason);
  Settle();
  EXPECT_FALSE(name->isVisible());
}

TEST_F(PaneFormsTest, AFieldTakingTheFocusComesToTheMiddleUnlessItIsInView) {
  std::vector<std::string> page{"Top <INPUT NAME=top>"};
  for (const std::string& line : ManyLines(40)) page.push_back(line);
  page.push_back("Middle <INPUT NAME=mid>");
  for (const std::string& line : ManyLines(40)) page.push_back(line);
  Load(page);
  // The first page's controls go.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Settle();
  QLineEdit* top = Widget<QLineEdit>(0);
  QLineEdit* mid = Widget<QLineEdit>(1);
  ASSERT_NE(mid, nullptr);
  const int y = Control(u"mid").YValue;
  for (const int from : {0, y - 30, y - P().PanelHeight() + 20, y + 1}) {
    // From a field on the page, as the Tab key goes.
    P().SetPosition(0);
    Settle();
    top->setFocus(Qt::TabFocusReason);
    P().SetPosition(from);
    Settle();
    mid->setFocus(Qt::TabFocusReason);
    Settle();
    // In view while its top is at least 20 pixels above the bottom.
    const bool inView = y >= from && y <= from + P().PanelHeight() - 20;
    EXPECT_EQ(P().Position(), inView ? from : y - P().PanelHeight() / 2) << from;
  }
}

TEST_F(PaneFormsTest, SubmitRaisesOnFormSubmitAfterItsClick) {
  QTest::keyClicks(Widget<QLineEdit>(0), QStringLiteral("Ann"));
  Widget<QCheckBox>(0)->click();
  P().SetPosition(P().DocHeight());
  Settle();
  QPushButton* send = Widget<QPushButton>(0);
  ASSERT_TRUE(send->isVisible());

  // Posted: the click finishes before the handler runs.
  send->click();
  EXPECT_TRUE(Submitted.empty());
  Settle();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(Submitted[0].Action, "/order");
  EXPECT_EQ(Submitted[0].Target, "_top");
  EXPECT_EQ(Submitted[0].Method, "post");
  EXPECT_EQ(Submitted[0].Results, (std::vector<std::string>{"q=Ann", "agree=On", "town=Leeds", "go=Send"}));

  // A click of the mouse on it does the same; a handler may load another
  // page then.
  Pane->OnFormSubmit = [this](const std::string&, const std::string&, const std::string&, const std::string&,
                              const std::vector<std::string>&) { Load({"<INPUT NAME=next>"}); };
  QTest::mouseClick(send, Qt::LeftButton);
  Settle();
  EXPECT_EQ(P().Document().Forms().FormControlList().size(), 1u);
}

TEST_F(PaneFormsTest, AClickOnAnImageButtonSubmitsThePointInIt) {
  Load({"<P>Where? <FORM ACTION=/map><INPUT TYPE=image NAME=map SRC=x.gif ALT=Map WIDTH=40 HEIGHT=30></FORM>"});
  Settle();
  const auto& image = dynamic_cast<TImageFormControlObj&>(Control(u"map"));
  ASSERT_NE(image.MyImage, nullptr);
  const TSection* section = nullptr;
  for (const auto& block : P().Document().Blocks())
    if (const auto* s = dynamic_cast<const TSection*>(block.get()); s && !s->Images().empty()) section = s;
  ASSERT_NE(section, nullptr);
  const QPoint at(P().MarginWidth() + image.MyImage->LayoutX + 12,
                  section->YValue + image.MyImage->LayoutY + 8 - P().Position());
  Click(at);
  Settle();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(Submitted[0].Action, "/map");
  EXPECT_EQ(Submitted[0].Results, (std::vector<std::string>{"map.x=12", "map.y=8"}));
}

}  // namespace
}  // namespace quillet
