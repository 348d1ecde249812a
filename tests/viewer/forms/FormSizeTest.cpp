// Control sizes on the fixed canvas. The preformatted font (Courier New, 10
// points) has characters 6 wide and 13 high; the scripted screen font (Arial,
// 9 points) 6 wide and 12 high. Scripted lists and memos add a 2-pixel frame
// on each side and 16 for each scroll bar.
#include <gtest/gtest.h>

#include "platform/FixedCanvas.h"
#include "tests/viewer/forms/FormTestHost.h"
#include "viewer/forms/Forms.h"

namespace quillet {
namespace {

using test::Attrs;

class FormSizeTest : public ::testing::Test {
 protected:
  test::RecordingFormHost host;
  DocumentForms forms{host};
  FixedCanvas canvas;

  // The control's outer size after the layout sized it.
  std::pair<int, int> Sized(Sy tag, const TAttributeList& attributes, std::initializer_list<std::u16string> items = {}) {
    TFormControlObj* control = forms.AddControl(nullptr, tag, attributes, 0);
    if (auto* list = dynamic_cast<TListBoxFormControlObj*>(control)) {
      for (const std::u16string& text : items) list->AddOption(text, u"", false);
      list->RestoreInitial();
    }
    forms.SizeControls(canvas);
    last = control;
    return {control->Width(), control->Height()};
  }
  std::pair<int, int> Edit(std::u16string size) {
    return Sized(Sy::Input, size.empty() ? TAttributeList() : Attrs({{Sy::Size, size}}));
  }

  TFormControlObj* last = nullptr;
};

using Size = std::pair<int, int>;

TEST_F(FormSizeTest, EditsAreAsWideAsTheirSizeInCharacters) {
  TFormControlObj* edit = forms.AddControl(nullptr, Sy::Input, {}, 0);
  EXPECT_EQ(edit->Width(), 120);
  EXPECT_EQ(edit->Height(), 20);
  EXPECT_EQ(dynamic_cast<ScriptedEdit&>(*edit->Widget()).Font(), (FontSpec{u"Courier New", 10}));

  EXPECT_EQ(Edit(u""), Size(6 * 20 + 5, 20));
  EXPECT_EQ(Edit(u"5"), Size(6 * 5 + 5, 20));
  // An old "width, height" size gives the digits before the first space or
  // comma, when both are there.
  EXPECT_EQ(Edit(u"30, 1"), Size(6 * 30 + 5, 20));
  EXPECT_EQ(Edit(u"30 ,1"), Size(6 * 30 + 5, 20));
  EXPECT_EQ(Edit(u"30,1"), Size(125, 20));
  EXPECT_EQ(Edit(u"x, 4"), Size(125, 20));
  EXPECT_EQ(Edit(u", 4"), Size(125, 20));
  EXPECT_EQ(Edit(u"0"), Size(125, 20));

  TAttributeList huge;
  huge.Add({Sy::Size, 2000000000, u"2000000000"});
  EXPECT_EQ(Sized(Sy::Input, huge), Size(32000, 20));
}

TEST_F(FormSizeTest, ButtonsFitTheirCaptionInTheScreenFont) {
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"submit"}})), Size(6 * 6 + 20, 12 + 8));
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"reset"}, {Sy::Value, u"Start again"}})), Size(6 * 11 + 20, 20));
  host.Controls.ScreenFont = FontSpec{u"Arial", 12};
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"button"}})), Size(8 * 6 + 20, 16 + 8));
}

TEST_F(FormSizeTest, CheckBoxesAndRadioButtonsHaveFixedSizes) {
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"checkbox"}})), Size(13, 13));
  EXPECT_EQ(last->AlignFlag, 1);
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"radio"}})), Size(13, 14));
  EXPECT_EQ(last->AlignFlag, 1);
  Edit(u"");
  EXPECT_EQ(last->AlignFlag, 0);
  EXPECT_EQ(Sized(Sy::Input, Attrs({{Sy::Type, u"hidden"}})), Size(0, 0));
}

