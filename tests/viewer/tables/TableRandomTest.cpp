// Tables of random shape (spans past the edges, percentages over 100,
// widths too small, empty rows, captions, tables inside cells), laid out at
// random widths: what must hold whatever the markup.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "tests/support/ScriptedUi.h"
#include "tests/viewer/tables/TableFixture.h"

namespace quillet {
namespace {

using test::Attr;
using test::Attrs;
using test::Bare;
using test::TableBuilder;

class Random {
 public:
  explicit Random(unsigned seed) : state_(seed) {}
  int Below(int n) {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 8) % static_cast<unsigned>(n));
  }
  bool OneIn(int n) { return Below(n) == 0; }

 private:
  unsigned state_;
};

std::u16string Number(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::u16string Words(Random& r) {
  static const char16_t* const kWords[] = {u"a", u"bb", u"ccc", u"dddddd", u"eeeeeeeeeeee", u"f g"};
  std::u16string text;
  for (int n = r.Below(5); n > 0; --n) {
    if (!text.empty()) text += u' ';
    text += kWords[r.Below(6)];
  }
  return text;
}

TAttributeList RandomWidth(Random& r, TAttributeList list) {
  switch (r.Below(5)) {
    case 0: list.Add(Attr(Sy::Width, Number(r.Below(400)))); break;
    case 1: list.Add(Attr(Sy::Width, Number(r.Below(130)) + u"%")); break;
    default: break;
  }
  return list;
}

std::unique_ptr<ThtmlTable> RandomTable(TSectionList& doc, Random& r, int depth) {
  TAttributeList attributes;
  if (r.OneIn(3)) attributes.Add(Bare(Sy::Border));
  if (r.OneIn(3)) attributes.Add(Attr(Sy::CellPadding, Number(r.Below(60))));
  if (r.OneIn(3)) attributes.Add(Attr(Sy::CellSpacing, Number(r.Below(45))));
  if (r.OneIn(4)) attributes.Add(Attr(Sy::BorderColor, u"red"));
  if (r.OneIn(4)) attributes.Add(Attr(Sy::Align, r.OneIn(2) ? u"left" : u"right"));
  TableBuilder b(doc, RandomWidth(r, attributes));
  for (int row = r.Below(6); row > 0; --row) {
    b.Row();
    for (int cell = r.Below(6); cell > 0; --cell) {
      TAttributeList a = RandomWidth(r, {});
      if (r.OneIn(4)) a.Add(Attr(Sy::ColSpan, Number(r.OneIn(20) ? 40 : r.Below(5))));
      if (r.OneIn(4)) a.Add(Attr(Sy::RowSpan, Number(r.Below(9))));
      if (r.OneIn(5)) a.Add(Attr(Sy::Height, Number(r.Below(200))));
      if (r.OneIn(4)) a.Add(Attr(Sy::VAlign, r.OneIn(2) ? u"top" : u"bottom"));
      TCellObj& c = b.Cell(Words(r), a);
      if (depth < 2 && r.OneIn(6)) c.Cell.Add(RandomTable(doc, r, depth + 1));
    }
  }
  if (r.OneIn(3)) b.Caption(Words(r) + u"x", Attrs({Attr(Sy::Align, r.OneIn(2) ? u"bottom" : u"top")}));
  return b.Take();
}

// Checks a laid-out table (width: the width it was laid out in, or -1 when
// unknown) and returns the cursor position after its rows.
int CheckLaidOut(const ThtmlTable& t, int width) {
  EXPECT_EQ(static_cast<int>(t.Widths.size()), t.NumCols);
  for (const int w : t.Widths) EXPECT_GE(w, 0);
  const int C = [&] {
    int W = width;
    if (t.HasWidth()) W = t.SpecWidthPercent ? t.SpecWidth * width / 1000 : t.SpecWidth;
    return std::max(W - t.CellSpacing, ThtmlTable::kMinColumnsWidth);
  }();
  const int total = std::accumulate(t.Widths.begin(), t.Widths.end(), 0);
  EXPECT_EQ(t.TableWidth, total + t.CellSpacing);
  if (width >= 0 && t.HasWidth() && t.NumCols > 0) {
    EXPECT_GE(total, C);
  }
  int curs = t.StartCurs + (t.TopCaption ? t.Caption.Cell.Len : 0);
  for (const TCellObj* cell : t.RealCells()) {
    // Reading order, without gaps.
    EXPECT_EQ(cell->Cell.StartCurs, curs);
    curs += cell->Cell.Len;
    int rows = 0;
    for (int i = cell->Row; i < cell->Row + cell->RowSpan; ++i) rows += t.Rows[static_cast<size_t>(i)]->RowHeight;
    EXPECT_EQ(cell->Ht, rows);
    // The content lies within its cell, padding kept.
    EXPECT_GE(cell->YIndent, 0);
    EXPECT_EQ(cell->Cell.TopY, t.CellY(*cell) + t.CellSpacing + t.CellPadding + cell->YIndent);
    EXPECT_LE(cell->Cell.TopY + cell->CellHeight, t.CellY(*cell) + cell->Ht - t.CellPadding);
    for (const auto& block : cell->Cell.Blocks())
      if (const auto* inner = dynamic_cast<const ThtmlTable*>(block.get())) CheckLaidOut(*inner, -1);
  }
  return curs;
}

TEST(TableShapes, AnyShapeLaysOutDrawsAndAnswersQueries) {
  Random r(7);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    test::ScriptedUi ui;
    FixedCanvas canvas;
    canvas.Record = round % 10 == 0;
    TSectionList doc;
    doc.Callbacks().Messages = &ui;
    doc.Add(RandomTable(doc, r, 0));
    TableBuilder text(doc, {});
    text.AddText(doc, u"after the table");
    const int width = r.OneIn(5) ? r.Below(30) : r.Below(800);
    int curs = 0, maxWidth = 0;
    const int height = doc.DoLogic(canvas, 0, width, curs, maxWidth);
    EXPECT_GE(height, 0);
    if (doc.Count() == 2) {
      const auto& t = static_cast<const ThtmlTable&>(doc[0]);
      // Only the outermost table's width is known here; inner ones are
      // checked for everything else.
      const int after = CheckLaidOut(t, width) + (t.TopCaption ? 0 : t.Caption.Cell.Len);
      EXPECT_EQ(doc[1].StartCurs, after);
    }
    doc.Draw(canvas, {0, 0, std::max(width, maxWidth), height}, 0, 0, width);
    for (int probe = 0; probe < 20; ++probe) {
      const int x = r.Below(std::max(maxWidth, 1) + 20) - 10, y = r.Below(height + 20) - 10;
      THotSpot hot;
      doc.GetURL(canvas, x, y, hot);
      TCursorHit hit;
      doc.FindCursor(canvas, x, y, hit);
      int cx = 0, cy = 0;
      doc.CursorToXY(canvas, r.Below(curs + 2), cx, cy);
    }
    EXPECT_LE(doc.FindString(0, u"x", true), curs);
    // Searching backwards finds the last of the matches searching forwards
    // finds before the position.
    std::vector<int> matches;
    for (int at = doc.FindString(0, u"x", true); at >= 0; at = doc.FindString(at + 1, u"x", true)) matches.push_back(at);
    for (const int before : {0, curs / 2, curs + 1}) {
      int last = -1;
      for (const int m : matches) last = m < before ? m : last;
      EXPECT_EQ(doc.FindStringBefore(before, u"X", false), last) << before;
    }
  }
}

}  // namespace
}  // namespace quillet
