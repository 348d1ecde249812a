#pragma once
// Tables: ThtmlTable is the block that lays out and draws an HTML table,
// rows (TCellList) of cells (TCellObj, viewer/layout/Cell.h) that each hold a TCell
// of ordinary blocks, and a caption above or below the rows.
//
// Building, as the parser's table loop does it:
//
//   auto table = std::make_unique<ThtmlTable>(doc, tableAttributes, level, &enclosingCell, alignment);
//   TCellList& row = table->AddRow(trAttributes);        // an implied TR: empty attributes
//   TCellObj& cell = row.AddCell(std::make_unique<TCellObj>(&doc, tdAttributes, row.VAlign));
//   cell.Cell.Add(...);                                  // the cell's blocks
//   TCell& caption = table->StartCaption(captionAttributes);
//   caption.Add(...);
//   enclosingCell.Add(std::move(table));
//
// Nothing is added once the table has been measured: the first measuring
// expands the spans, hands the backgrounds down and counts the columns.
//
// Layout works in widths that include the cell spacing: column j takes
// Widths[j] pixels, of which the first CellSpacing are the gap left of its
// cells and the next CellPadding the padding; the grid ends with one more
// CellSpacing on the right and at the bottom.
#include <memory>
#include <optional>
#include <vector>

#include "viewer/layout/Cell.h"
#include "viewer/layout/SectionBase.h"
#include "viewer/text/Attributes.h"

namespace quillet {

// One row: its cells in order (fillers included once spans are expanded).
class TCellList {
 public:
  TCellList() = default;
  // From TR: BGCOLOR; ALIGN and VALIGN are kept for the parser, which gives
  // them to the row's cells.
  explicit TCellList(const TAttributeList& attributes);

  std::vector<std::unique_ptr<TCellObj>> Cells;
  bool BkGnd = false;
  TColor BkColor = 0;
  // The row's ALIGN, when it has a known one, and its VALIGN (middle when
  // none).
  std::optional<Justification> Align;
  VAlignment VAlign = VAlignment::Middle;
  // Found by layout.
  int RowHeight = 0;

  TCellObj& AddCell(std::unique_ptr<TCellObj> cell);
  int Count() const { return static_cast<int>(Cells.size()); }
};

class ThtmlTable : public TSectionBase {
 public:
  static constexpr int kMaxColumns = 30;
  // Clamps of the TABLE attributes.
  static constexpr int kMaxCellPadding = 50;
  static constexpr int kMaxCellSpacing = 40;
  static constexpr int kMaxHSpace = 20;
  // The narrowest width the columns are given.
  static constexpr int kMinColumnsWidth = 20;
  // The largest WIDTH and HEIGHT in pixels taken as given; larger ones are
  // taken as this.
  static constexpr int kMaxPixels = 32000;

  // From the TABLE attributes (ALIGN, HSPACE, BGCOLOR, BORDERCOLOR, BORDER,
  // CELLPADDING, CELLSPACING, WIDTH) at the parser's indent level; justify
  // is the paragraph alignment in force, enclosing the cell the table goes
  // into (its background is handed down when the table has none).
  ThtmlTable(TSectionList& doc, const TAttributeList& attributes, int level, const TCell* enclosing,
             Justification justify);

  std::string_view ClassName() const override { return "ThtmlTable"; }

  // --- Building (the parser's side) ---

  // Appends a row made from TR's attributes.
  TCellList& AddRow(const TAttributeList& attributes);
  // Appends a row made by the caller.
  TCellList& AppendRow(std::unique_ptr<TCellList> row);
  // The caption's cell, for CAPTION: ALIGN "bottom" puts it below the rows.
  TCell& StartCaption(const TAttributeList& attributes);

  // --- The table ---

  std::vector<std::unique_ptr<TCellList>> Rows;
  TCellObj Caption;
  bool TopCaption = true;
  Justification Justify;
  // ALIGN LEFT or RIGHT: text flows beside the table.
  bool Float = false;
  int HSpace = 5;
  bool BkGnd = false;
  TColor BkColor = 0;
  bool HasBorderColor = false;
  TColor BorderColor = 0;
  bool Border = false;
  int CellPadding = 1;
  int CellSpacing = 2;
  // WIDTH: pixels, or with SpecWidthPercent tenths of a percent; 0 for none.
  int SpecWidth = 0;
  bool SpecWidthPercent = false;
  int Level;

  // Once spans are expanded (at the first measuring).
  bool Initialized = false;
  int NumCols = 0;
  bool HasPixelCells = false;
  // Layout: each column's width and percentage (tenths, 0 for none).
  std::vector<int> Widths;
  std::vector<int> Percents;
  int TableWidth = 0;  // CellSpacing + the sum of Widths
  int TotalWidth = 0;  // at least the caption's minimum width
  int Indent = 0;       // x of the block, relative to the enclosing cell
  int TableIndent = 0;  // x of the grid, likewise
  int CaptionHeight = 0;
  int RowsHeight = 0;