TEST_F(FormSizeTest, ListBoxesShowTheirRowsAndLongestOption) {
  // No SIZE: as many rows as options, 1 to 8.
  EXPECT_EQ(Sized(Sy::Select, Attrs({{Sy::Multiple, u""}}), {u"Apple", u"Banana", u"Fig", u"Kiwi", u"Lime"}),
            Size(6 * 6 + 15 + 4, 13 * 5 + 4));
  EXPECT_EQ(dynamic_cast<TListBoxFormControlObj*>(last)->ListSize, 5);
  EXPECT_EQ(Sized(Sy::Select, Attrs({{Sy::Multiple, u""}}), {}), Size(6 * 3 + 15 + 4, 13 + 4));
  // More options than rows: the vertical scroll bar.
  EXPECT_EQ(Sized(Sy::Select, Attrs({{Sy::Multiple, u""}}),
                  {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}),
            Size(6 * 3 + 15 + 4 + 16, 13 * 8 + 4));
  EXPECT_EQ(Sized(Sy::Select, Attrs({{Sy::Size, u"3"}}), {u"a", u"b"}), Size(6 * 3 + 15 + 4, 13 * 3 + 4));
}

TEST_F(FormSizeTest, DropDownListsMeasureWithTheScreenFont) {
  // The height is the drop-down's own, from its font: 12 + 8 in Arial 9.
  EXPECT_EQ(Sized(Sy::Select, {}, {u"Monday", u"Tue"}), Size(6 * 6 + 30, 12 + 8));
  // Shown in the font it is measured in: in the narrower preformatted font
  // of a wider "A" the longest option would be cut by the arrow button.
  EXPECT_EQ(dynamic_cast<ScriptedList&>(*last->Widget()).Font(), (FontSpec{u"Arial", 9}));
  host.Controls.ScreenFont = FontSpec{u"Arial", 12};
  EXPECT_EQ(Sized(Sy::Select, {}, {u"Monday"}), Size(8 * 6 + 30, 16 + 8));
  EXPECT_EQ(dynamic_cast<ScriptedList&>(*last->Widget()).Font(), (FontSpec{u"Arial", 12}));
}

TEST_F(FormSizeTest, TextAreasFromRowsAndColumnsAndWrapping) {
  const Size wrapped(6 * 30 + 5 + 4 + 16, 13 * 5 + 5 + 4);
  const Size both(6 * 30 + 5 + 4 + 16, 13 * 5 + 5 + 4 + 16);
  EXPECT_EQ(Sized(Sy::TextArea, {}), both);
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Wrap, u"Soft"}})), wrapped);
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Wrap, u"HARD"}})), wrapped);
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Wrap, u"physical"}})), both);
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Wrap, u""}})), both);
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Rows, u"2"}, {Sy::Cols, u"10"}, {Sy::Wrap, u"soft"}})),
            Size(6 * 10 + 5 + 20, 13 * 2 + 5 + 4));
  EXPECT_EQ(Sized(Sy::TextArea, Attrs({{Sy::Rows, u"0"}, {Sy::Cols, u"0"}})), both);
}

TEST_F(FormSizeTest, OptionsAreCutTo80Characters) {
  auto* list = dynamic_cast<TComboFormControlObj*>(forms.AddControl(nullptr, Sy::Select, {}, 0));
  ASSERT_NE(list, nullptr);
  list->AddOption(std::u16string(100, u'x'), std::u16string(90, u'v'), true);
  EXPECT_EQ(list->Options[0].Text.size(), 80u);
  EXPECT_EQ(list->Options[0].Value.size(), 80u);
  EXPECT_EQ(list->LongestOpt, 80);
  // Never half of a surrogate pair.
  list->AddOption(std::u16string(79, u'y') + u"\U0001F600", u"", false);
  EXPECT_EQ(list->Options[1].Text.size(), 79u);
}

}  // namespace
}  // namespace quillet
