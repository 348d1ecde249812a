// The parser's lists, preformatted text, scripts and image maps.
#include <gtest/gtest.h>

#include <climits>

#include "tests/viewer/parser/ParserFixture.h"
#include "viewer/document/DocumentText.h"
#include "viewer/layout/ImageMap.h"

namespace quillet {
namespace {

using test::CompactOf;
using test::ParsedPage;
using Lines = std::vector<std::string>;

TEST(ParserLists, ItemsNestOneLevelPerListAndTextAfterTheListIsBackAtZero) {
  EXPECT_EQ(CompactOf("<UL><LI>a<LI>b<UL><LI>c</UL><LI>d</UL>e"),
            (Lines{"TUListItem L1 • |a|", "TUListItem L1 • |b|", "TUListItem L2 • |c|", "TUListItem L1 • |d|",
                   "TSection |e|"}));
}

TEST(ParserLists, OrderedListsCountFromStartInTheirType) {
  EXPECT_EQ(CompactOf("<OL START=3 TYPE=A><LI>a<LI>b</OL><OL TYPE=i><LI>c</OL><OL START=-2><LI>d</OL>"
                      "<OL START=0 TYPE=\"\"><LI>e</OL>"),
            (Lines{"TOListItem L1 C. |a|", "TOListItem L1 D. |b|", "TOListItem L1 i. |c|", "TOListItem L1 1. |d|",
                   "TOListItem L1 0. |e|"}));
}

TEST(ParserLists, PlainListsDrawNoBulletsAndOtherListsDrawBullets) {
  ParsedPage page("<UL PLAIN><LI>a</UL><DIR><LI>b</DIR><MENU><LI>c</MENU><DL><LI>d</DL>");
  EXPECT_EQ(page.Compact(),
            (Lines{"TUListItem L1 |a|", "TUListItem L1 • |b|", "TUListItem L1 • |c|", "TUListItem L1 • |d|"}));
  EXPECT_TRUE(dynamic_cast<const TUListItem&>(page.SectionWith(u"a")).Plain);
}

TEST(ParserLists, AnyListEndClosesTheInnermostList) {
  EXPECT_EQ(CompactOf("<UL><LI>a<OL><LI>b</UL><LI>c</OL>d"),
            (Lines{"TUListItem L1 • |a|", "TOListItem L2 1. |b|", "TUListItem L1 • |c|", "TSection |d|"}));
  EXPECT_EQ(CompactOf("<UL></UL>x"), (Lines{"TSection |x|"}));
}

TEST(ParserLists, AnItemSkipsTheWhiteSpaceAndTheParagraphRightAfterIt) {
  EXPECT_EQ(CompactOf("<UL><LI> <P>a<P>b</UL>"),
            (Lines{"TUListItem L1 • |a|", "TParagraphSpace", "TSection L1 |b|"}));
}

TEST(ParserLists, TermsSitOneLevelOutAndDefinitionsAtTheListsLevel) {
  EXPECT_EQ(CompactOf("<DL><DT>t<DD>d<DL><DT>t2<DD>d2</DL>x</DL>"),
            (Lines{"TDListItem |t|", "TDListItem L1 |d|", "TDListItem L1 |t2|", "TDListItem L2 |d2|",
                   "TSection L1 |x|"}));
}

TEST(ParserLists, TextBeforeTheFirstItemAndQuotesAreIndented) {
  EXPECT_EQ(CompactOf("<UL>x<LI>a</UL>"), (Lines{"TSection L1 |x|", "TUListItem L1 • |a|"}));
  EXPECT_EQ(CompactOf("<BLOCKQUOTE>q<BLOCKQUOTE>r</BLOCKQUOTE>s</BLOCKQUOTE>t"),
            (Lines{"TSection L1 |q|", "TSection L2 |r|", "TSection L1 |s|", "TSection |t|"}));
}

TEST(ParserLists, CentreInsideAListKeepsTheIndentAndAListEndClosesBoth) {
  EXPECT_EQ(CompactOf("<UL><LI>a<CENTER>b</CENTER>c<HR></UL>"),
            (Lines{"TUListItem L1 • |a|", "TSection L1 center |b|", "TSection L1 |c|", "THorzLine"}));
  EXPECT_EQ(CompactOf("<UL><LI>a<CENTER>b</UL>c"),
            (Lines{"TUListItem L1 • |a|", "TSection L1 center |b|", "TSection |c|"}));
}

// ---------------------------------------------------------------- PRE

TEST(ParserPre, EveryLineIsItsOwnSectionWithItsSpacesKept) {
  EXPECT_EQ(CompactOf("<PRE>a  b\nc</PRE>d  e"), (Lines{"TPreFormated |a  b|", "TPreFormated |c|", "TSection |d e|"}));
  // The line end right after <PRE> is a line of its own, as is the last.
  EXPECT_EQ(CompactOf("<PRE>\nx\n</PRE>"), (Lines{"TPreFormated | |", "TPreFormated |x|", "TPreFormated | |"}));
}

TEST(ParserPre, ParagraphsAndBreaksEndALineAndTheLineEndAfterThemIsNoSecond) {
  EXPECT_EQ(CompactOf("<PRE>a<BR>\nb<P>c\n\nd</PRE>"),
            (Lines{"TPreFormated |a|", "TPreFormated |b|", "TPreFormated |c|", "TPreFormated | |",
                   "TPreFormated |d|"}));
}

TEST(ParserPre, ReferencesStylesAndStrayCharactersInside) {
  ParsedPage page("<PRE>&lt;x&gt; a < b > c<B>bold</B><FOO>z<H1>y</PRE>");
  EXPECT_EQ(page.Compact(), (Lines{"TPreFormated |<x> a < b > cboldzy|"}));
  EXPECT_TRUE(page.RunAt(u"bold").Font().Spec.Bold);
  EXPECT_FALSE(page.RunAt(u"z").Font().Spec.Bold);
  const TMyFont& font = page.RunAt(u"a").Font();
  EXPECT_EQ(font.Spec.Face, u"Courier New");
  EXPECT_TRUE(font.FixedPitch);
  EXPECT_EQ(font.NominalSize, 10);
}

TEST(ParserPre, LinksInsideAndTheEndsOfCellsEndIt) {
  ParsedPage page("<PRE>see <A HREF=u>here</A>.</TD>after");
  EXPECT_EQ(page.Compact(), (Lines{"TPreFormated |see here.|", "TSection |after|"}));
  EXPECT_EQ(page.RunAt(u"here").UrlTarget.Url(), u"u");
  EXPECT_FALSE(page.RunAt(u".").UrlTarget.IsLink());
}

TEST(ParserPre, ALongLineStaysOneLineAndTheEndOfInputEndsTheBlock) {
  const std::string line(500, 'x');
  ParsedPage page("<PRE>" + line);
  ASSERT_EQ(page.Compact().size(), 1u);
  EXPECT_EQ(page.Section(1).Len(), 500);
}

// ---------------------------------------------------------------- SCRIPT and MAP

TEST(ParserScripts, WithoutAHandlerTheBodyIsDropped) {
  EXPECT_EQ(CompactOf("a<SCRIPT>if (x < y) document.write(\"<b>\")</SCRIPT>b"), (Lines{"TSection |ab|"}));
}

TEST(ParserScripts, AHandlerGetsTheLanguageAndTheBodyAsWritten) {
  ParsedPage page;
  std::vector<std::pair<std::string, std::string>> scripts;
  page.doc.Callbacks().ScriptEvent = [&](const std::string& language, std::string script) {
    scripts.emplace_back(language, std::move(script));
  };
  page.Parse("<SCRIPT LANGUAGE=\"JavaScript\">\n<!-- hide\nif (a < b) x = '</scriptx>';\n// -->\n</Script>after"
             "<SCRIPT>open");
  ASSERT_EQ(scripts.size(), 2u);
  EXPECT_EQ(scripts[0].first, "JavaScript");
  EXPECT_EQ(scripts[0].second, "\r\n<!-- hide\r\nif (a < b) x = '</scriptx>';\r\n// -->\r\n");
  EXPECT_EQ(scripts[1], (std::pair<std::string, std::string>{"", "open"}));
  EXPECT_EQ(page.Compact(), (Lines{"TSection |after|"}));
}

TEST(ParserScripts, CommentsInAScriptAreScriptTextWithOrWithoutAHandler) {
  // The body as the handler gets it (none for a script between a table's
  // cells, which is not run); either way the page goes on after it, and a
  // comment after the script is skipped again.
  const struct {
    const char* html;
    const char* body;
  } cases[] = {
      {"<SCRIPT><!-- var a = 1; // --></SCRIPT>after", "<!-- var a = 1; // -->"},
      {"<SCRIPT>var a = \"<!--\";</SCRIPT>after", "var a = \"<!--\";"},
      {"<SCRIPT><!DOCTYPE x> <!-- open</SCRIPT><!-- c -->after", "<!DOCTYPE x> <!-- open"},
      {"<SCRIPT>x</SCRIPT ><!-- c -->after", "x"},
      {"<SCRIPT>\n<!--\nx\n</script\nLANGUAGE=y>after", "\r\n<!--\r\nx\r\n"},
      {"<TABLE><SCRIPT><!-- x --></SCRIPT><TR><TD>after</TABLE>", nullptr},
      {"<PRE><SCRIPT><!--</SCRIPT>after</PRE>", "<!--"},
  };
  for (const auto& c : cases) {
    ParsedPage page;
    std::vector<std::string> scripts;
    page.doc.Callbacks().ScriptEvent = [&](const std::string&, std::string script) { scripts.push_back(std::move(script)); };
    page.Parse(c.html);
    EXPECT_EQ(scripts, c.body ? std::vector<std::string>{c.body} : std::vector<std::string>{}) << c.html;
    const std::u16string text = DocumentText(page.doc, 0, INT_MAX);
    EXPECT_NE(text.find(u"after"), std::u16string::npos) << c.html;
    ParsedPage dropped(c.html);
    EXPECT_EQ(DocumentText(dropped.doc, 0, INT_MAX), text) << c.html;
  }
}

TEST(ParserMaps, AreasUntilTheEndOfTheMapAndAnUnfinishedMapIsDropped) {
  ParsedPage page("<MAP NAME=nav><AREA SHAPE=rect COORDS=\"0,0,10,10\" HREF=\"a.htm\">text<AREA SHAPE=circle "
                  "COORDS=\"20,20,5\" HREF=b.htm></MAP>x<MAP NAME=open><AREA COORDS=\"0,0,1,1\" HREF=c>");
  ASSERT_EQ(page.doc.MapList.size(), 1u);
  const TMapItem& map = *page.doc.MapList[0];
  EXPECT_EQ(map.MapName, u"NAV");
  EXPECT_EQ(map.Areas.size(), 2u);
  EXPECT_EQ(map.Hit(5, 5), TUrlTarget(u"a.htm", u""));
  EXPECT_EQ(page.Compact(), (Lines{"TSection |x|"}));
}

}  // namespace
}  // namespace quillet
