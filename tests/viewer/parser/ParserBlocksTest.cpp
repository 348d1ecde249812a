// The parser's block level: paragraphs and breaks, the head and BODY, rules,
// CENTER and DIV, the entry operations and their failures, deep nesting.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/viewer/parser/ParserFixture.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::CompactOf;
using test::ParsedPage;
using test::Times;
using Lines = std::vector<std::string>;

TEST(ParserParagraphs, ARunOfParagraphTagsIsOneSpaceAndTheLastAlignmentWins) {
  EXPECT_EQ(ParsedPage("a<p><p><P ALIGN=center>b").Outline(),
            (Lines{"TSection |a|", "TParagraphSpace", "TSection center |b|"}));
  // White space between them changes nothing; an end tag counts as one too.
  EXPECT_EQ(CompactOf("a<p>\n </P>\n<P ALIGN=right>\n b"),
            (Lines{"TSection |a|", "TParagraphSpace", "TSection right |b|"}));
}

TEST(ParserParagraphs, ASpaceIsGivenOnlyWhenNoBreakWasJustGiven) {
  EXPECT_EQ(CompactOf("<p>a<p>b"), (Lines{"TParagraphSpace", "TSection |a|", "TParagraphSpace", "TSection |b|"}));
  // A list right after a paragraph break adds no second space.
  EXPECT_EQ(CompactOf("a<p>\n<DL><p><DT>b</DL>"),
            (Lines{"TSection |a|", "TParagraphSpace", "TDListItem |b|"}));
}

TEST(ParserParagraphs, AlignmentOfAParagraphIsItsOwnAndAnEndTagKeepsTheDefault) {
  EXPECT_EQ(CompactOf("<P ALIGN=right>a<BR>b<P>c<CENTER>d</P>e</CENTER>"),
            (Lines{"TParagraphSpace", "TSection right |a|", "TSection right |b|", "TParagraphSpace", "TSection |c|",
                   "TSection center |d|", "TParagraphSpace", "TSection center |e|"}));
}

TEST(ParserBreaks, AnEmptyLineKeepsItsHeightAndClearIsRead) {
  ParsedPage page("a<BR><BR>b<BR CLEAR=left>c");
  EXPECT_EQ(page.Outline(), (Lines{"TSection |a|", "TSection | |", "TSection |b|", "TSection |c|"}));
  EXPECT_EQ(page.SectionWith(u"c").ClearAttr, ClearKind::Left);
  EXPECT_EQ(page.SectionWith(u"b").ClearAttr, ClearKind::None);
}

TEST(ParserUnknown, EndTagsOfBrAndLiAreUnknownAndSkipped) {
  EXPECT_EQ(CompactOf("a</BR>b"), (Lines{"TSection |ab|"}));
  EXPECT_EQ(CompactOf("<UL><LI>a</LI>b</UL>"), (Lines{"TUListItem L1 • |ab|"}));
  // So are items and terms outside a list.
  EXPECT_EQ(CompactOf("a<LI>b<DT>c<DD>d"), (Lines{"TSection |abcd|"}));
}

TEST(ParserUnknown, HeadAndFrameTagsDoNothingAndTheirTextShows) {
  EXPECT_EQ(CompactOf("<HTML><HEAD>h</HEAD><FRAMESET>f<FRAME>r</FRAMESET><NOFRAMES>n</NOFRAMES>"
                      "<BUTTON>b</BUTTON><WRAP>w<OPTION>o<AREA>a<SELECTED>s<FOO>x</FOO>></HTML>"),
            (Lines{"TSection |hfrnbwoasx|"}));
}

TEST(ParserInline, PicturesAndFormControlsStandInTheTextAsOneCharacterEach) {
  EXPECT_EQ(CompactOf("ab<IMG SRC=x.gif ALT=pic>c"
                      "<FORM><INPUT NAME=q><SELECT><OPTION>o</SELECT><TEXTAREA>t</TEXTAREA></FORM>d"),
            (Lines{"TSection |ab\x04" "c\x02\x02\x02" "d|"}));
}

