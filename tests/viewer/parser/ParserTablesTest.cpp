// The parser's table loop: rows implied and explicit, TD and TH with their
// alignments and styles, captions, text outside the cells, links and fonts
// ended at cell boundaries, tables in lists, the nesting limit, and pages
// with tables laid out on the fixed canvas.
#include <gtest/gtest.h>

#include "tests/support/ScriptedUi.h"
#include "tests/viewer/layout/LayoutFixture.h"
#include "tests/viewer/parser/ParserFixture.h"
#include "viewer/tables/Table.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::ParsedPage;
using test::Times;
using Lines = std::vector<std::string>;

// A cell's blocks as the compact outline gives them, on one line.
std::string CellLine(const TCell& cell) {
  std::string s = "cell";
  for (const auto& block : cell.Blocks()) {
    const auto* section = dynamic_cast<const TSection*>(block.get());
    if (section && section->ClassName() == "TSection" && section->Buff.empty()) continue;
    s += " [" + test::BlockLine(*block) + "]";
  }
  return s;
}

// A table's rows and cells, one line each.
Lines TableOutline(const ThtmlTable& table) {
  Lines out;
  for (const auto& row : table.Rows) {
    out.push_back("row");
    for (const auto& cell : row->Cells) out.push_back("  " + CellLine(cell->Cell));
  }
  return out;
}

const ThtmlTable& TableIn(const TCell& cell, int index = 0) {
  for (const auto& block : cell.Blocks())
    if (const auto* t = dynamic_cast<const ThtmlTable*>(block.get()); t && index-- == 0) return *t;
  throw std::out_of_range("no such table");
}

const TCellObj& CellAt(const ThtmlTable& table, size_t row, size_t column) {
  return *table.Rows.at(row)->Cells.at(column);
}

// The text section of a cell that holds text.
const TSection& TextOf(const TCell& cell) {
  for (const auto& block : cell.Blocks())
    if (const auto* s = dynamic_cast<const TSection*>(block.get()); s && !s->Buff.empty()) return *s;
  throw std::out_of_range("no text in the cell");
}

const TFontObj& RunOf(const TCell& cell) { return TextOf(cell).Fonts.front(); }

TEST(ParserTables, ACellWithoutARowMakesOneRowWithOneCell) {
  ParsedPage page("<TABLE><TD>x</TABLE>");
  EXPECT_EQ(page.Compact(), (Lines{"ThtmlTable"}));
  EXPECT_EQ(TableOutline(TableIn(page.doc)), (Lines{"row", "  cell [TSection |x|]"}));
}

TEST(ParserTables, RowsAndCellsFollowTheMarkupWithOrWithoutTheirEndTags) {
  ParsedPage page(
      "<TABLE>\n <TR>\n  <TD>a</TD>\n  <TD>b\n <TR><TH>c<TD>d</TR>\n <TD>e\n</TABLE>after");
  EXPECT_EQ(page.Compact(), (Lines{"ThtmlTable", "TSection |after|"}));
  EXPECT_EQ(TableOutline(TableIn(page.doc)),
            (Lines{"row", "  cell [TSection |a|]", "  cell [TSection |b |]", "row", "  cell [TSection center |c|]",
                   "  cell [TSection |d|]", "row", "  cell [TSection |e |]"}));
  // Blocks in a cell: paragraphs, lists and rules, from the cell's own left
  // edge even when the table stands in a list.
  ParsedPage blocks("<UL><LI>i<TABLE><TD><P>p<UL><LI>l</UL><HR>q<P>r</TABLE></UL>");
  EXPECT_EQ(TableOutline(TableIn(blocks.doc)),
            (Lines{"row", "  cell [TSection |p|] [TUListItem L1 • |l|] [THorzLine] [TSection |q|] [TParagraphSpace] "
                          "[TSection |r|]"}));
  EXPECT_EQ(TableIn(blocks.doc).Level, 1);
}

