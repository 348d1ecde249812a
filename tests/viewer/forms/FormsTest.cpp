#include "viewer/forms/Forms.h"

#include <gtest/gtest.h>

#include "tests/viewer/forms/FormTestHost.h"

namespace quillet {
namespace {

using test::Attrs;
using Results = std::vector<std::u16string>;

class FormsTest : public ::testing::Test {
 protected:
  test::RecordingFormHost host;
  DocumentForms forms{host};
  int pos = 0;

  TFormControlObj& Add(ThtmlForm* form, Sy tag, const TAttributeList& attributes) {
    TFormControlObj* control = forms.AddControl(form, tag, attributes, pos++);
    EXPECT_NE(control, nullptr);
    return *control;
  }
  TFormControlObj& Input(ThtmlForm* form, const TAttributeList& attributes) { return Add(form, Sy::Input, attributes); }
  TListBoxFormControlObj& Select(ThtmlForm* form, const TAttributeList& attributes,
                                 std::initializer_list<TSelectOption> options) {
    auto& list = dynamic_cast<TListBoxFormControlObj&>(Add(form, Sy::Select, attributes));
    for (const TSelectOption& o : options) list.AddOption(o.Text, o.Value, o.Selected);
    list.RestoreInitial();
    return list;
  }
  TTextAreaFormControlObj& TextArea(ThtmlForm* form, const TAttributeList& attributes,
                                    std::initializer_list<std::u16string> lines) {
    auto& area = dynamic_cast<TTextAreaFormControlObj&>(Add(form, Sy::TextArea, attributes));
    for (const std::u16string& line : lines) area.AddLine(line);
    area.RestoreInitial();
    return area;
  }

  template <class W>
  static W& Scripted(const TFormControlObj& control) {
    return dynamic_cast<W&>(*control.Widget());
  }
  std::vector<std::string> Clicks() const {
    std::vector<std::string> clicks;
    for (const std::string& e : host.Events)
      if (e.rfind("click", 0) == 0) clicks.push_back(e);
    return clicks;
  }
  Results LastResults() const { return host.Submitted.empty() ? Results{} : host.Submitted.back().Results; }
};

TEST_F(FormsTest, EnterInAnEditSubmitsOnlyWhenItIsTheFormsOneVisibleControl) {
  ThtmlForm& alone = forms.NewForm(Attrs({{Sy::Action, u"/find"}, {Sy::Target, u"_top"}}));
  auto& query = Input(&alone, Attrs({{Sy::Name, u"q"}}));
  Input(&alone, Attrs({{Sy::Type, u"hidden"}, {Sy::Name, u"lang"}, {Sy::Value, u"en"}}));
  Scripted<ScriptedEdit>(query).Type(u"kites");
  Scripted<ScriptedEdit>(query).PressEnter();
  ASSERT_EQ(host.Submitted.size(), 1u);
  EXPECT_EQ(host.Submitted[0], (TFormSubmission{u"/find", u"_top", u"", u"Get", {u"q=kites", u"lang=en"}}));

  ThtmlForm& withButton = forms.NewForm({});
  auto& field = Input(&withButton, Attrs({{Sy::Name, u"q"}}));
  Input(&withButton, Attrs({{Sy::Type, u"submit"}}));
  Scripted<ScriptedEdit>(field).PressEnter();

  ThtmlForm& twoFields = forms.NewForm({});
  auto& first = Input(&twoFields, Attrs({{Sy::Name, u"a"}}));
  Input(&twoFields, Attrs({{Sy::Name, u"b"}}));
  Scripted<ScriptedEdit>(first).PressEnter();

  EXPECT_EQ(host.Submitted.size(), 1u);
}

TEST_F(FormsTest, CheckBoxWithoutValueSubmitsOnWhenChecked) {
  ThtmlForm& form = forms.NewForm({});
  auto& agree = Input(&form, Attrs({{Sy::Type, u"checkbox"}, {Sy::Name, u"agree"}}));
  Input(&form, Attrs({{Sy::Type, u"CheckBox"}, {Sy::Name, u"news"}, {Sy::Value, u"weekly"}, {Sy::Checked, u""}}));

  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"news=weekly"}));

  Scripted<ScriptedCheckBox>(agree).Click();
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"agree=On", u"news=weekly"}));
}