TEST(ParserHead, AStyleSheetGoesWhenBodyComesAndShowsWithoutBody) {
  const std::string head = "<HTML><HEAD><TITLE>T</TITLE><STYLE>p { color: red }</STYLE></HEAD>";
  ParsedPage page(head + "<BODY>Hello</BODY></HTML>");
  EXPECT_EQ(page.Outline(), (Lines{"TSection |Hello|"}));
  EXPECT_EQ(page.parser.Title, u"T");
  EXPECT_EQ(CompactOf(head + "Hello</HTML>"), (Lines{"TSection |p { color: red }Hello|"}));
}

TEST(ParserHead, BodyGivesTheDocumentItsColoursAndBackground) {
  ParsedPage page("<BODY TEXT=navy LINK=\"#00FF00\" BGCOLOR=white BACKGROUND=\"bg.gif\">x<A HREF=u>y</A>");
  EXPECT_EQ(page.doc.Fonts.FontColor, clNavy | kPaletteRelative);
  EXPECT_EQ(page.doc.Fonts.HotSpotColor, RgbColor(0, 0xFF, 0) | kPaletteRelative);
  EXPECT_EQ(page.doc.Background(), clWhite | kPaletteRelative);
  EXPECT_EQ(page.doc.BitmapName, u"bg.gif");
  EXPECT_EQ(page.RunAt(u"x").Font().Spec.Color, clNavy | kPaletteRelative);
  EXPECT_EQ(page.RunAt(u"y").Font().Spec.Color, RgbColor(0, 0xFF, 0) | kPaletteRelative);
}

TEST(ParserHead, BodyAfterTheFirstBlockChangesNothing) {
  ParsedPage page("a<HR><BODY BGCOLOR=red TEXT=red>b");
  EXPECT_EQ(page.Compact(), (Lines{"TSection |a|", "THorzLine", "TSection |b|"}));
  EXPECT_EQ(page.doc.Background(), clBtnFace);
  EXPECT_EQ(page.RunAt(u"b").Font().Spec.Color, clBtnText | kPaletteRelative);
}

TEST(ParserHead, AnchorsBeforeBodyMarkTheStartOfTheBody) {
  ParsedPage page("<A NAME=top></A>junk<BODY>x");
  ASSERT_EQ(page.names.count(u"TOP"), 1u);
  EXPECT_EQ(page.names.at(u"TOP"), &page.SectionWith(u"x"));
}

TEST(ParserHead, EndOfBodyEndsTheDocument) { EXPECT_EQ(CompactOf("a</BODY>b"), (Lines{"TSection |a|"})); }

TEST(ParserHead, TitleBaseAndTheirResetOnEachParse) {
  ParsedPage page("<TITLE>Fish &amp; Chips</TITLE><BASE HREF=\"http://e.example/d/\" TARGET=main>x");
  EXPECT_EQ(page.parser.Title, u"Fish & Chips");
  EXPECT_EQ(page.parser.BaseUrl, u"http://e.example/d/");
  EXPECT_EQ(page.parser.BaseTarget, u"main");
  EXPECT_EQ(page.Compact(), (Lines{"TSection |x|"}));
  page.doc.Clear();
  page.Parse("y");
  EXPECT_EQ(page.parser.Title, u"");
  EXPECT_EQ(page.parser.BaseUrl, u"");
  EXPECT_EQ(page.parser.BaseTarget, u"");
}