TEST(ParserTables, HeadingCellsAreBoldAndCentredAndAlignmentComesFromCellThenRow) {
  ParsedPage page(
      "<TABLE><TR><TH>h<TD>d<TH ALIGN=left>hl<TD ALIGN=right>dr"
      "<TR ALIGN=right VALIGN=top><TH>rh<TD>rd<TD ALIGN=center VALIGN=bottom>c<TD VALIGN=baseline>b</TABLE>");
  const ThtmlTable& t = TableIn(page.doc);
  EXPECT_EQ(TableOutline(t), (Lines{"row", "  cell [TSection center |h|]", "  cell [TSection |d|]",
                                    "  cell [TSection |hl|]", "  cell [TSection right |dr|]", "row",
                                    "  cell [TSection right |rh|]", "  cell [TSection right |rd|]",
                                    "  cell [TSection center |c|]", "  cell [TSection right |b|]"}));
  EXPECT_TRUE(RunOf(CellAt(t, 0, 0).Cell).Font().Spec.Bold);
  EXPECT_FALSE(RunOf(CellAt(t, 0, 1).Cell).Font().Spec.Bold);
  EXPECT_TRUE(RunOf(CellAt(t, 0, 2).Cell).Font().Spec.Bold);
  EXPECT_TRUE(RunOf(CellAt(t, 1, 0).Cell).Font().Spec.Bold);
  EXPECT_EQ(CellAt(t, 0, 0).VAlign, VAlignment::Middle);
  EXPECT_EQ(CellAt(t, 1, 1).VAlign, VAlignment::Top);
  EXPECT_EQ(CellAt(t, 1, 2).VAlign, VAlignment::Bottom);
  EXPECT_EQ(CellAt(t, 1, 3).VAlign, VAlignment::Top);
}

TEST(ParserTables, ACaptionIsCentredAboveOrBelowAndItsEndTagConsumed) {
  ParsedPage page("<TABLE><CAPTION> Cap <B>tion</CAPTION><TR><TD>x</TABLE>");
  const ThtmlTable& t = TableIn(page.doc);
  EXPECT_TRUE(t.TopCaption);
  EXPECT_EQ(CellLine(t.Caption.Cell), "cell [TSection center |Cap tion|]");
  EXPECT_EQ(TableOutline(t), (Lines{"row", "  cell [TSection |x|]"}));
  // The caption's bold ends with it.
  EXPECT_FALSE(RunOf(CellAt(t, 0, 0).Cell).Font().Spec.Bold);

  ParsedPage below("<TABLE><TD>x<CAPTION ALIGN=BOTTOM>c</TABLE>");
  EXPECT_FALSE(TableIn(below.doc).TopCaption);
  EXPECT_EQ(CellLine(TableIn(below.doc).Caption.Cell), "cell [TSection center |c|]");
  EXPECT_EQ(TableOutline(TableIn(below.doc)), (Lines{"row", "  cell [TSection |x|]"}));
}

TEST(ParserTables, TextOutsideAnyCellGoesBeforeTheTable) {
  ParsedPage page("a<TABLE>stray <B>b</B><TR><TD>x</TD> between <TD>y</TR>tail</TABLE>z");
  EXPECT_EQ(page.Compact(), (Lines{"TSection |a|", "TSection |stray b|", "TSection |between |",
                                   "TSection |tail|", "ThtmlTable", "TSection |z|"}));
  EXPECT_EQ(TableOutline(TableIn(page.doc)), (Lines{"row", "  cell [TSection |x|]", "  cell [TSection |y|]"}));
  // In the alignment around the table, not the last cell's.
  ParsedPage centred("<CENTER><TABLE><TD ALIGN=right>x</TD>t</TABLE></CENTER>");
  EXPECT_EQ(centred.SectionWith(u"t").Justify, Justification::Center);
}

TEST(ParserTables, LinksAndFontsEndAtCellBoundariesAndTheTable) {
  ParsedPage page(
      "<I><A HREF=out>o<TABLE><TD><A HREF=in><FONT SIZE=7><B><U>a<TD>b<TR><TD><FONT COLOR=red>c"
      "<CAPTION>d</TABLE>e");
  const ThtmlTable& t = TableIn(page.doc);
  const TFontObj& a = RunOf(CellAt(t, 0, 0).Cell);
  EXPECT_TRUE(a.UrlTarget.IsLink());
  EXPECT_TRUE(a.Font().Spec.Bold && a.Font().Spec.Italic && a.Font().Spec.Underline);
  for (const TCell* cell : {&CellAt(t, 0, 1).Cell, &CellAt(t, 1, 0).Cell, &t.Caption.Cell}) {
    const TFontObj& run = RunOf(*cell);
    EXPECT_FALSE(run.UrlTarget.IsLink()) << Utf16ToUtf8(TextOf(*cell).Buff);
    EXPECT_FALSE(run.Font().Spec.Bold);
    EXPECT_FALSE(run.Font().Spec.Underline);
    // The italic from before the table is the table's own.
    EXPECT_TRUE(run.Font().Spec.Italic);
    EXPECT_EQ(run.Font().NominalSize, 12);
  }
  EXPECT_EQ(RunOf(CellAt(t, 1, 0).Cell).Font().Spec.Color, clRed | kPaletteRelative);
  EXPECT_NE(RunOf(t.Caption.Cell).Font().Spec.Color, clRed | kPaletteRelative);
  // The link open before the table ended at it.
  EXPECT_FALSE(page.RunAt(u"e").UrlTarget.IsLink());
  EXPECT_TRUE(page.RunAt(u"e").Font().Spec.Italic);
  EXPECT_EQ(page.RunAt(u"e").Font().NominalSize, 12);
}

