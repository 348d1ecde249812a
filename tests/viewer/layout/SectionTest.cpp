// Text sections: content, line breaking, alignment, floats and clearing,
// measuring, and the queries at points and positions.
#include "viewer/layout/Section.h"

#include <gtest/gtest.h>

#include "tests/viewer/layout/LayoutFixture.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::BaseFont;
using test::LayoutFixture;

std::u16string Text(const TSection& s, size_t line) { return std::u16string(s.LineText(s.Lines[line])); }

TEST(SectionText, PiecesJoinWithOneSpaceAndNothingLeadsAnEmptySection) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u" Hello ");
  s->AddText(u" world");
  s->AddText(u"");
  EXPECT_EQ(s->Buff, u"Hello world");
  // Control characters in the text are no object placeholders.
  s->AddText(u"\x04x\x02");
  EXPECT_EQ(s->Buff, u"Hello world x ");
}

TEST(SectionText, TextBeyondTheLimitIsDropped) {
  LayoutFixture f;
  auto s = f.NewSection();
  const std::u16string piece(200, u'a');
  for (int i = 0; i < 101; ++i) s->AddText(piece);
  EXPECT_EQ(s->Len(), 20200);  // accepted while it held at most 20,000
  s->AddText(u"more");
  EXPECT_EQ(s->Len(), 20200);
}

TEST(SectionText, FontChangesStartRunsAndLinksCarryOver) {
  LayoutFixture f;
  TMyFont bold = BaseFont();
  bold.Spec.Bold = true;
  TMyFont link = BaseFont(clBlue);
  auto s = f.NewSection();
  s->ChangeFont(bold);  // no text yet: replaces the first run's font
  ASSERT_EQ(s->Fonts.size(), 1u);
  EXPECT_TRUE(s->Fonts[0].Font().Spec.Bold);
  s->AddText(u"one ");
  s->HRefChange(Sy::A, link, TUrlTarget(u"http://a.example/", u"_top"));
  s->AddText(u"two");
  s->ChangeFont(link, {.Italic = true});  // inside the link: the link carries over
  s->AddText(u"2");
  s->HRefChange(Sy::AEnd, BaseFont(), TUrlTarget());
  s->AddText(u" three");
  ASSERT_EQ(s->Fonts.size(), 4u);
  EXPECT_EQ(s->Fonts[1].Pos, 4);
  EXPECT_EQ(s->Fonts[1].UrlTarget.Url(), u"http://a.example/");
  EXPECT_EQ(s->Fonts[2].UrlTarget.Target(), u"_top");
  EXPECT_TRUE(s->Fonts[2].Font().Spec.Italic);
  EXPECT_FALSE(s->Fonts[3].UrlTarget.IsLink());
  EXPECT_EQ(s->Fonts[3].Pos, 8);
}

TEST(SectionText, SubAndSuperscriptRunsAreThreeQuartersTheSize) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"x");
  TMyFont heading = BaseFont();
  heading.SetNominalSize(f.doc.Fonts, 24);
  s->ChangeFont(heading, {}, SubSupKind::Sup);
  EXPECT_EQ(s->Fonts.back().Font().NominalSize, 18);
  EXPECT_EQ(s->Fonts.back().Font().Spec.Size, 18);
  EXPECT_EQ(s->Fonts.back().SScript, SubSupKind::Sup);
  // The size follows the document's default size.
  f.doc.Fonts.FontSize = 10;
  s->UpdateFonts();
  EXPECT_EQ(s->Fonts.back().Font().Spec.Size, 15);
}

TEST(SectionText, ClearAndBreakAlignment) {
  LayoutFixture f;
  auto s = f.NewSection(Justification::Right);
  TAttributeList attrs;
  s->SetClear(attrs);
  EXPECT_EQ(s->ClearAttr, ClearKind::None);
  attrs.Add({Sy::Clear, 0, u"LEFT"});
  s->SetClear(attrs);
  EXPECT_EQ(s->ClearAttr, ClearKind::Left);
  TAttributeList all;
  all.Add({Sy::Clear, 0, u"all"});
  s->SetClear(all);
  EXPECT_EQ(s->ClearAttr, ClearKind::Both);

  EXPECT_EQ(s->AlignmentForBreak(), Justification::Right);
  EXPECT_EQ(s->Buff, u" ");  // an empty line keeps its height
}

