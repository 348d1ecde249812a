// The parser's fonts: style tags, headings, FONT and BASEFONT with their
// size tables and the font stack's limit, BIG and SMALL, fixed-pitch tags,
// and links.
#include <gtest/gtest.h>

#include "tests/viewer/parser/ParserFixture.h"

namespace quillet {
namespace {

using test::CompactOf;
using test::ParsedPage;
using test::Times;
using Lines = std::vector<std::string>;

int Nominal(const ParsedPage& page, std::u16string_view text) { return page.RunAt(text).Font().NominalSize; }

TEST(ParserStyles, EachStyleTagSetsAndItsEndClearsItsFlag) {
  ParsedPage page("<B>b</B><STRONG>s</STRONG><I>i</I><EM>e</EM><CITE>c</CITE><VAR>v</VAR>"
                  "<U>u</U><S>k</S><STRIKE>t</STRIKE>n");
  for (std::u16string_view bold : {u"b", u"s"}) EXPECT_TRUE(page.RunAt(bold).Font().Spec.Bold);
  for (std::u16string_view italic : {u"i", u"e", u"c", u"v"}) EXPECT_TRUE(page.RunAt(italic).Font().Spec.Italic);
  EXPECT_TRUE(page.RunAt(u"u").Font().Spec.Underline);
  EXPECT_TRUE(page.RunAt(u"k").Font().Spec.StrikeOut);
  EXPECT_TRUE(page.RunAt(u"t").Font().Spec.StrikeOut);
  const FontSpec& plain = page.RunAt(u"n").Font().Spec;
  EXPECT_FALSE(plain.Bold || plain.Italic || plain.Underline || plain.StrikeOut);
}

TEST(ParserStyles, SubscriptsAndSuperscriptsAreThreeQuartersHighAndEndWithTheirTags) {
  ParsedPage page("H<SUB>2</SUB>O x<SUP>3</SUP>y");
  EXPECT_EQ(page.RunAt(u"2").SScript, SubSupKind::Sub);
  EXPECT_EQ(Nominal(page, u"2"), 9);
  EXPECT_EQ(page.RunAt(u"3").SScript, SubSupKind::Sup);
  EXPECT_EQ(page.RunAt(u"O").SScript, SubSupKind::None);
  EXPECT_EQ(Nominal(page, u"y"), 12);
}

TEST(ParserHeadings, SpacesAroundAHeadingInItsOwnFontAndAlignment) {
  ParsedPage page("<H1 ALIGN=center>T</H1>x<H3>u</H3><H>z</H>");
  EXPECT_EQ(page.Compact(), (Lines{"THeadingSpace 1", "TSection center |T|", "THeadingSpace 1", "TSection |x|",
                                   "THeadingSpace 3", "TSection |u|", "THeadingSpace 3", "THeadingSpace 0",
                                   "TSection |z|", "THeadingSpace 0"}));
  EXPECT_EQ(Nominal(page, u"T"), 24);
  EXPECT_TRUE(page.RunAt(u"T").Font().Spec.Bold);
  EXPECT_EQ(Nominal(page, u"u"), 15);
  EXPECT_EQ(Nominal(page, u"z"), 12);
  EXPECT_FALSE(page.RunAt(u"z").Font().Spec.Bold);
  EXPECT_EQ(Nominal(page, u"x"), 12);
  EXPECT_FALSE(page.RunAt(u"x").Font().Spec.Bold);
}

TEST(ParserFonts, SizesComeFromTheTableAndClampToOneToSeven) {
  ParsedPage page("<FONT SIZE=+10>a</FONT><FONT SIZE=-10>b</FONT><FONT SIZE=5>c</FONT><FONT SIZE=\"2\">d</FONT>e");
  EXPECT_EQ(Nominal(page, u"a"), 36);
  EXPECT_EQ(Nominal(page, u"b"), 8);
  EXPECT_EQ(Nominal(page, u"c"), 18);
  EXPECT_EQ(Nominal(page, u"d"), 10);
  EXPECT_EQ(Nominal(page, u"e"), 12);
  EXPECT_EQ(page.RunAt(u"c").Font().Spec.Size, 18);  // points at the default 12-point size
}

TEST(ParserFonts, LongSizesClampLikeShortOnes) {
  // Leading zeros and numbers of any length: clamped, never ignored.
  const struct {
    const char* size;
    int nominal;
  } cases[] = {{"0000007", 36}, {"0000001", 8}, {"99999999999999999999", 36}, {"+1000000", 36},
               {"-1000000", 8}, {"-99999999999999999999", 8}, {"\"  00000002 \"", 10}};
  for (const auto& c : cases) {
    ParsedPage page(std::string("<FONT SIZE=") + c.size + ">x</FONT>");
    EXPECT_EQ(Nominal(page, u"x"), c.nominal) << c.size;
  }
  ParsedPage base("<BASEFONT SIZE=0000006><FONT SIZE=+1>x</FONT>y");
  EXPECT_EQ(Nominal(base, u"x"), 36);
  EXPECT_EQ(Nominal(base, u"y"), 24);
}

TEST(ParserFonts, AFontTagThatAppliesNothingStillPairsWithItsEnd) {
  // A SIZE that is no number, or a tag without attributes, changes nothing
  // and its end tag does not pop the enclosing font.
  ParsedPage page("<FONT SIZE=7>a<FONT SIZE=big>b</FONT>c<FONT CLASS=x>d</FONT>e</FONT>f");
  EXPECT_EQ(Nominal(page, u"b"), 36);
  EXPECT_EQ(Nominal(page, u"c"), 36);
  EXPECT_EQ(Nominal(page, u"e"), 36);
  EXPECT_EQ(Nominal(page, u"f"), 12);
}

TEST(ParserFonts, ColourAndTheFirstFace) {
  ParsedPage page("<FONT COLOR=red FACE=\" Arial , Helvetica\">x</FONT><FONT COLOR=nonsense>y</FONT>");
  EXPECT_EQ(page.RunAt(u"x").Font().Spec.Color, clRed | kPaletteRelative);
  EXPECT_EQ(page.RunAt(u"x").Font().Spec.Face, u"Arial");
  EXPECT_EQ(page.RunAt(u"y").Font().Spec.Color, clBtnText | kPaletteRelative);
  EXPECT_EQ(page.RunAt(u"y").Font().Spec.Face, u"Times New Roman");
}

TEST(ParserFonts, BaseFontSetsTheSizeRelativeSizesCountFrom) {
  ParsedPage page("<BASEFONT SIZE=5><FONT SIZE=+1>x</FONT>y");
  EXPECT_EQ(Nominal(page, u"x"), 24);
  EXPECT_EQ(Nominal(page, u"y"), 18);
}

TEST(ParserFonts, BaseFontAfterTheFirstFinishedSectionDoesNothing) {
  ParsedPage page("a<P><BASEFONT SIZE=7>b<FONT SIZE=+1>c");
  EXPECT_EQ(Nominal(page, u"b"), 12);
  EXPECT_EQ(Nominal(page, u"c"), 14);
}

TEST(ParserFonts, The25thNestedFontChangesNothing) {
  // The base font and 24 pushed fill the stack.
  ParsedPage page(Times(23, "<FONT SIZE=1>") + "<FONT SIZE=7>a<FONT SIZE=3>b</FONT>c");
  EXPECT_EQ(Nominal(page, u"a"), 36);
  EXPECT_EQ(Nominal(page, u"b"), 36);
  // Its end tag pops the 24th.
  EXPECT_EQ(Nominal(page, u"c"), 8);
  // A full stack takes no heading and no link either.
  ParsedPage heading(Times(24, "<FONT SIZE=1>") + "<H1>h</H1>");
  EXPECT_EQ(Nominal(heading, u"h"), 8);
  EXPECT_EQ(heading.Compact(), (Lines{"TSection |h|", "THeadingSpace 1"}));
  ParsedPage link(Times(24, "<FONT SIZE=1>") + "<A HREF=u>l</A>");
  EXPECT_FALSE(link.RunAt(u"l").UrlTarget.IsLink());
}

TEST(ParserFonts, InsidePreTheFixedTableIsUsed) {
  ParsedPage page("<PRE><FONT SIZE=7>x</FONT><FONT SIZE=1>y</FONT>z</PRE>");
  EXPECT_EQ(Nominal(page, u"x"), 30);
  EXPECT_EQ(Nominal(page, u"y"), 7);
  EXPECT_EQ(Nominal(page, u"z"), 10);
}

TEST(ParserFonts, BigAndSmallStepThroughTheTableAndStopAtItsEnds) {
  ParsedPage page("<BIG>a<BIG>b</BIG>c</BIG>d<SMALL>e</SMALL>");
  EXPECT_EQ(Nominal(page, u"a"), 14);
  EXPECT_EQ(Nominal(page, u"b"), 18);
  EXPECT_EQ(Nominal(page, u"c"), 14);
  EXPECT_EQ(Nominal(page, u"d"), 12);
  EXPECT_EQ(Nominal(page, u"e"), 10);
  ParsedPage ends("<FONT SIZE=7><BIG>x</BIG>y</FONT><FONT SIZE=1><SMALL>v</SMALL>w</FONT>z");
  EXPECT_EQ(Nominal(ends, u"x"), 36);
  EXPECT_EQ(Nominal(ends, u"y"), 36);
  EXPECT_EQ(Nominal(ends, u"v"), 8);
  EXPECT_EQ(Nominal(ends, u"w"), 8);
  EXPECT_EQ(Nominal(ends, u"z"), 12);
}

TEST(ParserFonts, FixedPitchTagsUseThePreformattedFontAtSizeTen) {
  for (const char* tag : {"TT", "CODE", "KBD", "SAMP"}) {
    ParsedPage page(std::string("a<") + tag + ">x</" + tag + ">y");
    const TMyFont& font = page.RunAt(u"x").Font();
    EXPECT_EQ(font.Spec.Face, u"Courier New") << tag;
    EXPECT_TRUE(font.FixedPitch) << tag;
    EXPECT_EQ(font.NominalSize, 10) << tag;
    EXPECT_EQ(page.RunAt(u"y").Font().Spec.Face, u"Times New Roman") << tag;
  }
}

TEST(ParserFonts, AddressIsAnItalicBlock) {
  ParsedPage page("a<ADDRESS>addr</ADDRESS>b");
  EXPECT_EQ(page.Compact(), (Lines{"TSection |a|", "TSection |addr|", "TSection |b|"}));
  EXPECT_TRUE(page.RunAt(u"addr").Font().Spec.Italic);
  EXPECT_FALSE(page.RunAt(u"b").Font().Spec.Italic);
}

// ---------------------------------------------------------------- links

TEST(ParserLinks, ALinkHasItsAddressTargetAndTheLinkFont) {
  ParsedPage page("<A HREF=\"u.htm\" TARGET=_top>link</A> after");
  const TFontObj& link = page.RunAt(u"link");
  EXPECT_EQ(link.UrlTarget, TUrlTarget(u"u.htm", u"_top"));
  EXPECT_EQ(link.Font().Spec.Color, clBlue | kPaletteRelative);
  EXPECT_TRUE(link.Font().Spec.Underline);
  const TFontObj& after = page.RunAt(u"after");
  EXPECT_FALSE(after.UrlTarget.IsLink());
  EXPECT_FALSE(after.Font().Spec.Underline);
  EXPECT_EQ(after.Font().Spec.Color, clBtnText | kPaletteRelative);
}

TEST(ParserLinks, ANewHrefClosesTheOpenLinkAndAnEmptyOneLinksNothing) {
  ParsedPage page("<A HREF=1>a<A HREF=2>b</A>c<A HREF=\"\">d</A>e");
  EXPECT_EQ(page.RunAt(u"a").UrlTarget.Url(), u"1");
  EXPECT_EQ(page.RunAt(u"b").UrlTarget.Url(), u"2");
  EXPECT_FALSE(page.RunAt(u"c").UrlTarget.IsLink());
  EXPECT_EQ(page.RunAt(u"c").Font().Spec.Color, clBtnText | kPaletteRelative);
  EXPECT_FALSE(page.RunAt(u"d").UrlTarget.IsLink());
  EXPECT_EQ(page.RunAt(u"e").Font().Spec.Color, clBtnText | kPaletteRelative);
}

TEST(ParserLinks, AnchorNamesAreUpperCasedAndTheFirstWins) {
  ParsedPage page("<A NAME=Intro>x</A><P><A NAME=intro>y</A><A NAME=\"\">z</A>");
  ASSERT_EQ(page.names.size(), 1u);
  EXPECT_EQ(page.names.at(u"INTRO"), &page.SectionWith(u"x"));
}

TEST(ParserLinks, WhiteSpaceEndingASectionTakesNoRunAndBetweenLinksKeepsItsOwnFont) {
  ParsedPage page("<DL><DT><A HREF=u>a</A>\n    <DT><A HREF=1>b</A> <A HREF=2>c</A>\n</DL>");
  EXPECT_EQ(page.Compact(), (Lines{"TDListItem |a|", "TDListItem |b c|"}));
  EXPECT_EQ(page.SectionWith(u"a").Fonts.size(), 1u);
  const TSection& s = page.SectionWith(u"b c");
  const TFontObj& space = *FontAt(s.Fonts, 1);
  EXPECT_FALSE(space.UrlTarget.IsLink());
  EXPECT_FALSE(space.Font().Spec.Underline);
  EXPECT_EQ(page.RunAt(u"c").UrlTarget.Url(), u"2");
}

}  // namespace
}  // namespace quillet
