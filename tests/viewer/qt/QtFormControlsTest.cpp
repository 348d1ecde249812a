// The form controls as Qt widgets, on the offscreen platform: made, sized
// and placed through the port, and the user's clicks, keys and focus moves
// reaching the forms.
#include "viewer/qt/QtFormControls.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

#include "platform/FixedCanvas.h"
#include "platform/qt/QtCanvas.h"
#include "tests/support/qt/WidgetApp.h"
#include "viewer/forms/Forms.h"

namespace quillet {
namespace {

QApplication& App() { return test::WidgetApp(); }

TAttributeList Attrs(std::initializer_list<std::pair<Sy, std::u16string>> items) {
  TAttributeList list;
  for (const auto& [code, text] : items) list.Add({code, 0, text});
  return list;
}

struct Host : FormHost {
  explicit Host(QWidget& panel) : Controls(panel) {}
  QtFormWidgets Controls;
  std::vector<TFormSubmission> Submitted;
  std::vector<std::string> Events;
  std::function<void()> DuringObjectClick;

  FormWidgetFactory& Widgets() override { return Controls; }
  std::u16string PreFontName() const override { return u"Courier New"; }
  bool HasSubmitHandler() const override { return true; }
  void SubmitForm(TFormSubmission s) override { Submitted.push_back(std::move(s)); }
  void ObjectClick(TFormControlObj& c, const std::u16string&) override {
    Events.push_back("click " + ToUtf8(c.Name));
    if (DuringObjectClick) DuringObjectClick();
  }
  void ControlEntered(TFormControlObj& c) override { Events.push_back("enter " + ToUtf8(c.Name)); }
  void ControlExited(TFormControlObj& c) override { Events.push_back("exit " + ToUtf8(c.Name)); }
};

class QtFormControlsTest : public ::testing::Test {
 protected:
  QtFormControlsTest() {
    panel.resize(600, 400);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    panel.setFont(font);
    panel.show();
    QApplication::setActiveWindow(&panel);
  }

  template <class W>
  W* Only() {
    const QList<W*> found = panel.findChildren<W*>();
    EXPECT_EQ(found.size(), 1);
    return found.isEmpty() ? nullptr : found.first();
  }
  TFormControlObj& Add(ThtmlForm& form, Sy tag, const TAttributeList& attributes) {
    return *forms.AddControl(&form, tag, attributes, 0);
  }

