// The document and its blocks: drawing with the selection, list markers,
// preformatted lines, rules, fixed spaces, cells and the document's state.
#include <gtest/gtest.h>

#include "tests/support/ScriptedUi.h"
#include "tests/viewer/layout/LayoutFixture.h"
#include "viewer/layout/FixedBlocks.h"
#include "viewer/layout/ListItems.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::BaseFont;
using test::CallsStarting;
using test::LayoutFixture;

TEST(SectionDrawing, TheSelectionAcrossALinkIsInvertedAndTheRestDrawnNormally) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"one ");
  s->HRefChange(Sy::A, BaseFont(clBlue), TUrlTarget(u"two.htm", u""));
  s->AddText(u"two");
  s->HRefChange(Sy::AEnd, BaseFont(), TUrlTarget());
  s->AddText(u" three");
  f.doc.Add(std::move(s));
  f.Layout(400);
  f.doc.SelB = 2;
  f.doc.SelE = 6;
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 100}, 0, 0, 400);
  const std::vector<std::string> expected = {
      "SelectFont Times New Roman 12 - #000000", "TextOut 0,14 \"on\"",
      "SelectFont Times New Roman 12 - #FFFFFF", "TextOutOpaque 16,14 \"e \" back=#000000",
      "SelectFont Times New Roman 12 - #FFFFFF", "TextOutOpaque 32,14 \"tw\" back=#0000FF",
      "SelectFont Times New Roman 12 - #0000FF", "TextOut 48,14 \"o\"",
      "SelectFont Times New Roman 12 - #000000", "TextOut 56,14 \" three\""};
  EXPECT_EQ(f.canvas.Calls, expected);

  // No selection: one chunk per run.
  f.doc.SelB = f.doc.SelE = 3;
  EXPECT_EQ(f.DrawText().size(), 3u);
}

TEST(SectionDrawing, ASelectionInALaterSectionCountsFromItsStart) {
  LayoutFixture f;
  f.AddSection(u"abc");
  f.AddSection(u"defg");
  f.Layout(400);
  f.doc.SelB = 2;
  f.doc.SelE = 5;
  const auto drawn = f.DrawText();
  const std::vector<std::string> expected = {"TextOut 0,14 \"ab\"", "TextOutOpaque 16,14 \"c\" back=#000000",
                                             "TextOutOpaque 0,32 \"de\" back=#000000", "TextOut 16,32 \"fg\""};
  EXPECT_EQ(drawn, expected);
}

TEST(SectionDrawing, SuperscriptsRiseAndSubscriptsDrop) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"x");
  s->ChangeFont(BaseFont(), {}, SubSupKind::Sup);  // 9 points: height 12, descent 3
  s->AddText(u"2");
  s->ChangeFont(BaseFont(), {}, SubSupKind::Sub);
  s->AddText(u"i");
  f.doc.Add(std::move(s));
  f.Layout(400);
  const std::vector<std::string> expected = {"TextOut 0,14 \"x\"", "TextOut 8,10 \"2\"", "TextOut 14,16 \"i\""};
  EXPECT_EQ(f.DrawText(), expected);
}

TEST(SectionDrawing, OnlyBlocksMeetingTheBandArePainted) {
  LayoutFixture f;
  f.AddSection(u"one");
  f.AddSection(u"two");
  f.AddSection(u"three");
  f.Layout(400);
  f.canvas.Calls.clear();
  // The band 20 to 30 meets only the second section (18 to 36).
  EXPECT_EQ(f.doc.Draw(f.canvas, {0, 20, 400, 30}, 0, 0, 400), 54);
  EXPECT_EQ(CallsStarting(f.canvas, {"TextOut"}), std::vector<std::string>{"TextOut 0,32 \"two\""});
  EXPECT_EQ(f.doc[2].YValue, 36);
}

TEST(SectionDrawing, ACellDrawsWhereItIsPut) {
  LayoutFixture f;
  TCellObj cell(&f.doc);
  auto s = f.NewSection();
  s->AddText(u"in a cell");
  cell.Cell.Add(std::move(s));
  int curs = 0, maxWidth = 0;
  EXPECT_EQ(cell.Cell.DoLogic(f.canvas, 100, 200, curs, maxWidth), 18);
  EXPECT_EQ(cell.Cell.TopY, 100);
  f.canvas.Calls.clear();
  cell.Cell.Draw(f.canvas, {0, 0, 1000, 1000}, 100, 50, 200);
  EXPECT_EQ(CallsStarting(f.canvas, {"TextOut"}), std::vector<std::string>{"TextOut 50,114 \"in a cell\""});
  // Points: x from the cell's left edge, y in the document.
  TCursorHit hit;
  EXPECT_EQ(cell.Cell.FindCursor(f.canvas, 9, 105, hit), 1);
  EXPECT_EQ(hit.YR, 100);
  EXPECT_EQ(hit.Cell, &cell.Cell);
}

