// Forms in a page: the parser's FORM, INPUT, SELECT and TEXTAREA, the
// controls' room on their lines, and a paint placing them (the document
// without a pane: in-memory controls). On the fixed canvas: 12-point lines
// 18 high with the baseline 14 below their top (descent 4), characters 8
// wide; an edit is 125 x 20 (20 characters of 6, + 5), a check box 13 x 13.
#include <gtest/gtest.h>

#include "tests/viewer/layout/LayoutFixture.h"
#include "tests/viewer/parser/ParserFixture.h"
#include "viewer/document/DocumentDump.h"
#include "viewer/forms/ScriptedFormWidgets.h"
#include "viewer/layout/ImageObj.h"

namespace quillet {
namespace {

using test::CallsStarting;
using Lines = std::vector<std::string>;
using Texts = std::vector<std::u16string>;

struct FormPage : test::ParsedPage {
  FixedCanvas canvas;

  explicit FormPage(std::string_view html, int width = 400) : ParsedPage(html) { Layout(width); }
  void Layout(int width) {
    int curs = 0, maxWidth = 0;
    doc.DoLogic(canvas, 0, width, curs, maxWidth);
  }
  // A paint of the band [top, bottom) at scroll position top.
  void PaintAt(int top, int bottom) {
    doc.SetYOffset(top);
    canvas.Calls.clear();
    doc.Draw(canvas, {0, top, 400, bottom}, 0, 0, 400);
  }
  std::string Dump() const { return DumpDocument(doc, u"", 0); }
  const std::vector<TFormControlObj*>& Controls() const { return doc.Forms().FormControlList(); }
  TFormControlObj& Named(std::u16string_view name) const {
    for (TFormControlObj* c : Controls())
      if (c->Name == name) return *c;
    throw std::out_of_range("no control named " + Utf16ToUtf8(name));
  }
  template <class T>
  T& As(std::u16string_view name) const {
    return dynamic_cast<T&>(Named(name));
  }
};

TEST(FormParser, ControlsJoinTheFormTheyAreInAndStandInTheText) {
  FormPage p(
      "<INPUT NAME=before>"
      "<FORM METHOD=post ACTION=/go TARGET=_top ENCTYPE=text/plain>"
      "a<INPUT NAME=q><INPUT TYPE=hidden NAME=h VALUE=1>b<INPUT TYPE=image NAME=map SRC=m.gif>"
      "</FORM>"
      "<SELECT NAME=after><OPTION>x</SELECT>");
  const auto& forms = p.doc.Forms().FormList();
  ASSERT_EQ(forms.size(), 2u);
  // Controls outside any FORM share the form made for the first of them.
  ThtmlForm& implicit = p.Named(u"before").Form();
  EXPECT_EQ(&p.Named(u"after").Form(), &implicit);
  EXPECT_EQ(implicit.Method, u"Get");
  ThtmlForm& form = p.Named(u"q").Form();
  EXPECT_NE(&form, &implicit);
  EXPECT_EQ(form.Method, u"post");
  EXPECT_EQ(form.Action, u"/go");
  EXPECT_EQ(form.Target, u"_top");
  EXPECT_EQ(form.EncType, u"text/plain");
  EXPECT_EQ(form.Controls().size(), 3u);
  EXPECT_EQ(form.NonHiddenCount(), 2);

  // A hidden field has no place in the text; an image button is a picture.
  const TSection& s = p.Section(0);
  EXPECT_EQ(s.Buff, u"\x02" u"a\x02" u"b\x04\x02");
  EXPECT_EQ(s.FormControls().size(), 3u);
  ASSERT_EQ(s.Images().size(), 1u);
  auto& image = p.As<TImageFormControlObj>(u"map");
  EXPECT_EQ(image.MyImage, s.Images()[0].get());
  EXPECT_EQ(s.Images()[0]->MyFormControl, &image);
  EXPECT_EQ(p.Controls().size(), 5u);
}

TEST(FormParser, SelectTakesItsOptionsTrimmedAndCut) {
  const std::string long90(90, 'v');
  FormPage p("<SELECT NAME=s MULTIPLE>ignored<OPTION VALUE=a> Apple &amp; pear </OPTION><B>between</B>"
             "<OPTION SELECTED>  <OPTION VALUE=" + long90 + " SELECTED>" + std::string(100, 'x') +
             "<OPTION>Last</SELECT>after");
  const auto& list = p.As<TListBoxFormControlObj>(u"s");
  ASSERT_EQ(list.Options.size(), 3u);
  EXPECT_EQ(list.Options[0], (TSelectOption{u"Apple & pear", u"a", false}));
  // An option with no text is left out, its SELECTED with it.
  EXPECT_EQ(list.Options[1].Text, std::u16string(80, u'x'));
  EXPECT_EQ(list.Options[1].Value, std::u16string(80, u'v'));
  EXPECT_TRUE(list.Options[1].Selected);
  EXPECT_EQ(list.Options[2].Text, u"Last");
  // The list was filled once the options were read.
  EXPECT_EQ(list.List().Count(), 3);
  EXPECT_TRUE(list.List().Selected(1));
  EXPECT_EQ(p.Section(0).Buff, u"\x02" u"after");

  // Without MULTIPLE or a SIZE above 1 it is a drop-down list, showing the
  // last option marked selected; an unended SELECT reads to the end.
  FormPage combo("<SELECT NAME=c SIZE=1><OPTION SELECTED>one<OPTION>two<OPTION SELECTED>three");
  auto& c = combo.As<TComboFormControlObj>(u"c");
  EXPECT_EQ(c.List().ItemIndex(), 2);
  EXPECT_EQ(c.Options.size(), 3u);
}

TEST(FormParser, TextAreaKeepsItsLinesAsWritten) {
  FormPage p(
      "<TEXTAREA NAME=t ROWS=3>  one &lt;&amp;&gt;\n"
      "<b>two</b> <</TEXTAREA\n"
      "attr=\"x\">after");
  auto& area = p.As<TTextAreaFormControlObj>(u"t");
  EXPECT_EQ(area.InitialLines, (Texts{u"  one <&>", u"<b>two</b> <"}));
  EXPECT_EQ(area.Memo().Lines(), area.InitialLines);
  EXPECT_EQ(p.Section(0).Buff, u"\x02" u"after");

  // A line end before the end tag ends the last line; none comes after it.
  FormPage q("<TEXTAREA NAME=t>\nx\n</textarea>");
  EXPECT_EQ(q.As<TTextAreaFormControlObj>(u"t").InitialLines, (Texts{u"", u"x"}));
  // An unended text area takes the rest of the page.
  FormPage r("<TEXTAREA NAME=t>a<p>b");
  EXPECT_EQ(r.As<TTextAreaFormControlObj>(u"t").InitialLines, (Texts{u"a<p>b"}));
}

TEST(FormParser, PreformattedTextHoldsControlsToo) {
  FormPage p("<PRE>a <INPUT NAME=q> <SELECT NAME=s><OPTION>x</SELECT>\n<TEXTAREA NAME=t>l</TEXTAREA>b</PRE>c");
  Texts pre;
  for (const auto& block : p.doc.Blocks())
    if (block->ClassName() == "TPreFormated") pre.push_back(dynamic_cast<const TSection&>(*block).Buff);
  EXPECT_EQ(pre, (Texts{u"a \x02 \x02", u"\x02" u"b"}));
  EXPECT_EQ(p.As<TTextAreaFormControlObj>(u"t").InitialLines, (Texts{u"l"}));
  EXPECT_EQ(p.As<TListBoxFormControlObj>(u"s").Options.size(), 1u);
}

TEST(FormLayout, ControlsTakeTheirRoomOnTheLine) {
  // An edit reaches down to the text's bottom, raising the line; a check
  // box stands on the baseline.
  FormPage p("ab<INPUT NAME=q>cd<INPUT TYPE=checkbox NAME=c>e");
  EXPECT_EQ(p.Dump(),
            "title ||\n"
            "TSection y=0 h=20\n"
            "  line x=0 y=0 h=20 |ab[ctl]cd[ctl]e|\n"
            "    ctl edit x=16 y=0 w=125 h=20 |q|\n"
            "    ctl checkbox x=157 y=3 w=13 h=13 |c|\n");
  p.PaintAt(0, 100);
  EXPECT_EQ(CallsStarting(p.canvas, {"TextOut"}),
            (Lines{"TextOut 0,16 \"ab\"", "TextOut 141,16 \"cd\"", "TextOut 170,16 \"e\""}));
  EXPECT_EQ(p.Named(u"q").Widget()->Bounds(), (Rect{16, 0, 141, 20}));
  EXPECT_EQ(p.Named(u"c").Widget()->Bounds(), (Rect{157, 3, 170, 16}));

  // A line breaks before a control that does not fit; one wider than the
  // column asks for its width.
  FormPage narrow("abcdefgh <INPUT NAME=q> ijk", 150);
  const TSection& s = narrow.Section(0);
  ASSERT_GE(s.Lines.size(), 2u);
  EXPECT_EQ(s.LineText(s.Lines[0]), u"abcdefgh ");
  EXPECT_EQ(narrow.Named(u"q").LayoutX, 0);
  EXPECT_EQ(narrow.Named(u"q").YValue, 18);
  int curs = 0, maxWidth = 0;
  narrow.doc.DoLogic(narrow.canvas, 0, 100, curs, maxWidth);
  EXPECT_EQ(maxWidth, 125);
  int min = 0, max = 0;
  narrow.doc.MinMaxWidth(narrow.canvas, min, max);
  EXPECT_EQ(min, 125);
}

TEST(FormLayout, APaintPlacesTheControlsItShowsAndHidesTheRest) {
  FormPage p(test::Times(20, "<INPUT><BR>"));
  const auto& controls = p.Controls();
  ASSERT_EQ(controls.size(), 20u);
  // Scrolled down by 100: lines 5 to 9 are on the page, at the panel's y.
  p.PaintAt(100, 200);
  for (size_t i = 0; i < controls.size(); ++i) {
    const bool onPage = i >= 5 && i < 10;
    EXPECT_EQ(controls[i]->Shown, onPage) << i;
    EXPECT_EQ(controls[i]->Widget()->Visible(), onPage) << i;
  }
  EXPECT_EQ(controls[5]->Widget()->Bounds().Top, 0);
  EXPECT_EQ(controls[9]->Widget()->Bounds().Top, 80);

  // With the focus in one of them those off the page wait out of view, so
  // Tab still reaches them.
  dynamic_cast<ScriptedEdit&>(*controls[7]->Widget()).Focus();
  p.PaintAt(300, 400);
  EXPECT_TRUE(controls[16]->Shown);
  EXPECT_TRUE(controls[7]->Widget()->Visible());
  EXPECT_EQ(controls[7]->Widget()->Bounds().Left, DocumentForms::kAsideLeft);
  EXPECT_EQ(controls[7]->Widget()->Bounds().Top, 40);

  // A paint without a scroll between leaves the others as they are.
  p.canvas.Calls.clear();
  p.doc.Draw(p.canvas, {0, 300, 400, 320}, 0, 0, 400);
  EXPECT_TRUE(controls[16]->Widget()->Visible());
}

TEST(FormLayout, ControlsInTableCellsLieWhereTheCellIsDrawn) {
  FormPage p(
      "<P>top<TABLE BORDER CELLPADDING=3><TR><TD>a<TR><TD BGCOLOR=yellow>b <INPUT NAME=q> "
      "<INPUT TYPE=radio NAME=r></TABLE><INPUT TYPE=radio NAME=page>");
  p.PaintAt(0, 1000);
  for (const char16_t* name : {u"q", u"r", u"page"}) {
    const TFormControlObj& c = p.Named(name);
    EXPECT_TRUE(c.Shown) << Utf16ToUtf8(name);
    // The layout's place is where the paint put it, moved with its row.
    EXPECT_EQ(c.Widget()->Bounds().Top, c.YValue) << Utf16ToUtf8(name);
  }
  // A radio button's panel takes its cell's colour, or the page's.
  const TCell* cell = p.As<TRadioButtonFormControlObj>(u"r").Cell;
  ASSERT_NE(cell, nullptr);
  EXPECT_TRUE(cell->BkGnd);
  EXPECT_EQ(p.As<TRadioButtonFormControlObj>(u"r").Background(), cell->BkColor);
  EXPECT_EQ(p.As<TRadioButtonFormControlObj>(u"page").Background(), p.doc.Background());
}

TEST(FormLayout, ANewPageTakesTheOldControlsAway) {
  FormPage p("<INPUT NAME=q>");
  ASSERT_EQ(p.Controls().size(), 1u);
  p.doc.Clear();
  EXPECT_TRUE(p.doc.Forms().FormList().empty());
  EXPECT_TRUE(p.doc.Forms().FormControlList().empty());
  // A new parse starts outside any form.
  p.Parse("<FORM><INPUT NAME=a></FORM><INPUT NAME=b>");
  EXPECT_NE(&p.Named(u"a").Form(), &p.Named(u"b").Form());
}

}  // namespace
}  // namespace quillet