TEST_F(FormsTest, ListsSubmitTheirSelectionInOptionOrder) {
  ThtmlForm& form = forms.NewForm({});
  auto& many = Select(&form, Attrs({{Sy::Name, u"pick"}, {Sy::Multiple, u""}}),
                      {{u"Red", u"", false}, {u"Green", u"", true}, {u"Blue", u"b", false}, {u"Cyan", u"c", true}});
  ASSERT_TRUE(many.List().MultiSelect());
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"pick=Green", u"pick=c"}));

  // The user adds one and drops one; the order stays the options'.
  Scripted<ScriptedList>(many).Choose(2);
  Scripted<ScriptedList>(many).Choose(1);
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"pick=b", u"pick=c"}));

  // A single-select list box with nothing selected starts on its first item.
  ThtmlForm& single = forms.NewForm({});
  auto& box = Select(&single, Attrs({{Sy::Name, u"size"}, {Sy::Size, u"3"}}),
                     {{u"S", u"", false}, {u"M", u"", false}, {u"L", u"", false}});
  ASSERT_FALSE(box.List().MultiSelect());
  single.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"size=S"}));
  Scripted<ScriptedList>(box).Choose(2);
  single.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"size=L"}));

  // A drop-down list shows the last option marked selected.
  ThtmlForm& drop = forms.NewForm({});
  Select(&drop, Attrs({{Sy::Name, u"day"}}), {{u"Mon", u"1", true}, {u"Tue", u"2", true}, {u"Wed", u"3", false}});
  drop.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"day=2"}));
}

TEST_F(FormsTest, TextAreaSubmitsOnePairPerLine) {
  ThtmlForm& form = forms.NewForm(Attrs({{Sy::Method, u"post"}}));
  auto& area = TextArea(&form, Attrs({{Sy::Name, u"note"}}), {u"one", u"", u"three"});
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"note=one", u"note=", u"note=three"}));
  EXPECT_EQ(host.Submitted.back().Method, u"post");

  Scripted<ScriptedMemo>(area).Type(u"typed\nover\n");
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"note=typed", u"note=over"}));
}

TEST_F(FormsTest, ImageButtonSubmitsThePointClickedOnce) {
  ThtmlForm& form = forms.NewForm({});
  Input(&form, Attrs({{Sy::Name, u"q"}, {Sy::Value, u"x"}}));
  auto& map = dynamic_cast<TImageFormControlObj&>(Input(&form, Attrs({{Sy::Type, u"image"}, {Sy::Name, u"map"}})));
  EXPECT_EQ(map.Widget(), nullptr);
  EXPECT_EQ(form.NonHiddenCount(), 2);

  map.ImageClicked(12, 34);
  EXPECT_EQ(LastResults(), (Results{u"q=x", u"map.x=12", u"map.y=34"}));
  // The point goes with that one submission.
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"q=x"}));

  auto& nameless = dynamic_cast<TImageFormControlObj&>(Input(&form, Attrs({{Sy::Type, u"image"}})));
  nameless.ImageClicked(0, 7);
  EXPECT_EQ(LastResults(), (Results{u"q=x", u"x=0", u"y=7"}));
}

TEST_F(FormsTest, SelectIsADropDownUnlessMultipleOrSizedAboveOne) {
  ThtmlForm& form = forms.NewForm({});
  const auto kind = [&](const TAttributeList& attributes) {
    TFormControlObj& control = Add(&form, Sy::Select, attributes);
    if (dynamic_cast<TComboFormControlObj*>(&control)) return std::string("drop-down");
    auto& list = dynamic_cast<TListBoxFormControlObj&>(control);
    return std::string(list.List().MultiSelect() ? "multi list" : "list");
  };
  EXPECT_EQ(kind({}), "drop-down");
  EXPECT_EQ(kind(Attrs({{Sy::Size, u"1"}})), "drop-down");
  EXPECT_EQ(kind(Attrs({{Sy::Size, u"0"}})), "drop-down");
  EXPECT_EQ(kind(Attrs({{Sy::Size, u"2"}})), "list");
  EXPECT_EQ(kind(Attrs({{Sy::Multiple, u""}})), "multi list");
  EXPECT_EQ(kind(Attrs({{Sy::Multiple, u""}, {Sy::Size, u"1"}})), "multi list");
}

