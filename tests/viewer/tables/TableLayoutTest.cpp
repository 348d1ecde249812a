// Tables: rows and cells placed, captions, placement across the width,
// floating tables, nesting, and the queries that go through the cells.
#include <gtest/gtest.h>

#include "tests/viewer/tables/TableFixture.h"

namespace quillet {
namespace {

using test::AddTable;
using test::Attr;
using test::Attrs;
using test::LayoutFixture;
using test::TableBuilder;

// A 2 x 2 table "ab" "cd" / "ef" "gh": columns of 20, rows of 22.
ThtmlTable& TwoByTwo(LayoutFixture& f) {
  TableBuilder b(f.doc, {});
  b.Cell(u"ab");
  b.Cell(u"cd");
  b.Row();
  b.Cell(u"ef");
  b.Cell(u"gh");
  return AddTable(f.doc, b);
}

const TSection& FirstSection(const TCellObj& cell) { return static_cast<const TSection&>(cell.Cell[0]); }

TEST(TableLayout, CellsSitInTheirColumnsAndRowsInReadingOrder) {
  LayoutFixture f;
  ThtmlTable& t = TwoByTwo(f);
  TSection& after = f.AddSection(u"xy");
  EXPECT_EQ(f.Layout(400), 46 + 18);
  EXPECT_EQ(t.Widths, (std::vector<int>{20, 20}));
  EXPECT_EQ(t.TableWidth, 42);
  EXPECT_EQ(t.RowsHeight, 44);
  EXPECT_EQ(t.SectionHeight, 46);
  EXPECT_EQ(t.Rows[0]->RowHeight, 22);

  const TCellObj& gh = *t.RealCells()[3];
  EXPECT_EQ(t.CellX(gh), 20);
  EXPECT_EQ(t.CellY(gh), 22);
  EXPECT_EQ(t.ContentX(gh), 23);
  EXPECT_EQ(gh.Wd, 20);
  EXPECT_EQ(gh.Ht, 22);
  EXPECT_EQ(FirstSection(gh).YValue, 25);

  // Cursor positions run row by row, the text after the table last.
  EXPECT_EQ(FirstSection(*t.RealCells()[1]).StartCurs, 2);
  EXPECT_EQ(gh.Cell.StartCurs, 6);
  EXPECT_EQ(after.StartCurs, 8);
  EXPECT_EQ(after.YValue, 46);
  char16_t ch = 0;
  const TSectionBase* obj = nullptr;
  ASSERT_TRUE(f.doc.GetChAtPos(5, ch, obj));
  EXPECT_EQ(ch, u'f');
  int x = 0, y = 0;
  ASSERT_TRUE(f.doc.CursorToXY(f.canvas, 7, x, y));
  EXPECT_EQ(x, 31);
  EXPECT_EQ(y, 25);
}

TEST(TableLayout, ARowSpanTallerThanItsRowsSharesTheDifferenceAndCellsAlign) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  TCellObj& a = b.Cell(u"a", Attrs({Attr(Sy::RowSpan, u"2"), Attr(Sy::Height, u"101"), Attr(Sy::VAlign, u"bottom")}));
  TCellObj& top = b.Cell(u"b", Attrs({Attr(Sy::VAlign, u"top")}));
  b.Row();
  TCellObj& middle = b.Cell(u"c");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(400);
  // The spanning cell needs 99 + 4 = 103 against 44: 59 more, 29 to each
  // row and the odd one to the last.
  EXPECT_EQ(t.Rows[0]->RowHeight, 51);
  EXPECT_EQ(t.Rows[1]->RowHeight, 52);
  EXPECT_EQ(a.Ht, 103);
  EXPECT_EQ(a.YIndent, 81);
  EXPECT_EQ(FirstSection(a).YValue, 84);
  EXPECT_EQ(top.YIndent, 0);
  EXPECT_EQ(FirstSection(top).YValue, 3);
  EXPECT_EQ(middle.YIndent, 15);
  EXPECT_EQ(FirstSection(middle).YValue, 51 + 3 + 15);
  EXPECT_EQ(t.SectionHeight, 105);
}

TEST(TableLayout, CaptionsGoAboveOrBelowAcrossTheTotalWidth) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  TCellObj& cell = b.Cell(u"ab");
  b.Caption(u"cap");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(400);
  EXPECT_EQ(t.TotalWidth, 24);
  EXPECT_EQ(t.TableIndent, 1);
  EXPECT_EQ(t.CaptionHeight, 18);
  EXPECT_EQ(t.CaptionY(), 0);
  EXPECT_EQ(FirstSection(cell).YValue, 18 + 3);
  EXPECT_EQ(t.SectionHeight, 18 + 22 + 2);
  EXPECT_EQ(FirstSection(t.Caption).StartCurs, 0);
  EXPECT_EQ(cell.Cell.StartCurs, 3);

