// Tables: the attributes and their clamps, and what the first measuring
// does to the rows (spans, backgrounds, the column limit).
#include <gtest/gtest.h>

#include "tests/support/ScriptedUi.h"
#include "tests/viewer/tables/TableFixture.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {
namespace {

using test::AddTable;
using test::Attr;
using test::Attrs;
using test::Bare;
using test::LayoutFixture;
using test::TableBuilder;

TEST(TableAttributes, ABorderAddsTwoToTheSpacing) {
  TSectionList doc;
  const ThtmlTable bare(doc, Attrs({Bare(Sy::Border)}), 0, &doc, Justification::Left);
  EXPECT_TRUE(bare.Border);
  EXPECT_EQ(bare.CellSpacing, 4);
  EXPECT_EQ(bare.CellPadding, 1);

  const ThtmlTable none(doc, Attrs({Attr(Sy::Border, u"0")}), 0, &doc, Justification::Left);
  EXPECT_FALSE(none.Border);
  EXPECT_EQ(none.CellSpacing, 2);

  const ThtmlTable tight(doc, Attrs({Attr(Sy::CellSpacing, u"0"), Attr(Sy::Border, u"3")}), 0, &doc,
                         Justification::Left);
  EXPECT_TRUE(tight.Border);
  EXPECT_EQ(tight.CellSpacing, 2);
}

TEST(TableAttributes, PaddingSpacingAndRoomBesideAreClamped) {
  TSectionList doc;
  const ThtmlTable big(doc,
                       Attrs({Attr(Sy::CellPadding, u"80"), Attr(Sy::CellSpacing, u"100"), Attr(Sy::HSpace, u"-30")}),
                       0, &doc, Justification::Left);
  EXPECT_EQ(big.CellPadding, 50);
  EXPECT_EQ(big.CellSpacing, 40);
  EXPECT_EQ(big.HSpace, 20);

  const ThtmlTable bordered(doc, Attrs({Attr(Sy::CellSpacing, u"40"), Bare(Sy::Border), Attr(Sy::HSpace, u"-7")}), 0,
                            &doc, Justification::Left);
  EXPECT_EQ(bordered.CellSpacing, 42);
  EXPECT_EQ(bordered.HSpace, 7);

  // Negative values keep the defaults.
  const ThtmlTable negative(doc, Attrs({Attr(Sy::CellPadding, u"-3"), Attr(Sy::CellSpacing, u"-1")}), 0, &doc,
                            Justification::Left);
  EXPECT_EQ(negative.CellPadding, 1);
  EXPECT_EQ(negative.CellSpacing, 2);
}

TEST(TableAttributes, AlignWidthAndColours) {
  TSectionList doc;
  const ThtmlTable left(doc, Attrs({Attr(Sy::Align, u"left")}), 0, &doc, Justification::Center);
  EXPECT_EQ(left.Justify, Justification::Left);
  EXPECT_TRUE(left.Float);
  const ThtmlTable right(doc, Attrs({Attr(Sy::Align, u"RiGhT")}), 0, &doc, Justification::Left);
  EXPECT_EQ(right.Justify, Justification::Right);
  EXPECT_TRUE(right.Float);
  const ThtmlTable center(doc, Attrs({Attr(Sy::Align, u"Center")}), 0, &doc, Justification::Left);
  EXPECT_EQ(center.Justify, Justification::Center);
  EXPECT_FALSE(center.Float);
  // An unknown value keeps the paragraph's alignment.
  const ThtmlTable other(doc, Attrs({Attr(Sy::Align, u"justify")}), 0, &doc, Justification::Right);
  EXPECT_EQ(other.Justify, Justification::Right);
  EXPECT_FALSE(other.Float);

  const ThtmlTable half(doc, Attrs({Attr(Sy::Width, u"50%")}), 0, &doc, Justification::Left);
  EXPECT_EQ(half.SpecWidth, 500);
  EXPECT_TRUE(half.SpecWidthPercent);
  const ThtmlTable over(doc, Attrs({Attr(Sy::Width, u"150%")}), 0, &doc, Justification::Left);
  EXPECT_EQ(over.SpecWidth, 0);
  EXPECT_TRUE(over.SpecWidthPercent);
  EXPECT_FALSE(over.HasWidth());
  const ThtmlTable pixels(doc, Attrs({Attr(Sy::Width, u"300")}), 0, &doc, Justification::Left);
  EXPECT_EQ(pixels.SpecWidth, 300);
  EXPECT_FALSE(pixels.SpecWidthPercent);

  const ThtmlTable colours(doc, Attrs({Attr(Sy::BgColor, u"red"), Attr(Sy::BorderColor, u"#00FF00")}), 0, &doc,
                           Justification::Left);
  EXPECT_TRUE(colours.BkGnd);
  EXPECT_EQ(colours.BkColor, RgbColor(255, 0, 0));
  EXPECT_TRUE(colours.HasBorderColor);
  EXPECT_EQ(colours.BorderColor, RgbColor(0, 255, 0));
  const ThtmlTable bad(doc, Attrs({Attr(Sy::BorderColor, u"nonsense")}), 0, &doc, Justification::Left);
  EXPECT_FALSE(bad.HasBorderColor);
}

TEST(TableAttributes, CellsRowsAndCaptions) {
  TSectionList doc;
  const TCellObj cell(&doc,
                      Attrs({Attr(Sy::ColSpan, u"0"), Attr(Sy::RowSpan, u"3"), Attr(Sy::Width, u"40%"),
                             Attr(Sy::Height, u"50"), Attr(Sy::BgColor, u"navy"), Attr(Sy::VAlign, u"BASELINE")}),
                      VAlignment::Bottom);
  EXPECT_EQ(cell.ColSpan, 1);
  EXPECT_EQ(cell.RowSpan, 3);
  EXPECT_EQ(cell.SpecWd, 400);
  EXPECT_TRUE(cell.SpecWdPercent);
  EXPECT_EQ(cell.SpecHt, 50);
  EXPECT_TRUE(cell.Cell.BkGnd);
  EXPECT_EQ(cell.Cell.BkColor, RgbColor(0, 0, 0x80));
  EXPECT_EQ(cell.VAlign, VAlignment::Top);

  const TCellObj pixels(&doc, Attrs({Attr(Sy::Width, u"120"), Attr(Sy::VAlign, u"sideways")}), VAlignment::Bottom);
  EXPECT_EQ(pixels.SpecWd, 120);
  EXPECT_FALSE(pixels.SpecWdPercent);
  EXPECT_EQ(pixels.VAlign, VAlignment::Bottom);  // the row's
  const TCellObj zero(&doc, Attrs({Attr(Sy::Width, u"0%")}));
  EXPECT_EQ(zero.SpecWd, 0);
  EXPECT_EQ(zero.VAlign, VAlignment::Middle);

  const TCellList row(Attrs({Attr(Sy::BgColor, u"ffff00"), Attr(Sy::Align, u"right"), Attr(Sy::VAlign, u"top")}));
  EXPECT_TRUE(row.BkGnd);
  EXPECT_EQ(row.BkColor, RgbColor(255, 255, 0));
  EXPECT_EQ(row.Align, Justification::Right);
  EXPECT_EQ(row.VAlign, VAlignment::Top);

  ThtmlTable table(doc, {}, 0, &doc, Justification::Left);
  table.StartCaption(Attrs({Attr(Sy::Align, u"Bottom")}));
  EXPECT_FALSE(table.TopCaption);
  table.StartCaption(Attrs({Attr(Sy::Align, u"top")}));
  EXPECT_TRUE(table.TopCaption);
}

TEST(TableSpans, AColumnSpanWiderThanTheOtherRowsAddsColumns) {
  TSectionList doc;
  TableBuilder b(doc, {});
  b.Cell(u"a");
  b.Cell(u"b");
  b.Row();
  TCellObj& wide = b.Cell(u"c", Attrs({Attr(Sy::ColSpan, u"3")}));
  b.Table().Initialize();
  EXPECT_EQ(b.Table().NumCols, 3);
  ASSERT_EQ(b.Table().Rows[1]->Count(), 3);
  EXPECT_TRUE(b.Table().Rows[1]->Cells[1]->IsFiller());
  EXPECT_TRUE(b.Table().Rows[1]->Cells[2]->IsFiller());
  EXPECT_EQ(b.Table().RealCells().size(), 3u);
  EXPECT_EQ(wide.Col, 0);
  EXPECT_EQ(wide.Row, 1);
}

TEST(TableSpans, ARowSpanIsCutToTheRowsLeft) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"a");
  b.Cell(u"b");
  b.Row();
  TCellObj& tall = b.Cell(u"c", Attrs({Attr(Sy::RowSpan, u"5")}));
  b.Cell(u"d");
  b.Row();
  b.Cell(u"e");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(400);
  EXPECT_EQ(tall.RowSpan, 2);
  // The last row holds a filler in the spanned column, then its own cell.
  ASSERT_EQ(t.Rows[2]->Count(), 2);
  EXPECT_TRUE(t.Rows[2]->Cells[0]->IsFiller());
  EXPECT_EQ(t.Rows[2]->Cells[1]->Col, 1);
  EXPECT_EQ(tall.Ht, t.Rows[1]->RowHeight + t.Rows[2]->RowHeight);
  EXPECT_EQ(tall.Ht, 44);
}