TEST_F(FormsTest, InputTypesReadInLowerCaseAndUnknownOnesAreEdits) {
  ThtmlForm& form = forms.NewForm({});
  const auto make = [&](const std::u16string& type) -> TFormControlObj& {
    return Input(&form, Attrs({{Sy::Type, type}, {Sy::Name, u"n"}, {Sy::Value, u"v"}}));
  };
  EXPECT_NE(dynamic_cast<TButtonFormControlObj*>(&make(u"SUBMIT")), nullptr);
  EXPECT_NE(dynamic_cast<TRadioButtonFormControlObj*>(&make(u"Radio")), nullptr);
  EXPECT_NE(dynamic_cast<THiddenFormControlObj*>(&make(u"hidden")), nullptr);
  EXPECT_NE(dynamic_cast<TImageFormControlObj*>(&make(u"IMAGE")), nullptr);
  EXPECT_NE(dynamic_cast<TEditFormControlObj*>(&make(u"date")), nullptr);
  EXPECT_NE(dynamic_cast<TEditFormControlObj*>(&make(u"submit-ish")), nullptr);
  EXPECT_NE(dynamic_cast<TEditFormControlObj*>(&Input(&form, {})), nullptr);
  EXPECT_EQ(forms.AddControl(&form, Sy::Img, {}, pos), nullptr);
  EXPECT_EQ(form.NonHiddenCount(), 6);

  auto& secret = make(u"Password");
  EXPECT_EQ(Scripted<ScriptedEdit>(secret).ShownText(), u"*");
  auto& limited = Input(&form, Attrs({{Sy::Name, u"zip"}, {Sy::MaxLength, u"5"}, {Sy::Value, u"123456"}}));
  // MAXLENGTH limits typing only: a longer VALUE stays whole, also when the
  // form is reset.
  EXPECT_EQ(Scripted<ScriptedEdit>(limited).Text(), u"123456");
  Scripted<ScriptedEdit>(limited).Type(u"9876543");
  EXPECT_EQ(Scripted<ScriptedEdit>(limited).Text(), u"98765");
  form.ResetControls();
  EXPECT_EQ(Scripted<ScriptedEdit>(limited).Text(), u"123456");
}

TEST_F(FormsTest, ButtonsCaptionsAndWhatTheirClicksDo) {
  ThtmlForm& form = forms.NewForm({});
  auto& q = Input(&form, Attrs({{Sy::Name, u"q"}, {Sy::Value, u"start"}}));
  auto& go = Input(&form, Attrs({{Sy::Type, u"submit"}, {Sy::Name, u"go"}, {Sy::Value, u"Search"},
                                 {Sy::OnClick, u"check()"}}));
  auto& plainSubmit = Input(&form, Attrs({{Sy::Type, u"submit"}}));
  auto& reset = Input(&form, Attrs({{Sy::Type, u"reset"}}));
  auto& plain = Input(&form, Attrs({{Sy::Type, u"button"}, {Sy::Name, u"b"}}));
  EXPECT_EQ(Scripted<ScriptedButton>(go).Caption(), u"Search");
  EXPECT_EQ(Scripted<ScriptedButton>(plainSubmit).Caption(), u"Submit");
  EXPECT_EQ(Scripted<ScriptedButton>(reset).Caption(), u"Reset");
  EXPECT_EQ(Scripted<ScriptedButton>(plain).Caption(), u"Button");

  Scripted<ScriptedButton>(go).Click();
  EXPECT_EQ(LastResults(), (Results{u"q=start", u"go=Search"}));
  Scripted<ScriptedButton>(plainSubmit).Click();
  EXPECT_EQ(LastResults(), (Results{u"q=start"}));

  Scripted<ScriptedEdit>(q).Type(u"changed");
  Scripted<ScriptedButton>(plain).Click();
  EXPECT_EQ(host.Submitted.size(), 2u);
  EXPECT_EQ(Scripted<ScriptedEdit>(q).Text(), u"changed");
  Scripted<ScriptedButton>(reset).Click();
  EXPECT_EQ(host.Submitted.size(), 2u);
  EXPECT_EQ(Scripted<ScriptedEdit>(q).Text(), u"start");

  EXPECT_EQ(Clicks(), (std::vector<std::string>{"click go check()", "click  ", "click b ", "click  "}));
}