  LayoutFixture g;
  TableBuilder c(g.doc, {});
  TCellObj& first = c.Cell(u"ab");
  c.Caption(u"cap", Attrs({Attr(Sy::Align, u"bottom")}));
  ThtmlTable& bt = AddTable(g.doc, c);
  g.Layout(400);
  EXPECT_EQ(bt.CaptionY(), 24);
  EXPECT_EQ(FirstSection(bt.Caption).YValue, 24);
  EXPECT_EQ(FirstSection(first).YValue, 3);
  EXPECT_EQ(bt.SectionHeight, 42);
  EXPECT_EQ(FirstSection(bt.Caption).StartCurs, 2);
}

TEST(TableLayout, AlignmentAndIndentPlaceTheTable) {
  LayoutFixture f;
  TableBuilder centred(f.doc, {}, nullptr, Justification::Center);
  centred.Cell(u"ab");
  ThtmlTable& c = AddTable(f.doc, centred);
  TableBuilder right(f.doc, Attrs({Attr(Sy::Align, u"center")}), nullptr, Justification::Right);
  right.Cell(u"ab");
  ThtmlTable& stillCentred = AddTable(f.doc, right);
  TableBuilder indented(f.doc, {}, nullptr, Justification::Left, 1);
  indented.Cell(u"ab");
  ThtmlTable& i = AddTable(f.doc, indented);
  f.Layout(400);
  EXPECT_EQ(c.Indent, 189);
  EXPECT_EQ(stillCentred.Indent, 189);
  EXPECT_EQ(i.Indent, 35);
  EXPECT_EQ(i.TableIndent, 35);

  // A table wider than the width overflows, and the pane can scroll to its
  // right edge, indent included.
  LayoutFixture g;
  TableBuilder wide(g.doc, {}, nullptr, Justification::Center, 1);
  wide.Cell(std::u16string(50, u'w'));
  ThtmlTable& w = AddTable(g.doc, wide);
  EXPECT_EQ(g.LayoutMaxWidth(400), 35 + 406);
  EXPECT_EQ(w.Indent, 35);
}

TEST(TableLayout, AFloatingTableLetsTheNextParagraphRunBesideIt) {
  LayoutFixture f;
  TableBuilder b(f.doc, Attrs({Attr(Sy::Align, u"left")}));
  b.Cell(u"abc");
  ThtmlTable& t = AddTable(f.doc, b);
  TSection& text = f.AddSection(u"aaaaaaa bbbbbbb ccccccc ddddddd");
  EXPECT_EQ(f.Layout(100), 72);
  EXPECT_EQ(t.SectionHeight, 0);
  EXPECT_EQ(t.DrawHeight, 24);
  EXPECT_EQ(t.Indent, 0);
  EXPECT_EQ(text.YValue, 0);
  // Beside the table (30 wide, 1 more and 5 of room beside it) while its 24
  // rows last, then the whole width.
  ASSERT_EQ(text.Lines.size(), 4u);
  EXPECT_EQ(text.Lines[0].LineIndent, 36);
  EXPECT_EQ(text.Lines[1].LineIndent, 36);
  EXPECT_EQ(text.Lines[2].LineIndent, 0);
  EXPECT_EQ(text.LineText(text.Lines[2]), u"ccccccc ");

  LayoutFixture g;
  TableBuilder r(g.doc, Attrs({Attr(Sy::Align, u"right"), Attr(Sy::HSpace, u"0")}));
  r.Cell(u"abc");
  ThtmlTable& rt = AddTable(g.doc, r);
  TSection& beside = g.AddSection(u"aaaaaaa bbbbbbb ccccccc ddddddd");
  g.Layout(100);
  EXPECT_EQ(rt.Indent, 70);
  EXPECT_EQ(beside.LineText(beside.Lines[0]), u"aaaaaaa ");
  EXPECT_EQ(beside.Lines[0].LineIndent, 0);

  // Alone, the floating table still gives the document its height.
  LayoutFixture h;
  TableBuilder alone(h.doc, Attrs({Attr(Sy::Align, u"left")}));
  alone.Cell(u"abc");
  AddTable(h.doc, alone);
  EXPECT_EQ(h.Layout(100), 24);
}

TEST(TableQueries, LinksAndCursorsAreFoundThroughTheCells) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"ab");
  TCellObj& linked = b.Cell(u"");
  auto s = std::make_unique<TSection>(f.doc, 0, Justification::Left, TUrlTarget(), test::BaseFont());
  s->HRefChange(Sy::A, test::BaseFont(clBlue), TUrlTarget(u"go.htm", u""));
  s->AddText(u"go");
  linked.Cell.Add(std::move(s));
  AddTable(f.doc, b);
  f.Layout(400);

  THotSpot hot;
  ASSERT_TRUE(f.doc.GetURL(f.canvas, 25, 5, hot));
  EXPECT_EQ(hot.Url->Url, u"go.htm");
  THotSpot none;
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 21, 5, none));  // the spacing left of the cell
  EXPECT_FALSE(f.doc.GetURL(f.canvas, 5, 5, none));   // plain text

  TCursorHit hit;
  EXPECT_EQ(f.doc.FindCursor(f.canvas, 32, 5, hit), 3);
  EXPECT_EQ(hit.XR, 31);
  EXPECT_EQ(hit.YR, 3);
  EXPECT_EQ(hit.CaretHt, 18);
  EXPECT_EQ(hit.Cell, &linked.Cell);
}