TEST(TableSpans, ACellSpanningRowsAndColumnsFillsEveryPositionItCovers) {
  TSectionList doc;
  TableBuilder b(doc, {});
  b.Cell(u"a", Attrs({Attr(Sy::ColSpan, u"2"), Attr(Sy::RowSpan, u"2")}));
  b.Cell(u"b");
  b.Row();
  b.Cell(u"c");
  b.Table().Initialize();
  ASSERT_EQ(b.Table().Rows[1]->Count(), 3);
  EXPECT_TRUE(b.Table().Rows[1]->Cells[0]->IsFiller());
  EXPECT_TRUE(b.Table().Rows[1]->Cells[1]->IsFiller());
  EXPECT_EQ(b.Table().Rows[1]->Cells[2]->Col, 2);
  EXPECT_EQ(b.Table().NumCols, 3);
}

TEST(TableBackgrounds, ComeDownFromTheEnclosingCellToTableRowAndCell) {
  TSectionList doc;
  TCell enclosing(&doc);
  enclosing.BkGnd = true;
  enclosing.BkColor = clSilver;
  TableBuilder b(doc, {}, &enclosing);
  b.Row(Attrs({Attr(Sy::BgColor, u"red")}));
  TCellObj& rowColoured = b.Cell(u"a");
  TCellObj& own = b.Cell(u"b", Attrs({Attr(Sy::BgColor, u"blue")}));
  b.Row();
  TCellObj& tableColoured = b.Cell(u"c");
  b.Table().Initialize();
  EXPECT_TRUE(b.Table().BkGnd);
  EXPECT_EQ(b.Table().BkColor, clSilver);
  EXPECT_EQ(rowColoured.Cell.BkColor, RgbColor(255, 0, 0));
  EXPECT_EQ(own.Cell.BkColor, RgbColor(0, 0, 255));
  EXPECT_TRUE(tableColoured.Cell.BkGnd);
  EXPECT_EQ(tableColoured.Cell.BkColor, clSilver);

  // A table of its own colour keeps it; without any colour nothing is set.
  TableBuilder plain(doc, {});
  TCellObj& bare = plain.Cell(u"x");
  plain.Table().Initialize();
  EXPECT_FALSE(plain.Table().BkGnd);
  EXPECT_FALSE(bare.Cell.BkGnd);
}