TEST(PreformattedLines, KeepSpacesNeverWrapAndAreClipped) {
  LayoutFixture f;
  auto pre = std::make_unique<TPreFormated>(f.doc, 0, TUrlTarget(), BaseFont());
  pre->AddText(u"  a  b");
  pre->AddText(u"  c");
  TPreFormated& p = *pre;
  f.doc.Add(std::move(pre));
  EXPECT_EQ(p.Buff, u"  a  b  c");
  EXPECT_EQ(f.LayoutMaxWidth(20), 72);  // as wide as its text, so the pane scrolls to it
  ASSERT_EQ(p.Lines.size(), 1u);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 1000, 1000}, 0, 0, 300);
  const std::vector<std::string> expected = {"PushClip 0,0,300,18", "TextOut 0,14 \"  a  b  c\"", "PopClip"};
  EXPECT_EQ(CallsStarting(f.canvas, {"PushClip", "TextOut", "PopClip"}), expected);

  int mn = 0, mx = 0;
  p.MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mx, 72);
  EXPECT_EQ(mn, 72);
  auto wide = std::make_unique<TPreFormated>(f.doc, 1, TUrlTarget(), BaseFont());
  wide->AddText(std::u16string(100, u'w'));
  wide->MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mx, 835);
  EXPECT_EQ(mn, 500);
}

TEST(PreformattedLines, AnEmptyLineKeepsAFullHeightLine) {
  LayoutFixture f;
  f.doc.Add(std::make_unique<TPreFormated>(f.doc, 0, TUrlTarget(), BaseFont()));
  f.AddSection(u"next");
  EXPECT_EQ(f.Layout(400), 36);
  auto& pre = static_cast<TSection&>(f.doc[0]);
  EXPECT_EQ(pre.Buff, u" ");
  EXPECT_EQ(pre.Lines.size(), 1u);
  EXPECT_EQ(pre.SectionHeight, 18);
}

TEST(ListMarkers, LettersStopAtZAndRomanNumeralsAtXX) {
  for (int n = 26; n <= 30; ++n) EXPECT_EQ(OrderedMarkerText(u'A', n), u"Z.") << n;
  EXPECT_EQ(OrderedMarkerText(u'A', 1), u"A.");
  EXPECT_EQ(OrderedMarkerText(u'a', 2), u"b.");
  for (int n = 25; n <= 28; ++n) EXPECT_EQ(OrderedMarkerText(u'i', n), u"xx.") << n;
  EXPECT_EQ(OrderedMarkerText(u'I', 4), u"IV.");
  EXPECT_EQ(OrderedMarkerText(u'i', 19), u"xix.");
  EXPECT_EQ(OrderedMarkerText(u'I', 20), u"XX.");
  EXPECT_EQ(OrderedMarkerText(u'1', 123), u"123.");
  EXPECT_EQ(OrderedMarkerText(u'x', 7), u"7.");
  // Below 1 there is no letter or numeral.
  EXPECT_EQ(OrderedMarkerText(u'A', 0), u"0.");
  EXPECT_EQ(OrderedMarkerText(u'i', -2), u"-2.");
}

TEST(ListMarkers, AnOrderedMarkerEndsFivePixelsLeftOfTheText) {
  LayoutFixture f;
  auto item = std::make_unique<TOListItem>(f.doc, 1, TUrlTarget(), BaseFont(), TFontStyles{}, 3, u'1');
  item->AddText(u"third item");
  EXPECT_EQ(item->MarkerText(), u"3.");
  f.doc.Add(std::move(item));
  f.Layout(80);  // two lines: the marker goes with the first
  const std::vector<std::string> expected = {"TextOut 14,14 \"3.\"", "TextOut 35,14 \"third \"",
                                             "TextOut 35,32 \"item\""};
  EXPECT_EQ(f.DrawText(), expected);
}