TEST(ParserHead, MetaAndBackgroundSoundRaiseTheirEvents) {
  ParsedPage page;
  std::vector<std::tuple<std::string, std::string, std::string>> metas;
  std::vector<std::tuple<std::string, int, bool>> sounds;
  page.parser.OnMeta = [&](const std::string& h, const std::string& n, const std::string& c) {
    metas.emplace_back(h, n, c);
  };
  page.parser.OnSoundRequest = [&](const std::string& src, int loop, bool terminate) {
    sounds.emplace_back(src, loop, terminate);
  };
  page.Parse("<META HTTP-EQUIV=\"refresh\" CONTENT=\"5; URL=next.htm\"><META NAME=author>"
             "<BGSOUND SRC=\"a.mid\" LOOP=3><BGSOUND SRC=b.wav><BGSOUND>x");
  EXPECT_EQ(metas, (std::vector<std::tuple<std::string, std::string, std::string>>{
                       {"refresh", "", "5; URL=next.htm"}, {"", "author", ""}}));
  EXPECT_EQ(sounds, (std::vector<std::tuple<std::string, int, bool>>{{"a.mid", 3, false}, {"b.wav", 1, false}}));
  EXPECT_EQ(page.Compact(), (Lines{"TSection |x|"}));
}

TEST(ParserRules, ARuleEndsTheSectionAndTakesItsAttributes) {
  ParsedPage page("a<HR SIZE=5 NOSHADE>b");
  EXPECT_EQ(page.Outline(), (Lines{"TSection |a|", "THorzLine", "TSection |b|"}));
  const auto& rule = dynamic_cast<const THorzLine&>(page.doc[1]);
  EXPECT_EQ(rule.Thickness, 5);
  EXPECT_TRUE(rule.NoShade);
}

TEST(ParserCentre, EitherEndClosesEitherAndTheAlignmentComesBack) {
  EXPECT_EQ(CompactOf("a<CENTER>b<DIV ALIGN=right>c</CENTER>d</DIV>e"),
            (Lines{"TSection |a|", "TSection center |b|", "TSection right |c|", "TSection center |d|",
                   "TSection |e|"}));
  // A DIV without ALIGN keeps the alignment in force.
  EXPECT_EQ(CompactOf("<CENTER><DIV>x</DIV>y</CENTER>z"),
            (Lines{"TSection center |x|", "TSection center |y|", "TSection |z|"}));
}

TEST(ParserEntry, TheCommentErrorPassesFromStringsAndBuffersAfterKeepingWhatCameBefore) {
  const std::string html = "<TITLE>T</TITLE>a<H1>b</H1><!-- open";
  ParsedPage page;
  try {
    page.Parse(html);
    FAIL() << "no error";
  } catch (const EParseError& e) {
    EXPECT_STREQ(e.what(), "Open Comment at End of HTML File");
  }
  EXPECT_EQ(page.Compact(), (Lines{"TSection |a|", "THeadingSpace 1", "TSection |b|", "THeadingSpace 1"}));
  EXPECT_EQ(page.parser.Title, u"T");

  ParsedPage fromLines;
  const std::vector<std::string> lines{"a", "<!-- open"};
  EXPECT_THROW(fromLines.parser.ParseHtmlStrings(lines, fromLines.doc, fromLines.names), EParseError);
  EXPECT_EQ(fromLines.Compact(), (Lines{"TSection |a |"}));
}

TEST(ParserEntry, FileParsesKeepWhatCameBeforeAnOpenCommentQuietly) {
  test::TempDir dir;
  test::WriteBytes(dir / "page.htm", "a<P>b<!-- open");
  PosixFileSystem fs;
  ParsedPage page;
  page.parser.ParseHtmlFile(fs, dir / "page.htm", page.doc, page.names);
  EXPECT_EQ(page.Compact(), (Lines{"TSection |a|", "TParagraphSpace", "TSection |b|"}));
  EXPECT_THROW(page.parser.ParseHtmlFile(fs, dir / "missing.htm", page.doc, page.names), EFOpenError);
  EXPECT_THROW(page.parser.ParseTextFile(fs, dir / "missing.txt", page.doc), EFOpenError);
}

TEST(ParserEntry, AnIncludeHandlerReadsItsTextInPlaceOfTheDirective) {
  ParsedPage page;
  std::vector<std::string> seen;
  page.parser.OnInclude = [&](const std::string& command, const std::vector<std::string>& params) {
    seen.push_back(command);
    seen.insert(seen.end(), params.begin(), params.end());
    return std::string("<B>in</B>");
  };
  page.Parse("a<!--#include file=\"x.htm\"-->b");
  EXPECT_EQ(seen, (Lines{"include", "FILE=\"x.htm\""}));
  EXPECT_EQ(page.Compact(), (Lines{"TSection |ainb|"}));
  EXPECT_TRUE(page.RunAt(u"in").Font().Spec.Bold);
  EXPECT_FALSE(page.RunAt(u"b").Font().Spec.Bold);
}