TEST(TableQueries, ALinkInTheLowerRowsOfARowSpanIsFound) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  TCellObj& a = b.Cell(u"", Attrs({Attr(Sy::RowSpan, u"2"), Attr(Sy::Height, u"101"), Attr(Sy::VAlign, u"bottom")}));
  auto s = std::make_unique<TSection>(f.doc, 0, Justification::Left, TUrlTarget(u"low.htm", u""), test::BaseFont());
  s->AddText(u"go");
  a.Cell.Add(std::move(s));
  b.Cell(u"b");
  b.Row();
  b.Cell(u"c");
  AddTable(f.doc, b);
  f.Layout(400);
  THotSpot hot;
  ASSERT_TRUE(f.doc.GetURL(f.canvas, 5, 90, hot));  // row 1, where the bottom-aligned text is
  EXPECT_EQ(hot.Url->Url, u"low.htm");
}

TEST(TableQueries, SearchFindsTheFirstMatchInReadingOrder) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"ab");
  b.Cell(u"xa");
  b.Caption(u"xx", Attrs({Attr(Sy::Align, u"bottom")}));
  AddTable(f.doc, b);
  f.Layout(400);
  EXPECT_EQ(f.doc.FindString(0, u"x", true), 2);
  EXPECT_EQ(f.doc.FindString(3, u"x", true), 4);
  EXPECT_EQ(f.doc.FindString(0, u"XA", false), 2);
  EXPECT_EQ(f.doc.FindString(6, u"x", true), -1);
}

// depth tables, each the only content of the one around it; the innermost
// holds "ab".
ThtmlTable& Nested(LayoutFixture& f, int depth, TCellObj** innermost = nullptr) {
  std::unique_ptr<ThtmlTable> inner;
  TCellObj* deepest = nullptr;
  for (int level = 0; level < depth; ++level) {
    TableBuilder b(f.doc, {});
    TCellObj& cell = b.Cell(inner ? u"" : u"ab");
    if (inner)
      cell.Cell.Add(std::move(inner));
    else
      deepest = &cell;
    inner = b.Take();
  }
  ThtmlTable& outer = *inner;
  f.doc.Add(std::move(inner));
  if (innermost) *innermost = deepest;
  return outer;
}

TEST(TableNesting, ATableInACellIsPlacedWithItsCell) {
  LayoutFixture f;
  TCellObj* deep = nullptr;
  ThtmlTable& outer = Nested(f, 2, &deep);
  f.AddSection(u"z");
  f.Layout(400);
  EXPECT_EQ(outer.Widths, (std::vector<int>{26}));
  EXPECT_EQ(outer.SectionHeight, 30);
  const auto& inner = static_cast<const ThtmlTable&>(outer.RealCells()[0]->Cell[0]);
  EXPECT_EQ(inner.YValue, 3);
  EXPECT_EQ(FirstSection(*deep).YValue, 6);
  int x = 0, y = 0;
  ASSERT_TRUE(f.doc.CursorToXY(f.canvas, 1, x, y));
  EXPECT_EQ(x, 14);
  EXPECT_EQ(y, 6);
  EXPECT_EQ(f.doc[1].StartCurs, 2);
  EXPECT_EQ(f.DrawText(), (std::vector<std::string>{"TextOut 6,20 \"ab\"", "TextOut 0,44 \"z\""}));
}

// Counts the text measurements layout makes.
class CountingCanvas : public FixedCanvas {
 public:
  int TextWidth(std::u16string_view text) override {
    ++Measured;
    return FixedCanvas::TextWidth(text);
  }
  long Measured = 0;
};

long MeasurementsForDepth(int depth) {
  LayoutFixture f;
  Nested(f, depth);
  CountingCanvas canvas;
  canvas.Record = false;
  int curs = 0, maxWidth = 0;
  f.doc.DoLogic(canvas, 0, 400, curs, maxWidth);
  return canvas.Measured;
}

TEST(TableNesting, LayoutGrowsInProportionToTheDepth) {
  // Each table lays its cell out twice and measures it twice; done naively
  // that doubles with every level.
  const long ten = MeasurementsForDepth(10);
  const long twenty = MeasurementsForDepth(20);
  EXPECT_GT(ten, 0);
  EXPECT_LE(twenty, 3 * ten);
}

TEST(TableNesting, NewFontsAreMeasuredAtTheNextLayout) {
  LayoutFixture f;
  TableBuilder b(f.doc, {});
  b.Cell(u"ab");
  ThtmlTable& t = AddTable(f.doc, b);
  f.Layout(400);
  EXPECT_EQ(t.Widths, (std::vector<int>{20}));
  f.doc.SetFonts(u"Times New Roman", u"Courier New", clWhite, clBlue, clBlack, 24);
  f.Layout(400);
  EXPECT_EQ(t.Widths, (std::vector<int>{36}));
}

}  // namespace
}  // namespace quillet
