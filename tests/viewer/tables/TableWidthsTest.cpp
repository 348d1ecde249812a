// Tables: column widths worked out by hand. A cell's content of n
// characters is 8n wide; with padding 1 and spacing 2 the cell asks for
// 8n + 4, and the columns share the width less one spacing (C).
#include <gtest/gtest.h>

#include "tests/viewer/tables/TableFixture.h"

namespace quillet {
namespace {

using test::AddTable;
using test::Attr;
using test::Attrs;
using test::LayoutFixture;
using test::TableBuilder;

using Widths = std::vector<int>;

TEST(TableWidths, AHalfWidthTableInA600PixelColumnIs300Wide) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::Width, u"50%")}));
  b.Cell(u"a");
  b.Cell(u"b");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // C = 300 - 2; both columns start at their minimum 12 and, having no room
  // between minimum and maximum, share the rest equally.
  EXPECT_EQ(t.Widths, (Widths{149, 149}));
  EXPECT_EQ(t.TableWidth, 300);
}

TEST(TableWidths, PercentageColumnsWithoutTableWidth) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"a", Attrs({Attr(Sy::Width, u"50%")}));
  b.Cell(u"bb bb bb bb bb bb bb bb bb bb");  // minimum 20, maximum 236
  ThtmlTable& t = AddTable(f.doc, b);

  // The width at which the other column gets its maximum as the other half:
  // E = 236 * 1000 / 500 = 472, which fits in 598.
  f.Layout(600);
  EXPECT_EQ(t.Widths, (Widths{236, 236}));
  EXPECT_EQ(t.Percents, (Widths{500, 0}));

  // In 200 (C = 198) it does not: the percentage column is fixed at its
  // share 99, and the other goes from its minimum toward its maximum.
  f.Layout(200);
  EXPECT_EQ(t.Widths, (Widths{99, 99}));
}

TEST(TableWidths, APercentageColumnTakesItsShareOfTheNaturalWidth) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"aaaa", Attrs({Attr(Sy::Width, u"25%")}));  // 36
  b.Cell(u"bb");                                      // 20
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // E = 36 * 1000 / 250 = 144: a quarter of it for the first column, the
  // rest for the second.
  EXPECT_EQ(t.Widths, (Widths{36, 108}));
  EXPECT_EQ(t.TableWidth, 146);

  // Too narrow for its share, the column loses its percentage.
  f.Layout(100);
  EXPECT_EQ(t.Widths, (Widths{36, 20}));
}

TEST(TableWidths, PercentagesInATableWithAWidth) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::Width, u"400")}));
  b.Cell(u"a", Attrs({Attr(Sy::Width, u"25%")}));
  b.Cell(u"b");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // C = 398: a quarter is 99; the other column takes the rest.
  EXPECT_EQ(t.Widths, (Widths{99, 299}));
  EXPECT_EQ(t.TableWidth, 400);

  // A pixel width counts as its percentage of the width divided.
  LayoutFixture g;
  TableBuilder p(g.doc, Attrs({Attr(Sy::Width, u"400")}));
  p.Cell(u"a", Attrs({Attr(Sy::Width, u"100")}));
  p.Cell(u"b");
  ThtmlTable& pt = AddTable(g.doc, p);
  g.Layout(600);
  EXPECT_EQ(pt.Percents, (Widths{251, 0}));
  EXPECT_EQ(pt.Widths, (Widths{99, 299}));
}

TEST(TableWidths, PercentagesOverAHundredGiveBackTheExcess) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::Width, u"100")}));
  b.Cell(u"aaaaaa", Attrs({Attr(Sy::Width, u"60%")}));  // minimum 52
  b.Cell(u"b", Attrs({Attr(Sy::Width, u"60%")}));       // minimum 12
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // C = 98, shares 58 and 58. Giving back 18 in halves would take the first
  // below 52: it stops there, and the second gives back the remaining 12.
  EXPECT_EQ(t.Widths, (Widths{52, 46}));
  EXPECT_EQ(t.TableWidth, 100);
}