TEST(ParserText, EveryLineIsAPreformattedSectionShownAsItStands) {
  ParsedPage page;
  const std::vector<std::string> lines{"<B>a</B> &amp;", "", "<!-- x", "\tz"};
  page.parser.ParseTextStrings(lines, page.doc);
  EXPECT_EQ(page.Outline(), (Lines{"TPreFormated |<B>a</B> &amp;|", "TPreFormated | |", "TPreFormated |<!-- x|",
                                   "TPreFormated | z|"}));
  const TMyFont& font = page.Section(0).Fonts[0].Font();
  EXPECT_EQ(font.Spec.Face, u"Courier New");
  EXPECT_TRUE(font.FixedPitch);
  EXPECT_EQ(font.NominalSize, 10);

  test::TempDir dir;
  test::WriteBytes(dir / "t.txt", "a\r\nb\n");
  PosixFileSystem fs;
  ParsedPage file;
  file.parser.ParseTextFile(fs, dir / "t.txt", file.doc);
  EXPECT_EQ(file.Outline(), (Lines{"TPreFormated |a|", "TPreFormated |b|"}));
}

// ---------------------------------------------------------------- nesting

int MaxLevel(const ParsedPage& page) {
  int level = 0;
  for (const auto& block : page.doc.Blocks())
    if (const auto* s = dynamic_cast<const TSection*>(block.get())) level = std::max(level, s->Level);
  return level;
}

TEST(ParserNesting, ListsPastTheLimitStayAtItAndTheirEndsStillMatch) {
  ParsedPage page(Times(300, "<UL><LI>x") + Times(150, "</UL>") + "<LI>mid" + Times(150, "</UL>") + "after");
  EXPECT_EQ(MaxLevel(page), HtmlParser::kMaxNesting);
  EXPECT_EQ(page.SectionWith(u"mid").Level, 150);
  EXPECT_EQ(page.SectionWith(u"after").Level, 0);
}

TEST(ParserNesting, BlocksPastTheLimitStillAlignAndRestore) {
  ParsedPage page(Times(250, "<DIV ALIGN=right>") + "<CENTER>c</CENTER>r" + Times(250, "</DIV>") + "z");
  EXPECT_EQ(page.SectionWith(u"c").Justify, Justification::Center);
  EXPECT_EQ(page.SectionWith(u"r").Justify, Justification::Right);
  EXPECT_EQ(page.SectionWith(u"z").Justify, Justification::Left);
  // A list end closes the lists past the limit through the blocks above them.
  ParsedPage mixed(Times(210, "<UL>") + "<DIV ALIGN=right>a</UL>b" + Times(209, "</UL>") + "c");
  EXPECT_EQ(mixed.SectionWith(u"a").Justify, Justification::Right);
  EXPECT_EQ(mixed.SectionWith(u"b").Justify, Justification::Left);
  EXPECT_EQ(mixed.SectionWith(u"b").Level, 200);
  EXPECT_EQ(mixed.SectionWith(u"c").Level, 0);
}

TEST(ParserNesting, DeepNestingOfEveryKindParsesWithoutExhaustingTheStack) {
  ParsedPage page(Times(20000, "<BLOCKQUOTE><CENTER><DL><DT>t<DIV><OL><LI>") + "deep");
  // 40 repetitions fill the 200 levels, each with three lists in it.
  EXPECT_EQ(page.SectionWith(u"deep").Level, 120);
  FixedCanvas canvas;
  canvas.Record = false;
  int curs = 0, maxWidth = 0;
  EXPECT_GT(page.doc.DoLogic(canvas, 0, 600, curs, maxWidth), 0);
}

}  // namespace
}  // namespace quillet
