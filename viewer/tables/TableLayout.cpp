// ThtmlTable: layout. Column widths, then row heights in passes by row
// span, the cells placed in their rows, the captions, the table placed
// across the width, and a floating table entered into the indent manager.
#include <algorithm>
#include <numeric>

#include "viewer/layout/IndentManager.h"
#include "viewer/tables/Table.h"

namespace quillet {

int ThtmlTable::DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  YValue = Y;
  StartCurs = Curs;
  IMgr.SetLevel(Y, Level);
  const int left = IMgr.LeftIndent(Y) - IMgr.LfEdge;
  const int AW = IMgr.RightSide(Y) - IMgr.LeftIndent(Y);
  int W = AW;
  if (HasWidth()) W = SpecWidthPercent ? static_cast<int>(static_cast<long long>(SpecWidth) * AW / 1000) : SpecWidth;
  const int C = std::max(W - CellSpacing, kMinColumnsWidth);

  Initialize();
  Widths = ColumnWidths(canvas, C);
  Percents = PercentSizes(canvas, C).Pct;
  colStart_.assign(Widths.size() + 1, 0);
  std::partial_sum(Widths.begin(), Widths.end(), colStart_.begin() + 1);
  TableWidth = CellSpacing + colStart_.back();
  TotalWidth = std::max(TableWidth, captionMin_);

  // A top caption comes first; it does not depend on the rows.
  SectionHeight = 0;
  CaptionHeight = 0;
  int mw = 0;
  if (TopCaption) {
    CaptionHeight = Caption.Cell.DoLogic(canvas, Y, TotalWidth, Curs, mw);
    SectionHeight = CaptionHeight;
  }
  const int rowsTop = Y + SectionHeight;

  PlaceRows(rowsTop, RowHeights(canvas, rowsTop, Curs), Curs);
  SectionHeight += RowsHeight + CellSpacing;
  if (!TopCaption) {
    CaptionHeight = Caption.Cell.DoLogic(canvas, Y + SectionHeight, TotalWidth, Curs, mw);
    SectionHeight += CaptionHeight;
  }
  endCurs_ = Curs;

  PlaceAcross(left, AW);
  // The pane scrolls as far as the table reaches, its indent included.
  MaxWidth = Indent + TotalWidth;

  DrawHeight = SectionHeight;
  if (Float) {
    IMgr.AddFloat(Y, Justify == Justification::Right ? FloatSide::Right : FloatSide::Left, TotalWidth + 1,
                  SectionHeight, HSpace);
    SectionHeight = 0;
  }
  return SectionHeight;
}

// Row heights, in passes by row span. Each cell's content is laid out here
// once, for its width; placing it in its row (PlaceRows) only moves it. It
// is laid out where its row starts as far as the rows above are known, with
// the positions that follow the cells before it, so that in most tables it
// needs no moving at all (nested tables would otherwise be moved once for
// every table around them).
std::vector<int> ThtmlTable::RowHeights(Canvas& canvas, int rowsTop, int curs) {
  const int rows = static_cast<int>(Rows.size());
  std::vector<int> heights(static_cast<size_t>(rows), 0);
  // The passes in one walk over the cells in order of their row span (row
  // order within a span): only the spans that occur, so a cell spanning
  // thousands of rows costs no thousands of passes over every cell.
  std::vector<TCellObj*> byPass(cells_);
  std::stable_sort(byPass.begin(), byPass.end(),
                   [](const TCellObj* a, const TCellObj* b) { return a->RowSpan < b->RowSpan; });
  int mw = 0;
  int pass = 0;
  int above = 0, at = 0;  // the height of the rows above row at, in this pass
  for (TCellObj* cell : byPass) {
    if (cell->RowSpan != pass) {
      pass = cell->RowSpan;
      above = at = 0;
    }
    for (; at < cell->Row; ++at) above += heights[static_cast<size_t>(at)];
    cell->Wd = colStart_[static_cast<size_t>(cell->Col + cell->ColSpan)] - colStart_[static_cast<size_t>(cell->Col)];
    const int width = std::max(cell->Wd - CellSpacing - 2 * CellPadding, 0);
    cell->CellHeight = cell->Cell.DoLogic(canvas, rowsTop + above + CellSpacing + CellPadding, width, curs, mw);
    const int h = std::max(cell->CellHeight, cell->SpecHt - 2 * CellPadding) + 2 * CellPadding + CellSpacing;
    const auto first = heights.begin() + cell->Row;
    if (pass == 1) {
      *first = std::max(*first, h);
      continue;
    }
    const int spanned = std::accumulate(first, first + pass, 0);
    if (h > spanned) {
      const int share = (h - spanned) / pass;
      for (auto it = first; it != first + pass; ++it) *it += share;
      *(first + pass - 1) += (h - spanned) % pass;
    }
  }
  return heights;
}

// The rows at their heights, each cell moved into its place in them.
void ThtmlTable::PlaceRows(int rowsTop, const std::vector<int>& heights, int& Curs) {
  const int rows = static_cast<int>(Rows.size());
  rowTop_.assign(static_cast<size_t>(rows) + 1, 0);
  std::partial_sum(heights.begin(), heights.end(), rowTop_.begin() + 1);
  RowsHeight = rowTop_.back();
  for (int i = 0; i < rows; ++i) Rows[static_cast<size_t>(i)]->RowHeight = heights[static_cast<size_t>(i)];
  for (TCellObj* cell : cells_) {
    cell->Ht = rowTop_[static_cast<size_t>(cell->Row + cell->RowSpan)] - rowTop_[static_cast<size_t>(cell->Row)];
    const int room = std::max(cell->Ht - cell->CellHeight - CellSpacing - 2 * CellPadding, 0);
    cell->YIndent = cell->VAlign == VAlignment::Top ? 0 : cell->VAlign == VAlignment::Middle ? room / 2 : room;
    const int top = rowsTop + rowTop_[static_cast<size_t>(cell->Row)] + CellSpacing + CellPadding + cell->YIndent;
    if (top != cell->Cell.TopY || Curs != cell->Cell.StartCurs)
      cell->Cell.MoveBy(top - cell->Cell.TopY, Curs - cell->Cell.StartCurs);
    Curs += cell->Cell.Len;
  }
}

// The table across the available width AW from left, by its alignment.
void ThtmlTable::PlaceAcross(int left, int AW) {
  Indent = 0;
  if (TotalWidth < AW) {
    if (Justify == Justification::Center)
      Indent = (AW - TotalWidth) / 2;
    else if (Justify == Justification::Right)
      Indent = AW - TotalWidth;
  }
  Indent += left;
  TableIndent = Indent + (TotalWidth - TableWidth) / 2;
}

}  // namespace quillet