TEST(SectionLayout, WrapsAtSpacesAndAWordTooWideBreaksAtTheEdge) {
  LayoutFixture f;
  // 50 pixels take 6 characters: "abc de" fits, so the line ends after the
  // space; "defghijklmnop" fits nowhere and, having no place to break,
  // breaks where the line ends.
  TSection& s = f.AddSection(u"abc defghijklmnop qr");
  EXPECT_EQ(f.LayoutMaxWidth(50), 50);
  ASSERT_EQ(s.Lines.size(), 4u);
  EXPECT_EQ(Text(s, 0), u"abc ");
  EXPECT_EQ(Text(s, 1), u"defghi");
  EXPECT_EQ(Text(s, 3), u"p qr");
  EXPECT_EQ(s.SectionHeight, 72);

  const auto drawn = f.DrawText();
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[2], "TextOut 0,50 \"jklmno\"");
}

TEST(SectionLayout, TheSpacesAfterTheLastFittingSpaceStayOnTheLine) {
  LayoutFixture f;
  // 6 characters fit and the 6th is a space: the line takes every space
  // that follows.
  TSection& s = f.AddSection(u"abcde   fg");
  f.Layout(50);
  ASSERT_EQ(s.Lines.size(), 2u);
  EXPECT_EQ(Text(s, 0), u"abcde   ");
  EXPECT_EQ(Text(s, 1), u"fg");
}

TEST(SectionLayout, OneCharacterWiderThanTheColumnStillMakesALine) {
  LayoutFixture f;
  TSection& s = f.AddSection(u"ab");
  EXPECT_EQ(f.LayoutMaxWidth(3), 8);
  ASSERT_EQ(s.Lines.size(), 2u);
  EXPECT_EQ(Text(s, 0), u"a");
  EXPECT_EQ(Text(s, 1), u"b");
}

TEST(SectionLayout, CenteringAndRightAlignmentIgnoreTrailingSpaces) {
  LayoutFixture f;
  TSection& c = f.AddSection(u"ab cd ef", Justification::Center);
  TSection& r = f.AddSection(u"ab cd ef", Justification::Right);
  f.Layout(50);
  ASSERT_EQ(c.Lines.size(), 2u);
  EXPECT_EQ(Text(c, 0), u"ab cd ");
  EXPECT_EQ(c.Lines[0].LineIndent, (50 - 40) / 2);  // 5 characters, not 6
  EXPECT_EQ(c.Lines[1].LineIndent, (50 - 16) / 2);
  EXPECT_EQ(r.Lines[0].LineIndent, 50 - 40 - 1);
  EXPECT_EQ(r.Lines[1].LineIndent, 50 - 16 - 1);
  // A line wider than the column (a character wider than it) keeps to the
  // left edge, where it can be seen, centred or right-aligned.
  TSection& wide = f.AddSection(u"abcdefghijkl", Justification::Center);
  TSection& wideRight = f.AddSection(u"abcdefghijkl", Justification::Right);
  f.Layout(5);
  EXPECT_EQ(wide.Lines[0].LineIndent, 0);
  EXPECT_EQ(wideRight.Lines[0].LineIndent, 0);
}

TEST(SectionLayout, HeightsComeFromTheTallestFontOfEachLine) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"ab ");
  TMyFont big = BaseFont();
  big.SetNominalSize(f.doc.Fonts, 24);  // 24 points: height 32, descent 8, leading 4
  s->ChangeFont(big);
  s->AddText(u"C");
  s->ChangeFont(BaseFont());
  s->AddText(u" de");
  TSection& ref = *s;
  f.doc.Add(std::move(s));
  // "ab " is 24 pixels, "C" 16: the first line holds "ab C " in 50.
  f.Layout(50);
  ASSERT_EQ(ref.Lines.size(), 2u);
  EXPECT_EQ(Text(ref, 0), u"ab C ");
  EXPECT_EQ(ref.Lines[0].LineHt, 36);
  EXPECT_EQ(ref.Lines[0].Descent, 8);
  EXPECT_EQ(ref.Lines[1].LineHt, 18);
  EXPECT_EQ(ref.SectionHeight, 54);
  // Baselines: 36 - 8 below the first line's top, 14 below the second's.
  const auto drawn = f.DrawText();
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[0], "TextOut 0,28 \"ab \"");
  EXPECT_EQ(drawn[1], "TextOut 24,28 \"C\"");
  EXPECT_EQ(drawn[3], "TextOut 0,50 \"de\"");
}