TEST(ParserTables, AParagraphAtTheStartOfACellAddsNoSpaceButOneAfterTheTableDoes) {
  ParsedPage page("<TABLE><TD>\n <P>x<P>y<TD><P ALIGN=right>z<TD><P></TABLE><P>after");
  const ThtmlTable& t = TableIn(page.doc);
  EXPECT_EQ(TableOutline(t), (Lines{"row", "  cell [TSection |x|] [TParagraphSpace] [TSection |y|]",
                                    "  cell [TSection right |z|]", "  cell"}));
  EXPECT_EQ(page.Compact(), (Lines{"ThtmlTable", "TParagraphSpace", "TSection |after|"}));
}

TEST(ParserTables, AListItemHoldingOnlyATableKeepsItsLine) {
  ParsedPage page("<UL><LI><TABLE><TD>x</TABLE><LI>  <TABLE><TD>y</TABLE><LI>t<TABLE><TD>z</TABLE></UL>");
  EXPECT_EQ(page.Compact(), (Lines{"TUListItem L1 • | |", "ThtmlTable", "TUListItem L1 • | |", "ThtmlTable",
                                   "TUListItem L1 • |t|", "ThtmlTable"}));
}

TEST(ParserTables, NestedTablesGoInTheirCells) {
  ParsedPage page("<TABLE><TD>a<TABLE BORDER><TD>b</TABLE>c<TD>d</TABLE>");
  const ThtmlTable& outer = TableIn(page.doc);
  ASSERT_EQ(outer.Rows.size(), 1u);
  const TCell& holder = CellAt(outer, 0, 0).Cell;
  EXPECT_EQ(CellLine(holder), "cell [TSection |a|] [ThtmlTable] [TSection |c|]");
  EXPECT_TRUE(TableIn(holder).Border);
  EXPECT_EQ(TableOutline(TableIn(holder)), (Lines{"row", "  cell [TSection |b|]"}));
  EXPECT_EQ(CellLine(CellAt(outer, 0, 1).Cell), "cell [TSection |d|]");
}

TEST(ParserTables, PastSixteenTablesATableIsReadAsUnknownTagsAndItsEndStillPairs) {
  const int limit = HtmlParser::kMaxTableNesting;
  ParsedPage page(Times(limit, "<TABLE><TR><TD>") + "in<TABLE><TR><TD>a<TD>b<TABLE><TD>c</TABLE>d</TABLE>e<TD>f" +
                  Times(limit, "</TABLE>") + "out");
  const TCell* cell = &page.doc;
  for (int depth = 0; depth < limit; ++depth) {
    const ThtmlTable& t = TableIn(*cell);
    ASSERT_EQ(t.Rows.size(), 1u) << depth;
    cell = &CellAt(t, 0, 0).Cell;
  }
  // The innermost real table: its first cell has the skipped tables' text,
  // and the cell after them is its own.
  EXPECT_EQ(CellLine(*cell), "cell [TSection |inabcde|]");
  EXPECT_EQ(TableOutline(TableIn(page.doc)).size(), 2u);
  EXPECT_EQ(page.Compact().back(), "TSection |out|");
}

TEST(ParserTables, TheEndOfTheBodyInACellEndsNeitherTheCellNorTheTable) {
  ParsedPage page("<TABLE><TD>a</BODY>b<TD>c</BODY></TABLE>d</BODY>e");
  EXPECT_EQ(TableOutline(TableIn(page.doc)), (Lines{"row", "  cell [TSection |ab|]", "  cell [TSection |c|]"}));
  EXPECT_EQ(page.Compact(), (Lines{"ThtmlTable", "TSection |d|"}));
}