TEST_F(FormsTest, NothingIsSubmittedWithoutAHandler) {
  host.HasHandler = false;
  ThtmlForm& form = forms.NewForm({});
  auto& q = Input(&form, Attrs({{Sy::Name, u"q"}}));
  Scripted<ScriptedEdit>(q).PressEnter();
  form.SubmitTheForm(u"x=1");
  EXPECT_TRUE(host.Submitted.empty());
}

TEST_F(FormsTest, RadioGroupsAreKeptPerFormByNameIgnoringCase) {
  ThtmlForm& one = forms.NewForm({});
  auto& red = Input(&one, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"Color"}, {Sy::Value, u"red"}, {Sy::Checked, u""}}));
  auto& blue = Input(&one, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"COLOR"}, {Sy::Value, u"blue"}}));
  auto& other = Input(&one, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"size"}, {Sy::Value, u"L"}, {Sy::Checked, u""}}));
  ThtmlForm& two = forms.NewForm({});
  auto& green = Input(&two, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"color"}, {Sy::Value, u"green"}, {Sy::Checked, u""}}));

  Scripted<ScriptedRadioButton>(blue).Click();
  EXPECT_FALSE(Scripted<ScriptedRadioButton>(red).Checked());
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(blue).Checked());
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(other).Checked());
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(green).Checked());
  one.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"COLOR=blue", u"size=L"}));

  // A second click leaves it checked.
  Scripted<ScriptedRadioButton>(blue).Click();
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(blue).Checked());

  // Radio buttons without a name form no group.
  auto& loose1 = Input(&two, Attrs({{Sy::Type, u"radio"}, {Sy::Checked, u""}}));
  auto& loose2 = Input(&two, Attrs({{Sy::Type, u"radio"}}));
  Scripted<ScriptedRadioButton>(loose2).Click();
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(loose1).Checked());
}

TEST_F(FormsTest, ResetRestoresEveryKind) {
  ThtmlForm& form = forms.NewForm({});
  auto& edit = Input(&form, Attrs({{Sy::Name, u"e"}, {Sy::Value, u"initial"}}));
  auto& check = Input(&form, Attrs({{Sy::Type, u"checkbox"}, {Sy::Name, u"c"}, {Sy::Checked, u""}}));
  auto& radioA = Input(&form, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"r"}, {Sy::Value, u"a"}, {Sy::Checked, u""}}));
  auto& radioB = Input(&form, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"r"}, {Sy::Value, u"b"}}));
  auto& list = Select(&form, Attrs({{Sy::Name, u"l"}, {Sy::Multiple, u""}}),
                      {{u"x", u"", true}, {u"y", u"", false}, {u"z", u"", true}});
  auto& combo = Select(&form, Attrs({{Sy::Name, u"d"}}), {{u"p", u"", false}, {u"q", u"", true}});
  auto& area = TextArea(&form, Attrs({{Sy::Name, u"t"}}), {u"first", u"second"});
  Input(&form, Attrs({{Sy::Type, u"hidden"}, {Sy::Name, u"h"}, {Sy::Value, u"1"}}));
  form.SubmitTheForm();
  const Results initial = LastResults();
  EXPECT_EQ(initial, (Results{u"e=initial", u"c=On", u"r=a", u"l=x", u"l=z", u"d=q", u"t=first", u"t=second", u"h=1"}));

  Scripted<ScriptedEdit>(edit).Type(u"other");
  Scripted<ScriptedCheckBox>(check).Click();
  Scripted<ScriptedRadioButton>(radioB).Click();
  Scripted<ScriptedList>(list).Choose(0);
  Scripted<ScriptedList>(list).Choose(1);
  Scripted<ScriptedList>(list).SetTopIndex(2);
  Scripted<ScriptedList>(combo).Choose(0);
  Scripted<ScriptedMemo>(area).Type(u"gone");
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), (Results{u"e=other", u"r=b", u"l=y", u"l=z", u"d=p", u"t=gone", u"h=1"}));

  form.ResetControls();
  form.SubmitTheForm();
  EXPECT_EQ(LastResults(), initial);
  EXPECT_EQ(Scripted<ScriptedList>(list).TopIndex(), 0);
  EXPECT_EQ(Scripted<ScriptedMemo>(area).Caret(), 0);
  EXPECT_FALSE(Scripted<ScriptedRadioButton>(radioB).Checked());
  EXPECT_TRUE(Scripted<ScriptedRadioButton>(radioA).Checked());
}