TEST(TableWidths, PixelCellsWithoutTableWidth) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"a", Attrs({Attr(Sy::Width, u"100")}));  // 100 + 4 as minimum and maximum
  b.Cell(u"bb bb bb bb");                          // minimum 20, maximum 92
  ThtmlTable& t = AddTable(f.doc, b);

  f.Layout(600);  // every column its maximum
  EXPECT_EQ(t.Widths, (Widths{104, 92}));
  // C = 158 between the totals 124 and 196: each column goes 34/72 of the
  // way from its minimum to its maximum.
  f.Layout(160);
  EXPECT_EQ(t.Widths, (Widths{104, 54}));
  // Below the minimums the table keeps them and overflows.
  f.Layout(100);
  EXPECT_EQ(t.Widths, (Widths{104, 20}));
  EXPECT_EQ(t.TableWidth, 126);
  EXPECT_EQ(f.LayoutMaxWidth(100), 126);
}

TEST(TableWidths, ASpanningCellWidensItsColumnsInProportion) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"a");    // 12
  b.Cell(u"bbb");  // 28
  b.Row();
  b.Cell(u"cccccccccc", Attrs({Attr(Sy::ColSpan, u"2")}));  // 84
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // The excess 44 goes 12/40 and 28/40 (13 and 30, rounded down), and the
  // pixel rounding left to the first column: the spanning cell gets all of
  // its 84, so its text does not wrap.
  EXPECT_EQ(t.Widths, (Widths{26, 58}));

  int mn = 0, mx = 0;
  t.MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mn, 86);
  EXPECT_EQ(mx, 86);
}

TEST(TableWidths, ASpanOverColumnsOfNoWidthIsSharedEqually) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::CellSpacing, u"3"), Attr(Sy::CellPadding, u"0")}));
  b.Cell(u"abc", Attrs({Attr(Sy::ColSpan, u"2")}));  // 24 + 3
  b.Row();
  b.Cell(u"ab", Attrs({Attr(Sy::ColSpan, u"2")}));
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(600);
  // No cell of its own gives either column a width: equal parts, the odd
  // pixel to the first.
  EXPECT_EQ(t.Widths, (Widths{14, 13}));

  // The same with a percentage on the spanning cell: the plain columns get
  // equal parts of the cell's percentage, and of its minimum.
  LayoutFixture g;
  TableBuilder p(g.doc, Attrs({Attr(Sy::CellSpacing, u"3"), Attr(Sy::CellPadding, u"0")}));
  p.Cell(u"abc", Attrs({Attr(Sy::ColSpan, u"2"), Attr(Sy::Width, u"50%")}));
  ThtmlTable& pt = AddTable(g.doc, p);
  int mn = 0, mx = 0;
  pt.MinMaxWidth(g.canvas, mn, mx);
  EXPECT_EQ(mn, 30);
  EXPECT_EQ(pt.PercentSizes(g.canvas, 0).Min, (Widths{14, 13}));
  EXPECT_EQ(pt.PercentSizes(g.canvas, 0).Pct, (Widths{250, 250}));
}

TEST(TableWidths, ASpanningPercentageScalesUpItsColumns) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"a", Attrs({Attr(Sy::Width, u"10%")}));
  b.Cell(u"b", Attrs({Attr(Sy::Width, u"10%")}));
  b.Row();
  b.Cell(u"c", Attrs({Attr(Sy::ColSpan, u"2"), Attr(Sy::Width, u"60%")}));
  ThtmlTable& t = AddTable(f.doc, b);
  EXPECT_EQ(t.PercentSizes(f.canvas, 0).Pct, (Widths{300, 300}));
}

TEST(TableWidths, MinimumAndMaximumOfTheTable) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::Width, u"300")}));
  b.Cell(u"ab cd");  // minimum 20, maximum 44
  ThtmlTable& t = AddTable(f.doc, b);
  int mn = 0, mx = 0;
  t.MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mn, 300);
  EXPECT_EQ(mx, 300);

  TableBuilder c(f.doc, {});
  c.Cell(u"ab cd");
  c.Caption(u"abcdefghijkl");  // 96
  ThtmlTable& ct = AddTable(f.doc, c);
  ct.MinMaxWidth(f.canvas, mn, mx);
  EXPECT_EQ(mn, 96);
  EXPECT_EQ(mx, 96);
}

}  // namespace
}  // namespace quillet