TEST(TableColumns, ThirtyOneColumnsShowTheMessageAndTheRestOfThePage) {
  test::ScriptedUi ui;
  FixedCanvas canvas;
  TSectionList doc;
  doc.Callbacks().Messages = &ui;
  TableBuilder text(doc, {});
  text.AddText(doc, u"before");
  TableBuilder b(doc, {});
  for (int i = 0; i < 31; ++i) b.Cell(u"x");
  doc.Add(b.Take());
  text.AddText(doc, u"after");
  int curs = 0, maxWidth = 0;
  EXPECT_EQ(doc.DoLogic(canvas, 0, 400, curs, maxWidth), 36);
  EXPECT_EQ(ui.Messages, std::vector<std::string>{"Table has too many Columns"});
  ASSERT_EQ(doc.Count(), 2);
  EXPECT_EQ(doc[1].YValue, 18);

  // Thirty fit.
  TableBuilder ok(doc, {});
  for (int i = 0; i < 30; ++i) ok.Cell(u"x");
  doc.Add(ok.Take());
  doc.DoLogic(canvas, 0, 400, curs = 0, maxWidth);
  EXPECT_EQ(doc.Count(), 3);
  EXPECT_EQ(ui.Messages.size(), 1u);
}

TEST(TableColumns, HugeSpansFailWithoutMakingTheirFillers) {
  test::ScriptedUi ui;
  FixedCanvas canvas;
  TSectionList doc;
  doc.Callbacks().Messages = &ui;
  TableBuilder wide(doc, {});
  wide.Cell(u"x", Attrs({Attr(Sy::ColSpan, u"99999999")}));
  doc.Add(wide.Take());
  // A row span pushing a full row past 30 columns fails too.
  TableBuilder pushed(doc, {});
  pushed.Cell(u"x", Attrs({Attr(Sy::RowSpan, u"2")}));
  pushed.Row();
  for (int i = 0; i < 30; ++i) pushed.Cell(u"y");
  doc.Add(pushed.Take());
  int curs = 0, maxWidth = 0;
  doc.DoLogic(canvas, 0, 400, curs, maxWidth);
  EXPECT_EQ(ui.Messages.size(), 2u);
  EXPECT_EQ(doc.Count(), 0);
}

TEST(TableColumns, ATooWideTableInsideATableDropsOnlyItself) {
  test::ScriptedUi ui;
  FixedCanvas canvas;
  TSectionList doc;
  doc.Callbacks().Messages = &ui;
  TableBuilder outer(doc, {});
  TCellObj& holder = outer.Cell(u"");
  TableBuilder inner(doc, {}, &holder.Cell);
  for (int i = 0; i < 31; ++i) inner.Cell(u"x");
  holder.Cell.Add(inner.Take());
  outer.AddText(holder.Cell, u"kept");
  outer.Cell(u"beside");
  ThtmlTable& t = AddTable(doc, outer);
  int curs = 0, maxWidth = 0;
  doc.DoLogic(canvas, 0, 400, curs, maxWidth);
  EXPECT_EQ(ui.Messages, std::vector<std::string>{"Table has too many Columns"});
  ASSERT_EQ(doc.Count(), 1);
  EXPECT_EQ(holder.Cell.Count(), 1);
  EXPECT_EQ(t.Widths, (std::vector<int>{36, 52}));
  // Laid out again, it is not shown twice.
  doc.DoLogic(canvas, 0, 400, curs = 0, maxWidth);
  EXPECT_EQ(ui.Messages.size(), 1u);
}

}  // namespace
}  // namespace quillet