TEST(SectionLayout, LongRunsAreMeasuredByBinarySearch) {
  LayoutFixture f;
  auto s = f.NewSection();
  std::u16string word(5000, u'x');
  s->AddText(word);
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 805, 0), 100);
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 805, 4950), 50);
  int used = 0;
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 7, 0, &used), 1);  // at least one
  EXPECT_EQ(used, 8);
  // Across runs: the bold run's characters are 9 wide.
  TMyFont bold = BaseFont();
  bold.Spec.Bold = true;
  auto t = f.NewSection();
  t->AddText(u"aaaa");
  t->ChangeFont(bold);
  t->AddText(u"bbbb");
  EXPECT_EQ(t->TextExtent(f.canvas, 0, 8), 32 + 36);
  EXPECT_EQ(t->FindCountThatFits(f.canvas, 32 + 27, 0), 7);
  EXPECT_EQ(t->FindCountThatFits(f.canvas, 32 + 26, 0), 6);
}

// Characters of very different widths, so that guesses from the average
// width go wrong: "i" 2, "W" 20, "m" 13, anything else 8.
class UnevenCanvas : public FixedCanvas {
 public:
  int TextWidth(std::u16string_view text) override {
    ++Measurements;
    int w = 0;
    for (const char16_t c : text) w += c == u'i' ? 2 : c == u'W' ? 20 : c == u'm' ? 13 : 8;
    return w;
  }
  int Measurements = 0;
};

TEST(SectionLayout, TheCountThatFitsIsTheLargestWhateverTheWidths) {
  LayoutFixture f;
  UnevenCanvas canvas;
  auto s = f.NewSection();
  s->AddText(u"WWWWiiiiiiiiiiiiiiim mmWiWiWi iiiiiiiiiiiiiiiiiiiiiWWWWWWWWWWW xxmiWm");
  s->ChangeFont(BaseFont(), {.Bold = true});
  s->AddText(u"iiiWWWxiWi");
  const int len = s->Len();
  for (int start : {0, 3, 20, 50}) {
    for (int width = 0; width <= 700; ++width) {
      int expected = 0;
      while (start + expected < len && s->TextExtent(canvas, start, expected + 1) <= width) ++expected;
      expected = std::max(expected, 1);
      int used = 0;
      ASSERT_EQ(s->FindCountThatFits(canvas, width, start, &used), expected) << "start " << start << " width " << width;
      ASSERT_EQ(used, s->TextExtent(canvas, start, expected));
    }
  }
  // A long run is never measured whole: a line's worth takes a handful of
  // measurements of about a line's length.
  auto longRun = f.NewSection();
  longRun->AddText(std::u16string(20000, u'm'));
  canvas.Measurements = 0;
  EXPECT_EQ(longRun->FindCountThatFits(canvas, 800, 0), 61);
  EXPECT_LE(canvas.Measurements, 8);
}

TEST(SectionLayout, NoBreakBetweenTheHalvesOfASurrogatePair) {
  LayoutFixture f;
  auto s = f.NewSection();
  // FixedCanvas gives a pair the width of one character.
  s->AddText(u"a\U0001F600\U0001F600");
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 8, 0), 1);
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 16, 0), 3);
  EXPECT_EQ(s->FindCountThatFits(f.canvas, 1, 1), 2);
}

// A float of a given size entered into the cell's indent manager where it
// stands, taking no height of its own (as floating pictures and tables do).
class TestFloat : public TSectionBase {
 public:
  TestFloat(FloatSide side, int width, int height) : side_(side), width_(width), height_(height) {}
  int DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    X = IMgr.AddFloat(Y, side_, width_, height_, 5);
    return TSectionBase::DrawLogic(canvas, Y, IMgr, MaxWidth, Curs);
  }
  int X = -1;

 private:
  FloatSide side_;
  int width_, height_;
};

TEST(SectionLayout, ALeftFloatPushesLinesRightUntilItsBottomAndAClearStartsBelowIt) {
  LayoutFixture f;
  auto flt = std::make_unique<TestFloat>(FloatSide::Left, 100, 40);
  TestFloat& fl = *flt;
  f.doc.Add(std::move(flt));
  // Beside the float 200 pixels are left: 25 characters, five words.
  std::u16string words;
  for (int i = 0; i < 16; ++i) words += u"wxyz ";
  TSection& beside = f.AddSection(words);
  TSection& clear = f.AddSection(u"below");
  TAttributeList attrs;
  attrs.Add({Sy::Clear, 0, u"left"});
  clear.SetClear(attrs);
  const int height = f.Layout(305);

  EXPECT_EQ(fl.X, 0);
  // Lines at 0 and 18 and 36 start beside the float (36 is above its
  // bottom at 40); the line at 54 starts at the edge and takes the rest.
  ASSERT_EQ(beside.Lines.size(), 4u);
  EXPECT_EQ(beside.Lines[0].LineIndent, 105);
  EXPECT_EQ(beside.Lines[1].LineIndent, 105);
  EXPECT_EQ(beside.Lines[2].LineIndent, 105);
  EXPECT_EQ(beside.Lines[3].LineIndent, 0);
  EXPECT_EQ(Text(beside, 0).size(), 25u);
  EXPECT_EQ(Text(beside, 3), u"wxyz ");
  EXPECT_EQ(beside.SectionHeight, 72);
  EXPECT_EQ(beside.DrawHeight, 72);

  // The clear section starts at 72, already below the float: no gap.
  EXPECT_EQ(clear.YValue, 72);
  EXPECT_EQ(clear.Lines.size(), 1u);
  EXPECT_EQ(height, 90);
}