TEST(ListMarkers, BulletsAreColouredByLevelOnALightPageAndOutlinedOnADarkOne) {
  LayoutFixture f;
  auto one = std::make_unique<TUListItem>(f.doc, 1, TUrlTarget(), BaseFont());
  one->AddText(u"one");
  auto two = std::make_unique<TUListItem>(f.doc, 2, TUrlTarget(), BaseFont());
  two->AddText(u"two");
  EXPECT_EQ(two->MarkerText(), u"\u2022");
  f.doc.Add(std::move(one));
  f.doc.Add(std::move(two));
  f.Layout(400);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 100}, 0, 0, 400);
  // Centred 8 left of the text, in the middle of the 18-pixel line.
  const std::vector<std::string> light = {"Ellipse 25,7,30,12 pen=#000080 fill=#000080",
                                          "Ellipse 60,25,65,30 pen=#800000 fill=#800000"};
  EXPECT_EQ(CallsStarting(f.canvas, {"Ellipse"}), light);

  f.doc.SetBackground(RgbColor(0x20, 0x20, 0x40));
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 100}, 0, 0, 400);
  const std::vector<std::string> dark = {"Ellipse 25,7,30,12 pen=#000000 fill=none",
                                         "Ellipse 60,25,65,30 pen=#000000 fill=none"};
  EXPECT_EQ(CallsStarting(f.canvas, {"Ellipse"}), dark);

  // The button face counts as light, whatever it resolves to.
  f.doc.SetBackground(clBtnFace);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 100}, 0, 0, 400);
  EXPECT_EQ(CallsStarting(f.canvas, {"Ellipse"}), light);
}

TEST(ListMarkers, APlainListDrawsNoBulletsButKeepsTheIndent) {
  LayoutFixture f;
  auto item = std::make_unique<TUListItem>(f.doc, 1, TUrlTarget(), BaseFont(), TFontStyles{}, true);
  item->AddText(u"plain");
  EXPECT_EQ(item->MarkerText(), u"");
  TUListItem& ref = *item;
  f.doc.Add(std::move(item));
  auto dd = std::make_unique<TDListItem>(f.doc, 2, TUrlTarget(), BaseFont());
  dd->AddText(u"definition");
  f.doc.Add(std::move(dd));
  f.Layout(400);
  EXPECT_EQ(ref.Lines[0].LineIndent, 35);
  EXPECT_EQ(static_cast<TSection&>(f.doc[1]).Lines[0].LineIndent, 70);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 400, 100}, 0, 0, 400);
  EXPECT_TRUE(CallsStarting(f.canvas, {"Ellipse"}).empty());
  EXPECT_EQ(CallsStarting(f.canvas, {"TextOut"}).size(), 2u);
}

TEST(ListMarkers, LeavingAListReturnsToTheLeftEdge) {
  LayoutFixture f;
  auto item = std::make_unique<TUListItem>(f.doc, 2, TUrlTarget(), BaseFont());
  item->AddText(u"deep");
  f.doc.Add(std::move(item));
  TSection& after = f.AddSection(u"after");
  f.Layout(400);
  EXPECT_EQ(after.Lines[0].LineIndent, 0);
}

TAttributeList HrAttributes(std::initializer_list<TAttribute> list) {
  TAttributeList attrs;
  for (const TAttribute& a : list) attrs.Add(a);
  return attrs;
}

std::vector<std::string> DrawRule(LayoutFixture& f, const TAttributeList& attrs, int width = 600) {
  f.doc.ClearBlocks();
  f.doc.Add(std::make_unique<THorzLine>(attrs));
  f.Layout(width);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, width, 100}, 0, 0, width);
  return CallsStarting(f.canvas, {"Line", "FillRect"});
}

TEST(HorizontalRules, HalfWidthIsCentredAndEngraved) {
  LayoutFixture f;  // white page: the light edges are silver
  const std::vector<std::string> expected = {"Line 150,10-150,9 #A0A0A0", "Line 150,9-449,9 #A0A0A0",
                                             "Line 449,9-449,10 #C0C0C0", "Line 449,10-150,10 #C0C0C0"};
  EXPECT_EQ(DrawRule(f, HrAttributes({{Sy::Width, 50, u"50%"}})), expected);
  EXPECT_EQ(f.doc[0].SectionHeight, 20);
}