  bool HasWidth() const { return SpecWidth > 0; }

  // --- Geometry of the last layout (x relative to the enclosing cell's
  // left edge, y document coordinates) ---

  // The real cells (no fillers) in row order.
  const std::vector<TCellObj*>& RealCells() const { return cells_; }
  // The top of row i (i up to the number of rows: the rows' end).
  int RowY(int i) const;
  // The top-left corner of a cell's column and row (its spacing included).
  int CellX(const TCellObj& cell) const;
  int CellY(const TCellObj& cell) const { return RowY(cell.Row); }
  // Where its content's left edge is.
  int ContentX(const TCellObj& cell) const { return CellX(cell) + CellSpacing + CellPadding; }
  // The caption's top.
  int CaptionY() const;

  // --- Block operations ---

  int DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int Draw(Canvas& canvas, const Rect& ClipRect, IndentManager& IMgr, int X, int Y) override;
  bool GetURL(Canvas& canvas, int X, int Y, THotSpot& hot) override;
  bool PtInObject(int X, int Y, TObjectHit& hit) override;
  int FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit) override;
  int FindString(int From, std::u16string_view Text, bool MatchCase) override;
  int FindStringBefore(int Before, std::u16string_view Text, bool MatchCase) override;
  bool CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y) override;
  bool GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj) override;
  void UpdateFonts() override;
  void MinMaxWidth(Canvas& canvas, int& Min, int& Max) override;
  void MoveBy(int dy, int dcurs) override;

  // Expands the spans, hands backgrounds down and counts the columns, the
  // first time it is called; raises EProcessError when there are more than
  // kMaxColumns.
  void Initialize();

  // Each column's minimum, maximum and percentage as one of the two
  // measuring passes finds them.
  struct ColumnSizes {
    std::vector<int> Min;
    std::vector<int> Max;
    std::vector<int> Pct;
    int TotalMin() const;
    int TotalMax() const;
  };
  // The plain pass: pixel widths count as minimum and maximum.
  ColumnSizes PlainSizes(Canvas& canvas);
  // The percentage-aware pass; pixel widths count as percentages of width
  // (none when width is 0).
  ColumnSizes PercentSizes(Canvas& canvas, int width);
  // The columns' widths for a width C to divide.
  std::vector<int> ColumnWidths(Canvas& canvas, int C);

 private:
  // The phases of Initialize: backgrounds handed down from the table and
  // the rows, fillers for the spans, the real cells indexed by position.
  void InheritBackgrounds();
  void ExpandColumnSpans();
  void ExpandRowSpans();
  void IndexCells();
  [[noreturn]] void TooManyColumns();
  // The phases of DrawLogic (TableLayout.cpp).
  std::vector<int> RowHeights(Canvas& canvas, int rowsTop, int curs);
  void PlaceRows(int rowsTop, const std::vector<int>& heights, int& Curs);
  void PlaceAcross(int left, int AW);
  // The cells' and the caption's minimum and maximum widths, measured once
  // per layout of the document (or after UpdateFonts).
  void Measure(Canvas& canvas);
  template <class Visit>
  ColumnSizes MeasureBySpan(Canvas& canvas, Visit visit);
  int CellPercent(const TCellObj& cell, int width) const;
  std::vector<int> AllocatePercentages(const ColumnSizes& s, int C) const;
  std::vector<int> NaturalWidths(ColumnSizes s, int C) const;
  // The real cell covering a point (x relative to the enclosing cell, y a
  // document y) and the rows' or captions' part the point is in.
  enum class Part { None, Caption, Grid };
  Part Locate(int x, int docY, TCellObj*& cell) const;
  int RowsTop() const;
  // Drawing (TableDraw.cpp).
  void DrawCells(Canvas& canvas, const Rect& ClipRect, int X, int rowsTop, std::vector<Rect>& drawn);
  void FillSpacing(Canvas& canvas, const Rect& ClipRect, int X, int rowsTop, const std::vector<Rect>& drawn);

  const TCell* enclosing_;
  bool tooManyColumns_ = false;
  // The real cells in row order, and for each grid position (row-major) the
  // index of the real cell covering it, -1 for none.
  std::vector<TCellObj*> cells_;
  std::vector<int> owner_;
  // Column and row origins: colStart_[j] is the sum of the widths before
  // column j; rowTop_[i] the sum of the row heights above row i.
  std::vector<int> colStart_;
  std::vector<int> rowTop_;
  // Measured content widths (without padding and spacing).
  std::vector<int> cellMin_;
  std::vector<int> cellMax_;
  int captionMin_ = 0;
  int captionMax_ = 0;
  bool measured_ = false;
  unsigned measuredGeneration_ = 0;
  // One past the last cursor position of the table's text.
  int endCurs_ = 0;
};

}  // namespace quillet