TEST(SectionLayout, AClearAfterAShortLineMovesTheTextBelowTheFloat) {
  LayoutFixture f;
  f.doc.Add(std::make_unique<TestFloat>(FloatSide::Left, 100, 40));
  TSection& first = f.AddSection(u"ab");
  TSection& clear = f.AddSection(u"cd");
  TSection& other = f.AddSection(u"ef");
  TAttributeList left;
  left.Add({Sy::Clear, 0, u"left"});
  clear.SetClear(left);
  TAttributeList right;
  right.Add({Sy::Clear, 0, u"right"});
  other.SetClear(right);
  f.Layout(305);

  EXPECT_EQ(first.Lines[0].LineIndent, 105);
  // At y 18 the float's bottom (40) is 22 away: an empty line of 22, then
  // the text at 40, at the left edge.
  EXPECT_EQ(clear.YValue, 18);
  ASSERT_EQ(clear.Lines.size(), 2u);
  EXPECT_EQ(clear.Lines[0].Height(), 22);
  EXPECT_EQ(clear.Lines[1].LineIndent, 0);
  EXPECT_EQ(clear.SectionHeight, 40);
  // No right float: nothing to clear.
  EXPECT_EQ(other.YValue, 58);
  EXPECT_EQ(other.Lines.size(), 1u);

  const auto drawn = f.DrawText();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[1], "TextOut 0,54 \"cd\"");
}

TEST(SectionLayout, AnEmptySectionTakesOnlyItsClearDistance) {
  LayoutFixture f;
  f.doc.Add(std::make_unique<TestFloat>(FloatSide::Right, 100, 40));
  auto empty = f.NewSection();
  TAttributeList attrs;
  attrs.Add({Sy::Clear, 0, u""});
  empty->SetClear(attrs);
  TSection& e = *empty;
  f.doc.Add(std::move(empty));
  TSection& after = f.AddSection(u"x");
  EXPECT_EQ(f.Layout(305), 58);
  EXPECT_EQ(e.SectionHeight, 40);
  EXPECT_TRUE(e.Lines.empty());
  EXPECT_EQ(after.YValue, 40);
}

TEST(SectionLayout, TheCellIsAsTallAsAFloatHangingBelowItsText) {
  LayoutFixture f;
  f.doc.Add(std::make_unique<TestFloat>(FloatSide::Left, 100, 40));
  TSection& s = f.AddSection(u"ab");
  EXPECT_EQ(f.Layout(305), 40);
  EXPECT_EQ(s.SectionHeight, 18);
  EXPECT_EQ(s.DrawHeight, 40);
}

TEST(SectionLayout, CursorPositionsRunThroughTheDocument) {
  LayoutFixture f;
  TSection& a = f.AddSection(u"abc");
  TSection& b = f.AddSection(u"defg");
  int curs = 0, maxWidth = 0;
  f.doc.DoLogic(f.canvas, 0, 100, curs, maxWidth);
  EXPECT_EQ(curs, 7);
  EXPECT_EQ(a.StartCurs, 0);
  EXPECT_EQ(b.StartCurs, 3);
  EXPECT_EQ(f.doc.Len, 7);
  EXPECT_EQ(maxWidth, 100);
}

TEST(SectionLayout, MinAndMaxWidths) {
  LayoutFixture f;
  auto s = f.NewSection(Justification::Left, 1);
  s->AddText(u"aaa bbbbbb cc");
  int mn = 0, mx = 0;
  s->MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mx, 13 * 8 + 35);
  EXPECT_EQ(mn, 6 * 8 + 35);

  f.doc.Add(std::move(s));
  f.AddSection(u"x");
  f.doc.MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mx, 13 * 8 + 35);
  EXPECT_EQ(mn, 6 * 8 + 35);
}