  QApplication& app = App();
  QWidget panel;
  Host host{panel};
  DocumentForms forms{host};
};

TEST_F(QtFormControlsTest, ControlsAreMadeSizedAndPlacedThroughThePort) {
  ThtmlForm& form = forms.NewForm({});
  TFormControlObj& edit = Add(form, Sy::Input, Attrs({{Sy::Name, u"q"}, {Sy::Value, u"kites"}}));
  TFormControlObj& go = Add(form, Sy::Input, Attrs({{Sy::Type, u"submit"}, {Sy::Value, u"Go & see"}}));
  TFormControlObj& check = Add(form, Sy::Input, Attrs({{Sy::Type, u"checkbox"}, {Sy::Checked, u""}}));
  auto& radio = dynamic_cast<TRadioButtonFormControlObj&>(Add(form, Sy::Input, Attrs({{Sy::Type, u"radio"}})));
  auto& list = dynamic_cast<TListBoxFormControlObj&>(Add(form, Sy::Select, Attrs({{Sy::Multiple, u""}})));
  for (const char16_t* text : {u"Apple", u"Banana", u"Cherry"}) list.AddOption(text, u"", false);
  list.RestoreInitial();
  auto& combo = dynamic_cast<TComboFormControlObj&>(Add(form, Sy::Select, {}));
  combo.AddOption(u"Monday", u"", false);
  combo.RestoreInitial();
  auto& area = dynamic_cast<TTextAreaFormControlObj&>(Add(form, Sy::TextArea, Attrs({{Sy::Wrap, u"soft"}})));
  area.AddLine(u"one");
  area.RestoreInitial();

  // Made waiting above the panel, in the controls' own fonts.
  auto* lineEdit = Only<QLineEdit>();
  ASSERT_NE(lineEdit, nullptr);
  EXPECT_EQ(lineEdit->geometry(), QRect(0, TFormControlObj::kWaitingTop, 120, 20));
  EXPECT_EQ(lineEdit->text(), QStringLiteral("kites"));
  EXPECT_EQ(lineEdit->font().family(), QStringLiteral("Courier New"));
  EXPECT_EQ(lineEdit->font().pixelSize(), 13);
  EXPECT_EQ(Only<QPushButton>()->text(), QStringLiteral("Go && see"));
  EXPECT_TRUE(Only<QCheckBox>()->isChecked());
  EXPECT_EQ(Only<QListWidget>()->count(), 3);
  EXPECT_EQ(Only<QComboBox>()->currentText(), QStringLiteral("Monday"));
  EXPECT_EQ(Only<QPlainTextEdit>()->toPlainText(), QStringLiteral("one\n"));
  EXPECT_EQ(host.Controls.DefaultFont(), (FontSpec{u"Arial", 8}));

  QImage image(10, 10, QImage::Format_RGB32);
  {
    QtCanvas canvas(image);
    forms.SizeControls(canvas);
    canvas.SelectFont(FontSpec{u"Courier New", 10});
    const int a = canvas.TextWidth(u"A");
    EXPECT_EQ(edit.Width(), a * 20 + 5);
    canvas.SelectFont(host.Controls.DefaultFont());
    EXPECT_EQ(go.Width(), canvas.TextWidth(u"Go & see") + 20);
    EXPECT_EQ(go.Height(), canvas.Metrics().Height + 8);
  }
  EXPECT_EQ(check.Width(), 13);
  EXPECT_EQ(radio.Height(), 14);

  int x = 5;
  for (TFormControlObj* control : forms.FormControlList()) {
    control->PlaceAt(x, 30);
    x += control->Width() + 5;
  }
  radio.SetBackground(clWhite);
  QApplication::processEvents();
  for (TFormControlObj* control : forms.FormControlList()) {
    EXPECT_TRUE(control->Shown);
    const Rect b = control->Widget()->Bounds();
    EXPECT_EQ(b.Top, 30);
    EXPECT_EQ(b.Height(), control->Height());
  }
  EXPECT_TRUE(lineEdit->isVisible());
  EXPECT_EQ(lineEdit->pos(), QPoint(5, 30));
  // Client sizes are the areas inside frames and scroll bars.
  {
    QtCanvas canvas(image);
    canvas.SelectFont(FontSpec{u"Courier New", 10});
    const int a = canvas.TextWidth(u"A");
    const int h = canvas.Metrics().Height;
    EXPECT_EQ(Only<QListWidget>()->viewport()->size(), QSize(a * 6 + 15, h * 3));
    EXPECT_EQ(Only<QPlainTextEdit>()->viewport()->size(), QSize(a * 30 + 5, h * 5 + 5));
  }

  // Scrolling moves a control to its new place; the rest wait aside or hide.
  forms.ClearPlaced();
  edit.PlaceAt(5, 10);
  forms.ShowOrHide();
  EXPECT_EQ(lineEdit->pos(), QPoint(5, 10));
  EXPECT_FALSE(Only<QPushButton>()->isVisible());
  edit.FocusControl()->SetFocus();
  EXPECT_TRUE(lineEdit->hasFocus());
  forms.ShowOrHide();
  EXPECT_TRUE(Only<QPushButton>()->isVisible());
  EXPECT_EQ(Only<QPushButton>()->x(), DocumentForms::kAsideLeft);
}

TEST_F(QtFormControlsTest, ClicksKeysAndFocusReachTheForms) {
  ThtmlForm& alone = forms.NewForm(Attrs({{Sy::Action, u"/find"}}));
  Add(alone, Sy::Input, Attrs({{Sy::Name, u"q"}}));
  ThtmlForm& form = forms.NewForm({});
  Add(form, Sy::Input, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"r"}, {Sy::Value, u"a"}, {Sy::Checked, u""}}));
  Add(form, Sy::Input, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"R"}, {Sy::Value, u"b"}}));
  Add(form, Sy::Input, Attrs({{Sy::Type, u"checkbox"}, {Sy::Name, u"agree"}}));
  auto& area = dynamic_cast<TTextAreaFormControlObj&>(Add(form, Sy::TextArea, Attrs({{Sy::Name, u"t"}})));
  area.RestoreInitial();
  Add(form, Sy::Input, Attrs({{Sy::Type, u"submit"}, {Sy::Name, u"go"}, {Sy::Value, u"Send"}}));
  FixedCanvas canvas;
  forms.SizeControls(canvas);
  int y = 5;
  for (TFormControlObj* control : forms.FormControlList()) {
    control->PlaceAt(5, y);
    y += control->Height() + 5;
  }

  QLineEdit* query = Only<QLineEdit>();
  QTest::mouseClick(query, Qt::LeftButton);
  QTest::keyClicks(query, QStringLiteral("kites"));
  QTest::keyClick(query, Qt::Key_Return);
  ASSERT_EQ(host.Submitted.size(), 1u);
  EXPECT_EQ(host.Submitted[0].Action, u"/find");
  EXPECT_EQ(host.Submitted[0].Results, (std::vector<std::u16string>{u"q=kites"}));

  const QList<QRadioButton*> radios = panel.findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 2);
  QTest::mouseClick(radios[1], Qt::LeftButton, {}, QPoint(6, 7));
  QTest::mouseClick(radios[1], Qt::LeftButton, {}, QPoint(6, 7));
  EXPECT_TRUE(radios[1]->isChecked());
  EXPECT_FALSE(radios[0]->isChecked());
  QTest::mouseClick(Only<QCheckBox>(), Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_TRUE(Only<QCheckBox>()->isChecked());

  // Tab walks on through the controls in the page's order.
  QTest::keyClick(Only<QCheckBox>(), Qt::Key_Tab);
  EXPECT_TRUE(Only<QPlainTextEdit>()->hasFocus());
  QTest::keyClicks(Only<QPlainTextEdit>(), QStringLiteral("line"));
  QTest::keyClick(Only<QPlainTextEdit>(), Qt::Key_Tab);
  EXPECT_TRUE(Only<QPushButton>()->hasFocus());
  QTest::keyClick(Only<QPushButton>(), Qt::Key_Space);

  ASSERT_EQ(host.Submitted.size(), 2u);
  EXPECT_EQ(host.Submitted[1].Results, (std::vector<std::u16string>{u"R=b", u"agree=On", u"t=line", u"go=Send"}));
  EXPECT_EQ(host.Events, (std::vector<std::string>{"enter q", "exit q", "enter R", "click R", "click R", "exit R",
                                                   "enter agree", "click agree", "exit agree", "enter t", "exit t",
                                                   "enter go", "click go"}));
}