TEST_F(FormsTest, FormAttributesAndTheImplicitForm) {
  ThtmlForm& cut = forms.NewForm(Attrs({{Sy::Method, u"POSTED"}, {Sy::EncType, u"text/plain"}}));
  EXPECT_EQ(cut.Method, u"POST");
  EXPECT_EQ(cut.EncType, u"text/plain");
  EXPECT_EQ(forms.NewForm({}).Method, u"Get");

  // Controls outside any FORM share one form without attributes.
  TFormControlObj& a = Input(nullptr, Attrs({{Sy::Name, u"a"}}));
  TFormControlObj& b = Input(nullptr, Attrs({{Sy::Name, u"b"}}));
  EXPECT_EQ(&a.Form(), &b.Form());
  EXPECT_EQ(&a.Form(), &forms.ImplicitForm());
  EXPECT_EQ(forms.FormList().size(), 3u);
  EXPECT_EQ(a.Form().Action, u"");
  EXPECT_EQ(forms.FormControlList(), (std::vector<TFormControlObj*>{&a, &b}));
  EXPECT_EQ(a.Pos, 0);
  EXPECT_EQ(b.Pos, 1);

  forms.Clear();
  EXPECT_TRUE(forms.FormList().empty());
  EXPECT_TRUE(forms.FormControlList().empty());
  EXPECT_NE(&Input(nullptr, {}).Form(), nullptr);
  EXPECT_EQ(forms.FormList().size(), 1u);
}

TEST_F(FormsTest, ObjectClickHandlerMayClearTheDocument) {
  // The handler loads another page: the control stops where it is.
  host.DuringObjectClick = [this] { forms.Clear(); };
  const auto clicked = [&](const std::u16string& type) -> TFormControlObj& {
    ThtmlForm& form = forms.NewForm({});
    Input(&form, Attrs({{Sy::Type, u"radio"}, {Sy::Name, u"n"}}));
    return Input(&form, Attrs({{Sy::Type, type}, {Sy::Name, u"n"}}));
  };
  Scripted<ScriptedButton>(clicked(u"submit")).Click();
  Scripted<ScriptedButton>(clicked(u"reset")).Click();
  Scripted<ScriptedRadioButton>(clicked(u"radio")).Click();
  Scripted<ScriptedCheckBox>(clicked(u"checkbox")).Click();
  EXPECT_TRUE(host.Submitted.empty());
  EXPECT_TRUE(forms.FormList().empty());
  EXPECT_EQ(Clicks().size(), 4u);
}

TEST_F(FormsTest, FocusIsReportedAndUnplacedControlsWaitAsideOrHide) {
  ThtmlForm& form = forms.NewForm({});
  auto& a = Input(&form, Attrs({{Sy::Name, u"a"}}));
  auto& b = Input(&form, Attrs({{Sy::Name, u"b"}}));
  auto& c = Input(&form, Attrs({{Sy::Type, u"hidden"}, {Sy::Name, u"c"}}));
  // Made shown, out of view until the layout places them.
  EXPECT_EQ(a.Widget()->Bounds().Top, TFormControlObj::kWaitingTop);
  EXPECT_TRUE(a.Widget()->Visible());

  a.PlaceAt(10, 20);
  EXPECT_TRUE(a.Shown);
  EXPECT_EQ(a.Widget()->Bounds(), (Rect{10, 20, 130, 40}));
  c.PlaceAt(0, 0);

  forms.ShowOrHide();
  EXPECT_TRUE(a.Widget()->Visible());
  EXPECT_FALSE(b.Widget()->Visible());

  a.FocusControl()->SetFocus();
  EXPECT_TRUE(forms.HasFocus());
  forms.ShowOrHide();
  EXPECT_TRUE(b.Widget()->Visible());
  EXPECT_EQ(b.Widget()->Bounds().Left, DocumentForms::kAsideLeft);
  Scripted<ScriptedEdit>(b).Focus();
  EXPECT_EQ(host.Events, (std::vector<std::string>{"enter a", "exit a", "enter b"}));

  forms.ClearPlaced();
  EXPECT_FALSE(a.Shown);
  host.Controls.MoveFocus(nullptr);
  EXPECT_FALSE(forms.HasFocus());
  forms.ShowOrHide();
  EXPECT_FALSE(a.Widget()->Visible());
  EXPECT_FALSE(b.Widget()->Visible());
}

}  // namespace
}  // namespace quillet