TEST(SectionQueries, LinksAndCursorPositionsAtPoints) {
  LayoutFixture f;
  auto s = f.NewSection();
  s->AddText(u"go ");
  s->HRefChange(Sy::A, BaseFont(clBlue), TUrlTarget(u"next.htm", u"main"));
  s->AddText(u"here");
  s->HRefChange(Sy::AEnd, BaseFont(), TUrlTarget());
  s->AddText(u" now");
  f.AddSection(u"x");  // first: positions 0 (x)
  f.doc.Add(std::move(s));
  f.Layout(400);
  // The second section's line: y 18 to 36; "here" from x 24 to 56.

  THotSpot hot;
  EXPECT_TRUE(f.doc.GetURL(f.canvas, 30, 20, hot));
  ASSERT_TRUE(hot.Url.has_value());
  EXPECT_EQ(hot.Url->Url, u"next.htm");
  EXPECT_EQ(hot.Url->Target, u"main");
  THotSpot none;
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 23, 20, none));   // the space before it
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 56, 20, none));   // the space after it
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 500, 20, none));  // past the line's end
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 30, 36, none));   // below the document

  TCursorHit hit;
  // On "h" (x 24 to 32): left half before it, right half after it.
  EXPECT_EQ(f.doc.FindCursor(f.canvas, 27, 20, hit), 1 + 3);
  EXPECT_TRUE(hit.Intext);
  EXPECT_EQ(hit.XR, 24);
  EXPECT_EQ(hit.YR, 18);
  EXPECT_EQ(hit.CaretHt, 18);
  EXPECT_EQ(hit.Cell, &f.doc);
  EXPECT_EQ(f.doc.FindCursor(f.canvas, 29, 20, hit), 1 + 4);
  EXPECT_EQ(hit.XR, 32);
  // Past the last character: after it, not in the text.
  EXPECT_EQ(f.doc.FindCursor(f.canvas, 300, 20, hit), 1 + 11);
  EXPECT_FALSE(hit.Intext);
  EXPECT_EQ(hit.XR, 88);
  EXPECT_EQ(f.doc.FindCursor(f.canvas, 5, 40, hit), -1);

  int x = 0, y = 0;
  EXPECT_TRUE(f.doc.CursorToXY(f.canvas, 1 + 7, x, y));
  EXPECT_EQ(x, 56);
  EXPECT_EQ(y, 18);
  EXPECT_FALSE(f.doc.CursorToXY(f.canvas, 12, x, y));

  char16_t ch = 0;
  const TSectionBase* obj = nullptr;
  EXPECT_TRUE(f.doc.GetChAtPos(4, ch, obj));
  EXPECT_EQ(ch, u'h');
  EXPECT_EQ(obj, &f.doc[1]);
  EXPECT_FALSE(f.doc.GetChAtPos(12, ch, obj));
}

TEST(SectionQueries, SearchIgnoresTheCaseOfEveryLetterWhenAsked) {
  LayoutFixture f;
  f.AddSection(u"Nothing here");
  f.AddSection(u"Hello WORLD, \u00C4rger und \u03A3\u039F\u03A6\u0399\u0391");
  f.Layout(400);
  // The second section starts at 12.
  EXPECT_EQ(f.doc.FindString(0, u"world", false), 12 + 6);
  EXPECT_EQ(f.doc.FindString(0, u"world", true), -1);
  EXPECT_EQ(f.doc.FindString(0, u"WORLD", true), 12 + 6);
  EXPECT_EQ(f.doc.FindString(0, u"\u00E4RGER", false), 12 + 13);
  EXPECT_EQ(f.doc.FindString(0, u"\u03C3\u03BF\u03C6\u03B9\u03B1", false), 12 + 23);
  EXPECT_EQ(f.doc.FindString(0, u"H", false), 3);  // "Nothing" comes first
  EXPECT_EQ(f.doc.FindString(4, u"h", false), 8);
  EXPECT_EQ(f.doc.FindString(9, u"h", false), 12);
  EXPECT_EQ(f.doc.FindString(19, u"world", false), -1);
  EXPECT_EQ(f.doc.FindString(0, u"", false), -1);
}

TEST(SectionQueries, MatchesNeverRunAcrossSections) {
  LayoutFixture f;
  f.AddSection(u"ab");
  f.AddSection(u"cd");
  f.Layout(400);
  EXPECT_EQ(f.doc.FindString(0, u"bc", false), -1);
}

}  // namespace
}  // namespace quillet