TEST(ParserTables, AnOpenCommentInATableKeepsWhatWasRead) {
  TSectionList doc;
  TNameList names;
  HtmlParser parser;
  EXPECT_THROW(parser.ParseHtmlBuffer("a<TABLE><TR><TD>x<TD><TABLE><TD>y<B>z<!-- open", doc, names), EParseError);
  const ThtmlTable& t = TableIn(doc);
  EXPECT_EQ(TableOutline(t), (Lines{"row", "  cell [TSection |x|]", "  cell [ThtmlTable]"}));
  EXPECT_EQ(TableOutline(TableIn(CellAt(t, 0, 1).Cell)), (Lines{"row", "  cell [TSection |yz|]"}));
}

TEST(ParserTables, AnchorsInCellsNameTheirSections) {
  ParsedPage page("<TABLE><TD><A NAME=here>x</A></TABLE>");
  ASSERT_EQ(page.names.count(u"HERE"), 1u);
  EXPECT_EQ(page.names.at(u"HERE"), &TextOf(CellAt(TableIn(page.doc), 0, 0).Cell));
}

// ---------------------------------------------------------------- laid out

struct LaidOutPage {
  test::ScriptedUi ui;
  TSectionList doc;
  TNameList names;
  HtmlParser parser;
  FixedCanvas canvas;
  int height = 0;

  LaidOutPage(std::string_view html, int width) {
    doc.Callbacks().Messages = &ui;
    canvas.Record = false;
    parser.ParseHtmlBuffer(html, doc, names);
    int curs = 0, maxWidth = 0;
    height = doc.DoLogic(canvas, 0, width, curs, maxWidth);
  }
  const TSection& SectionWith(std::u16string_view text) const {
    for (const auto& block : doc.Blocks())
      if (const auto* s = dynamic_cast<const TSection*>(block.get()); s && s->Buff.find(text) != std::u16string::npos)
        return *s;
    throw std::out_of_range("no section holds the text");
  }
};

TEST(ParserTablesLaidOut, ThirtyOneColumnsShowTheMessageAndTheRestOfThePage) {
  LaidOutPage page("before<TABLE><TR>" + Times(31, "<TD>x") + "</TABLE>after", 400);
  EXPECT_EQ(page.ui.Messages, std::vector<std::string>{"Table has too many Columns"});
  EXPECT_EQ(page.SectionWith(u"before").YValue, 0);
  EXPECT_EQ(page.SectionWith(u"after").YValue, 18);
  EXPECT_EQ(page.height, 36);
  // Thirty fit.
  LaidOutPage thirty("<TABLE><TR>" + Times(30, "<TD>x") + "</TABLE>after", 400);
  EXPECT_TRUE(thirty.ui.Messages.empty());
  EXPECT_EQ(TableIn(thirty.doc).NumCols, 30);
}

TEST(ParserTablesLaidOut, ALeftTableLetsTheNextParagraphRunBesideIt) {
  LaidOutPage page("<TABLE ALIGN=LEFT><TD>abc<BR>abc<BR>abc</TABLE><P>aaaaaaa bbbbbbb ccccccc ddddddd eeeeeee", 100);
  const ThtmlTable& t = TableIn(page.doc);
  EXPECT_EQ(t.SectionHeight, 0);
  EXPECT_EQ(t.DrawHeight, 60);
  const TSection& text = page.SectionWith(u"aaaaaaa");
  ASSERT_GE(text.Lines.size(), 3u);
  // 30 wide, 1 more and 5 of room beside it, while its rows last.
  EXPECT_LT(text.YValue, t.DrawHeight);
  EXPECT_EQ(text.Lines[0].LineIndent, 36);
  EXPECT_EQ(text.LineText(text.Lines[0]), u"aaaaaaa ");
  EXPECT_EQ(text.Lines.back().LineIndent, 0);
}

TEST(ParserTablesLaidOut, TablesNestedDeeperThanTheLimitLayOutAsText) {
  LaidOutPage page(Times(100000, "<TABLE><TR><TD>") + "deep", 600);
  EXPECT_GT(page.height, 0);
  EXPECT_TRUE(page.ui.Messages.empty());
}

}  // namespace
}  // namespace quillet