TEST(HorizontalRules, SizeWidthAlignmentColourAndShade) {
  LayoutFixture f;
  // SIZE beyond 20 keeps the thickness 2.
  DrawRule(f, HrAttributes({{Sy::Size, 30, u"30"}}));
  EXPECT_EQ(static_cast<THorzLine&>(f.doc[0]).Thickness, 2);
  EXPECT_EQ(f.doc[0].SectionHeight, 20);
  // SIZE 5: 3 more pixels of height; the rule in the middle.
  auto lines = DrawRule(f, HrAttributes({{Sy::Size, 5, u"5"}}));
  EXPECT_EQ(f.doc[0].SectionHeight, 23);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Line 10,13-10,9 #A0A0A0");  // full width less 10 each side
  EXPECT_EQ(lines[1], "Line 10,9-589,9 #A0A0A0");

  EXPECT_EQ(DrawRule(f, HrAttributes({{Sy::Width, 100, u"100"}, {Sy::Align, 0, u"RIGHT"}, {Sy::Color, 0, u"red"}})),
            std::vector<std::string>{"FillRect 500,9,600,11 #FF0000"});
  EXPECT_EQ(DrawRule(f, HrAttributes({{Sy::Width, 120, u"120"}, {Sy::Align, 0, u"left"}, {Sy::Color, 0, u"#00ff00"}})),
            std::vector<std::string>{"FillRect 0,9,120,11 #00FF00"});
  // A percentage above 100 is not used: the whole width.
  lines = DrawRule(f, HrAttributes({{Sy::Width, 150, u"150%"}, {Sy::NoShade, 0, u""}}));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "Line 10,9-589,9 #000000");
  EXPECT_EQ(lines[3], "Line 589,10-10,10 #000000");
  // An unreadable colour draws the engraved rule.
  EXPECT_EQ(DrawRule(f, HrAttributes({{Sy::Color, 0, u"nocolour"}})).size(), 4u);

  // On another background the light edges take the button highlight.
  f.doc.SetBackground(clBtnFace);
  lines = DrawRule(f, HrAttributes({}));
  EXPECT_EQ(lines[3], "Line 589,10-10,10 #FFFFFF");
}

TEST(HorizontalRules, KeepToTheListIndent) {
  LayoutFixture f;
  auto item = std::make_unique<TUListItem>(f.doc, 1, TUrlTarget(), BaseFont());
  item->AddText(u"item");
  f.doc.Add(std::move(item));
  f.doc.Add(std::make_unique<THorzLine>(TAttributeList()));
  f.Layout(600);
  f.canvas.Calls.clear();
  f.doc.Draw(f.canvas, {0, 0, 600, 100}, 0, 0, 600);
  EXPECT_EQ(CallsStarting(f.canvas, {"Line"})[1], "Line 45,27-589,27 #A0A0A0");
}

TEST(FixedSpaces, ANewDefaultFontSizeRescalesThemOnTheNextLayout) {
  LayoutFixture f;
  f.doc.Add(std::make_unique<TParagraphSpace>());
  f.doc.Add(std::make_unique<THeadingSpace>(1));
  f.doc.Add(std::make_unique<THeadingSpace>(0));
  f.doc.Add(std::make_unique<THeadingSpace>(6));
  f.doc.Add(std::make_unique<THorzLine>(TAttributeList()));
  EXPECT_EQ(f.Layout(600), 14 + 16 + 8 + 4 + 20);
  f.doc.SetFonts(u"Times New Roman", u"Courier New", clWindow, clBlue, clBtnText, 24);
  EXPECT_EQ(f.Layout(600), 28 + 32 + 16 + 8 + 40);
  EXPECT_EQ(f.doc.GetSectionYPos(4), 28 + 32 + 16 + 8);
  f.doc.SetFonts(u"Times New Roman", u"Courier New", clWindow, clBlue, clBtnText, 10);
  EXPECT_EQ(f.Layout(600), 11 + 13 + 6 + 3 + 16);
}

TEST(FixedSpaces, NewFontsReachTheTextToo) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"plain ");
  s->HRefChange(Sy::A, BaseFont(clBlue), TUrlTarget(u"a.htm", u""));
  s->AddText(u"link");
  f.doc.Add(std::move(s));
  f.doc.SetFonts(u"Liberation Serif", u"Liberation Mono", clWhite, RgbColor(0, 0x80, 0), RgbColor(0x40, 0, 0), 24);
  EXPECT_EQ(f.Layout(600), 36);
  f.DrawText();
  const std::vector<std::string> expected = {"SelectFont Liberation Serif 24 - #400000",
                                             "SelectFont Liberation Serif 24 - #008000"};
  EXPECT_EQ(CallsStarting(f.canvas, {"SelectFont"}), expected);
}

