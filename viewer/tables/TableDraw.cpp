// ThtmlTable: drawing. Captions, cell backgrounds and contents, the sunken
// cell frames and the raised table frame, and BORDERCOLOR in the spacing
// between and around the cells.
#include <algorithm>

#include "viewer/layout/SectionList.h"
#include "viewer/style/Bevel.h"
#include "viewer/tables/Table.h"

namespace quillet {

namespace {

// Fills what of area no hole covers, in horizontal bands: wherever a hole
// starts or ends a new band begins, and within a band the gaps between the
// holes crossing it are filled.
void FillAround(Canvas& canvas, const Rect& area, std::vector<Rect> holes, TColor color) {
  if (area.Empty()) return;
  std::erase_if(holes, [&area](const Rect& h) { return h.Empty() || !h.Intersects(area); });
  std::vector<int> edges = {area.Top, area.Bottom};
  for (const Rect& h : holes) {
    if (h.Top > area.Top && h.Top < area.Bottom) edges.push_back(h.Top);
    if (h.Bottom > area.Top && h.Bottom < area.Bottom) edges.push_back(h.Bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::sort(holes.begin(), holes.end(), [](const Rect& a, const Rect& b) { return a.Top < b.Top; });

  size_t next = 0;              // the first hole not yet begun
  std::vector<Rect> active;     // holes crossing the current band
  std::vector<std::pair<int, int>> spans;
  for (size_t e = 0; e + 1 < edges.size(); ++e) {
    const int top = edges[e], bottom = edges[e + 1];
    std::erase_if(active, [top](const Rect& h) { return h.Bottom <= top; });
    while (next < holes.size() && holes[next].Top <= top) {
      if (holes[next].Bottom > top) active.push_back(holes[next]);
      ++next;
    }
    spans.clear();
    for (const Rect& h : active) spans.emplace_back(std::max(h.Left, area.Left), std::min(h.Right, area.Right));
    std::sort(spans.begin(), spans.end());
    int x = area.Left;
    for (const auto& [l, r] : spans) {
      if (l > x) canvas.FillRect({x, top, l, bottom}, color);
      x = std::max(x, r);
    }
    if (x < area.Right) canvas.FillRect({x, top, area.Right, bottom}, color);
  }
}

}  // namespace

int ThtmlTable::Draw(Canvas& canvas, const Rect& ClipRect, IndentManager&, int X, int Y) {
  YValue = Y;
  const int bottom = Y + SectionHeight;
  if (Y + DrawHeight <= ClipRect.Top || Y >= ClipRect.Bottom) return bottom;

  if (TopCaption) Caption.Cell.Draw(canvas, ClipRect, Y, X + Indent, TotalWidth);
  const int rowsTop = Y + (TopCaption ? CaptionHeight : 0);
  std::vector<Rect> drawn;
  DrawCells(canvas, ClipRect, X, rowsTop, drawn);
  if (HasBorderColor) FillSpacing(canvas, ClipRect, X, rowsTop, drawn);
  if (Border) {
    const int gx = X + TableIndent;
    const Rect grid{gx, rowsTop, gx + TableWidth, rowsTop + RowsHeight + CellSpacing};
    DrawBevel(canvas, grid, BevelLightColor(canvas, PageBackground()), clBtnShadow);
  }
  if (!TopCaption) Caption.Cell.Draw(canvas, ClipRect, rowsTop + RowsHeight + CellSpacing, X + Indent, TotalWidth);
  return bottom;
}

void ThtmlTable::DrawCells(Canvas& canvas, const Rect& ClipRect, int X, int rowsTop, std::vector<Rect>& drawn) {
  const int gx = X + TableIndent;
  const TColor light = BevelLightColor(canvas, PageBackground());
  for (TCellObj* cell : cells_) {
    const int x = gx + colStart_[static_cast<size_t>(cell->Col)];
    const int y = rowsTop + rowTop_[static_cast<size_t>(cell->Row)];
    const Rect r{x + CellSpacing, y + CellSpacing, x + cell->Wd, y + cell->Ht};
    // With a border the frame lies one pixel outside the cell.
    const Rect outer = Border ? Rect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1} : r;
    if (outer.Bottom <= ClipRect.Top || outer.Top >= ClipRect.Bottom) continue;
    drawn.push_back(outer);
    if (cell->Cell.BkGnd && !r.Empty()) canvas.FillRect(r, cell->Cell.BkColor | kPaletteRelative);
    cell->Cell.Draw(canvas, ClipRect, r.Top + CellPadding + cell->YIndent, r.Left + CellPadding,
                    cell->Wd - CellSpacing - 2 * CellPadding);
    if (Border) DrawBevel(canvas, outer, clBtnShadow, light);
  }
}

void ThtmlTable::FillSpacing(Canvas& canvas, const Rect& ClipRect, int X, int rowsTop,
                             const std::vector<Rect>& drawn) {
  const int gx = X + TableIndent;
  const Rect area{gx, std::max(rowsTop, ClipRect.Top), gx + TableWidth,
                  std::min(rowsTop + RowsHeight + CellSpacing, ClipRect.Bottom)};
  FillAround(canvas, area, drawn, BorderColor | kPaletteRelative);
}

}  // namespace quillet