TEST_F(QtFormControlsTest, MaxLengthLimitsTypingAndKeepsALongerValueWhole) {
  ThtmlForm& form = forms.NewForm({});
  TAttributeList attributes = Attrs({{Sy::Name, u"zip"}, {Sy::Value, u"12345"}});
  attributes.Add({Sy::MaxLength, 3, u"3"});
  TFormControlObj& zip = Add(form, Sy::Input, attributes);
  auto* edit = Only<QLineEdit>();
  ASSERT_NE(edit, nullptr);
  edit->show();
  edit->setFocus();
  edit->end(false);
  // Each key as typed, and the text after it.
  const struct {
    int key;
    const char* text;
  } keys[] = {{Qt::Key_9, "12345"}, {Qt::Key_Backspace, "1234"}, {Qt::Key_9, "1234"},
              {Qt::Key_Backspace, "123"}, {Qt::Key_Backspace, "12"}, {Qt::Key_9, "129"}, {Qt::Key_8, "129"}};
  for (const auto& k : keys) {
    QTest::keyClick(edit, static_cast<Qt::Key>(k.key));
    EXPECT_EQ(edit->text().toStdString(), k.text) << &k - keys;
  }
  // Enter still answers, and a reset brings the whole value back.
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(host.Submitted.size(), 1u);
  form.ResetControls();
  EXPECT_EQ(edit->text().toStdString(), "12345");
  std::u16string pair;
  ASSERT_TRUE(zip.SubmissionPair(0, pair));
  EXPECT_EQ(pair, u"zip=12345");
}

TEST_F(QtFormControlsTest, AClickMayClearTheDocument) {
  ThtmlForm& form = forms.NewForm({});
  Add(form, Sy::Input, Attrs({{Sy::Type, u"submit"}, {Sy::Name, u"go"}}));
  Add(form, Sy::Input, Attrs({{Sy::Name, u"q"}}));
  FixedCanvas canvas;
  forms.SizeControls(canvas);
  for (TFormControlObj* control : forms.FormControlList()) control->PlaceAt(5, 5);
  host.DuringObjectClick = [this] { forms.Clear(); };

  QPointer<QPushButton> button = Only<QPushButton>();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(host.Submitted.empty());
  EXPECT_TRUE(button->isHidden());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(button.isNull());
  EXPECT_TRUE(panel.findChildren<QLineEdit*>().isEmpty());
}

}  // namespace
}  // namespace quillet