class FailingBlock : public TSectionBase {
 public:
  int DrawLogic(Canvas&, int, IndentManager&, int&, int& Curs) override {
    Curs += 5;
    throw EProcessError(kTooManyColumnsMessage);
  }
};

TEST(Document, ABlockWhoseLayoutFailsIsDroppedWithItsMessage) {
  test::ScriptedUi ui;
  FixedCanvas canvas;
  TSectionList doc;
  doc.Callbacks().Messages = &ui;
  doc.Add(std::make_unique<TSection>(doc, 0, Justification::Left, TUrlTarget(), BaseFont()));
  static_cast<TSection&>(doc[0]).AddText(u"before");
  doc.Add(std::make_unique<FailingBlock>());
  auto after = std::make_unique<TSection>(doc, 0, Justification::Left, TUrlTarget(), BaseFont());
  after->AddText(u"after");
  doc.Add(std::move(after));
  int curs = 0, maxWidth = 0;
  EXPECT_EQ(doc.DoLogic(canvas, 0, 400, curs, maxWidth), 36);
  EXPECT_EQ(ui.Messages, std::vector<std::string>{"Table has too many Columns"});
  ASSERT_EQ(doc.Count(), 2);
  EXPECT_EQ(doc[1].YValue, 18);
  EXPECT_EQ(doc[1].StartCurs, 6);
  EXPECT_EQ(curs, 11);
}

TEST(Document, StateBackgroundAndClearing) {
  LayoutFixture f;
  int changes = 0;
  f.doc.Callbacks().OnBackgroundChange = [&](TSectionList& d) {
    ++changes;
    EXPECT_EQ(d.Background(), clWindow);
  };
  f.doc.SetFonts(std::u16string(40, u'n'), u"Mono", clWindow, clBlue, clBtnText, 12);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f.doc.Fonts.FontName.size(), 33u);

  f.AddSection(u"one");
  f.AddSection(u"two");
  f.doc.Add(std::make_unique<TParagraphSpace>());
  f.doc.Add(nullptr);
  EXPECT_EQ(f.doc.Count(), 3);
  f.Layout(400);
  EXPECT_EQ(f.doc.GetSectionYPos(0), 0);
  EXPECT_EQ(f.doc.GetSectionYPos(1), 18);
  EXPECT_EQ(f.doc.GetSectionYPos(2), 36);
  EXPECT_EQ(f.doc.GetSectionYPos(9), 36);  // at most the last block's top

  f.doc.SelB = 1;
  f.doc.SelE = 4;
  f.doc.SetBackgroundBitmapName(u"tile.gif");
  f.doc.ShowImages = true;
  EXPECT_EQ(f.doc.GetBackgroundBitmap(), nullptr);
  EXPECT_TRUE(f.doc.BitmapLoaded);
  f.doc.Clear();
  EXPECT_TRUE(f.doc.Empty());
  EXPECT_EQ(f.doc.SelB, 0);
  EXPECT_EQ(f.doc.SelE, 0);
  EXPECT_TRUE(f.doc.BitmapName.empty());
  EXPECT_FALSE(f.doc.BitmapLoaded);
  EXPECT_EQ(f.Layout(400), 0);
}

TEST(Document, TheAnimationTimerTicksEvery50msAndStopsForLayout) {
  auto timer = std::make_unique<ManualTimer>();
  ManualTimer& t = *timer;
  FixedCanvas canvas;
  DocumentCallbacks host;
  host.AnimationTimer = std::move(timer);
  TSectionList doc(&host);
  EXPECT_EQ(t.Interval(), 50);
  EXPECT_FALSE(t.Enabled());
  t.SetEnabled(true);
  int curs = 0, maxWidth = 0;
  doc.DoLogic(canvas, 0, 100, curs, maxWidth);
  EXPECT_FALSE(t.Enabled());  // nothing animates
  t.SetEnabled(true);
  t.SetInterval(10);
  t.Fire();
  EXPECT_EQ(t.Interval(), 50);
}

}  // namespace
}  // namespace quillet
