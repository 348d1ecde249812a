// ThtmlTable: building from the attributes, the expansion of spans, and the
// queries that go through the cells.
#include "viewer/tables/Table.h"

#include <algorithm>
#include <cstdlib>

#include "viewer/layout/SectionList.h"
#include "viewer/style/Colors.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {

namespace {

bool HasPercent(const TAttribute& a) { return a.Text.find(u'%') != std::u16string::npos; }

// Requested sizes in pixels are kept within the widest the layout works
// with, so that sums of them stay far from overflowing.
int Pixels(int32_t n) { return std::min<int32_t>(n, ThtmlTable::kMaxPixels); }

bool ReadBackground(const TAttributeList& attributes, TColor& color) {
  const TAttribute* a = attributes.Find(Sy::BgColor);
  return a && ColorFromString(a->Text, color);
}

// A filler standing for a spanned grid position; it keeps the row span of
// the cell it belongs to, so that the rows below are filled too.
std::unique_ptr<TCellObj> Filler(TSectionList* doc, int rowSpan) {
  auto filler = std::make_unique<TCellObj>(doc);
  filler->ColSpan = 0;
  filler->RowSpan = rowSpan;
  return filler;
}

}  // namespace

TCellObj::TCellObj(TSectionList* doc, const TAttributeList& attributes, VAlignment rowVAlign)
    : VAlign(ReadVAlignment<VAlignment>(attributes).value_or(rowVAlign)), Cell(doc) {
  if (const TAttribute* a = attributes.Find(Sy::ColSpan)) ColSpan = std::max(a->Number, 1);
  if (const TAttribute* a = attributes.Find(Sy::RowSpan)) RowSpan = std::max(a->Number, 1);
  if (const TAttribute* a = attributes.Find(Sy::Width)) {
    if (!HasPercent(*a)) {
      if (a->Number > 0) SpecWd = Pixels(a->Number);
    } else if (a->Number >= 1 && a->Number <= 100) {
      SpecWd = a->Number * 10;
      SpecWdPercent = true;
    }
  }
  if (const TAttribute* a = attributes.Find(Sy::Height); a && a->Number > 0) SpecHt = Pixels(a->Number);
  Cell.BkGnd = ReadBackground(attributes, Cell.BkColor);
}

TCellList::TCellList(const TAttributeList& attributes)
    : Align(ReadAlignment<Justification>(attributes)),
      VAlign(ReadVAlignment<VAlignment>(attributes).value_or(VAlignment::Middle)) {
  BkGnd = ReadBackground(attributes, BkColor);
}

TCellObj& TCellList::AddCell(std::unique_ptr<TCellObj> cell) {
  Cells.push_back(std::move(cell));
  return *Cells.back();
}

ThtmlTable::ThtmlTable(TSectionList& doc, const TAttributeList& attributes, int level, const TCell* enclosing,
                       Justification justify)
    : Caption(&doc), Justify(justify), Level(level), enclosing_(enclosing) {
  ParentSectionList = &doc;
  if (const std::optional<Justification> align = ReadAlignment<Justification>(attributes)) {
    Justify = *align;
    Float = *align != Justification::Center;
  }
  if (const TAttribute* a = attributes.Find(Sy::HSpace))
    HSpace = a->Number < -kMaxHSpace || a->Number > kMaxHSpace ? kMaxHSpace : std::abs(a->Number);
  BkGnd = ReadBackground(attributes, BkColor);
  if (const TAttribute* a = attributes.Find(Sy::BorderColor)) HasBorderColor = ColorFromString(a->Text, BorderColor);
  if (const TAttribute* a = attributes.Find(Sy::Border)) Border = a->Number > 0;
  if (const TAttribute* a = attributes.Find(Sy::CellPadding); a && a->Number >= 0)
    CellPadding = std::min(a->Number, kMaxCellPadding);
  if (const TAttribute* a = attributes.Find(Sy::CellSpacing); a && a->Number >= 0)
    CellSpacing = std::min(a->Number, kMaxCellSpacing);
  if (Border) CellSpacing = std::max(CellSpacing + 2, 1);
  if (const TAttribute* a = attributes.Find(Sy::Width)) {
    SpecWidthPercent = HasPercent(*a);
    if (!SpecWidthPercent) {
      if (a->Number > 0) SpecWidth = Pixels(a->Number);
    } else if (a->Number >= 1 && a->Number <= 100) {
      SpecWidth = a->Number * 10;
    }
  }
}

TCellList& ThtmlTable::AddRow(const TAttributeList& attributes) {
  return AppendRow(std::make_unique<TCellList>(attributes));
}

TCellList& ThtmlTable::AppendRow(std::unique_ptr<TCellList> row) {
  Rows.push_back(std::move(row));
  return *Rows.back();
}

TCell& ThtmlTable::StartCaption(const TAttributeList& attributes) {
  if (const TAttribute* a = attributes.Find(Sy::Align))
    TopCaption = VAlignmentFromString<VAlignment>(a->Text) != VAlignment::Bottom;
  return Caption.Cell;
}

void ThtmlTable::Initialize() {
  if (tooManyColumns_) throw EProcessError(kTooManyColumnsMessage);
  if (Initialized) return;
  InheritBackgrounds();
  ExpandColumnSpans();
  ExpandRowSpans();
  NumCols = 0;
  for (const auto& row : Rows) NumCols = std::max(NumCols, row->Count());
  if (NumCols > kMaxColumns) TooManyColumns();
  IndexCells();
  Initialized = true;
}

void ThtmlTable::TooManyColumns() {
  tooManyColumns_ = true;
  throw EProcessError(kTooManyColumnsMessage);
}

void ThtmlTable::InheritBackgrounds() {
  if (!BkGnd && enclosing_ && enclosing_->BkGnd) {
    BkGnd = true;
    BkColor = enclosing_->BkColor;
  }
  for (const auto& row : Rows)
    for (const auto& cell : row->Cells) {
      if (cell->Cell.BkGnd) continue;
      if (row->BkGnd) {
        cell->Cell.BkGnd = true;
        cell->Cell.BkColor = row->BkColor;
      } else if (BkGnd) {
        cell->Cell.BkGnd = true;
        cell->Cell.BkColor = BkColor;
      }
    }
}

// A row is counted before it is expanded, so that a huge COLSPAN fails at
// once instead of making its fillers first.
void ThtmlTable::ExpandColumnSpans() {
  for (const auto& row : Rows) {
    long columns = 0;
    for (const auto& cell : row->Cells) columns += std::max(cell->ColSpan, 1);
    if (columns > kMaxColumns) TooManyColumns();
    std::vector<std::unique_ptr<TCellObj>> expanded;
    expanded.reserve(static_cast<size_t>(columns));
    for (auto& cell : row->Cells) {
      const int span = cell->ColSpan;
      const int rowSpan = cell->RowSpan;
      expanded.push_back(std::move(cell));
      for (int k = 1; k < span; ++k) expanded.push_back(Filler(ParentSectionList, rowSpan));
    }
    row->Cells = std::move(expanded);
  }
}

// Column by column; a span is cut to the rows left, and each row it reaches
// gets a filler at its column (at its end when shorter). The fillers each
// row will get are counted first, so that spans that overfill rows fail at
// once instead of making thousands of fillers.
void ThtmlTable::ExpandRowSpans() {
  const int rows = static_cast<int>(Rows.size());
  std::vector<int> starts(static_cast<size_t>(rows) + 1, 0);  // spans reaching a row, as differences
  for (int i = 0; i < rows; ++i)
    for (const auto& cell : Rows[static_cast<size_t>(i)]->Cells) {
      const int span = std::min(cell->RowSpan, rows - i);
      if (span < 2) continue;
      ++starts[static_cast<size_t>(i + 1)];
      --starts[static_cast<size_t>(i + span)];
    }
  for (int i = 0, reaching = 0; i < rows; ++i) {
    reaching += starts[static_cast<size_t>(i)];
    if (Rows[static_cast<size_t>(i)]->Count() + reaching > kMaxColumns) TooManyColumns();
  }
  for (size_t j = 0;; ++j) {
    bool any = false;
    for (int i = 0; i < rows; ++i) {
      auto& cells = Rows[static_cast<size_t>(i)]->Cells;
      if (j >= cells.size()) continue;
      any = true;
      TCellObj& cell = *cells[j];
      cell.RowSpan = std::min(cell.RowSpan, rows - i);
      for (int k = 1; k < cell.RowSpan; ++k) {
        auto& below = Rows[static_cast<size_t>(i + k)]->Cells;
        below.insert(below.begin() + static_cast<std::ptrdiff_t>(std::min(j, below.size())),
                     Filler(ParentSectionList, 1));
      }
    }
    if (!any) break;
  }
}

// The real cells and the grid positions each covers (the first cell to
// claim a position keeps it where broken markup makes cells overlap).
void ThtmlTable::IndexCells() {
  const int rows = static_cast<int>(Rows.size());
  cells_.clear();
  owner_.assign(static_cast<size_t>(rows) * static_cast<size_t>(NumCols), -1);
  HasPixelCells = false;
  for (int i = 0; i < rows; ++i) {
    const auto& cells = Rows[static_cast<size_t>(i)]->Cells;
    for (int j = 0; j < static_cast<int>(cells.size()); ++j) {
      TCellObj& cell = *cells[static_cast<size_t>(j)];
      if (cell.IsFiller()) continue;
      cell.Row = i;
      cell.Col = j;
      if (!cell.SpecWdPercent && cell.SpecWd > 0) HasPixelCells = true;
      const int index = static_cast<int>(cells_.size());
      cells_.push_back(&cell);
      for (int r = i; r < i + cell.RowSpan; ++r)
        for (int c = j; c < std::min(j + cell.ColSpan, NumCols); ++c) {
          int& slot = owner_[static_cast<size_t>(r) * static_cast<size_t>(NumCols) + static_cast<size_t>(c)];
          if (slot < 0) slot = index;
        }
    }
  }
}

int ThtmlTable::RowsTop() const { return YValue + (TopCaption ? CaptionHeight : 0); }

int ThtmlTable::RowY(int i) const {
  if (rowTop_.empty()) return RowsTop();
  return RowsTop() + rowTop_[static_cast<size_t>(std::clamp(i, 0, static_cast<int>(rowTop_.size()) - 1))];
}

int ThtmlTable::CellX(const TCellObj& cell) const {
  if (colStart_.empty()) return TableIndent;
  return TableIndent + colStart_[static_cast<size_t>(std::clamp(cell.Col, 0, static_cast<int>(colStart_.size()) - 1))];
}

int ThtmlTable::CaptionY() const { return TopCaption ? YValue : RowsTop() + RowsHeight + CellSpacing; }

ThtmlTable::Part ThtmlTable::Locate(int x, int docY, TCellObj*& cell) const {
  cell = nullptr;
  const int rowsTop = RowsTop();
  const int rowsEnd = rowsTop + RowsHeight + CellSpacing;
  if (TopCaption ? docY < rowsTop : docY >= rowsEnd) return Part::Caption;
  if (colStart_.size() < 2 || rowTop_.size() < 2) return Part::None;
  const int gx = x - TableIndent;
  const int gy = docY - rowsTop;
  if (gx < 0 || gx >= colStart_.back() || gy < 0 || gy >= rowTop_.back()) return Part::None;
  const auto col = std::upper_bound(colStart_.begin(), colStart_.end(), gx) - colStart_.begin() - 1;
  const auto row = std::upper_bound(rowTop_.begin(), rowTop_.end(), gy) - rowTop_.begin() - 1;
  const int index = owner_[static_cast<size_t>(row) * static_cast<size_t>(NumCols) + static_cast<size_t>(col)];
  if (index < 0) return Part::None;
  cell = cells_[static_cast<size_t>(index)];
  return Part::Grid;
}

bool ThtmlTable::GetURL(Canvas& canvas, int X, int Y, THotSpot& hot) {
  TCellObj* cell = nullptr;
  switch (Locate(X, YValue + Y, cell)) {
    case Part::Caption: return Caption.Cell.GetURL(canvas, X - Indent, YValue + Y, hot);
    case Part::Grid: return cell->Cell.GetURL(canvas, X - ContentX(*cell), YValue + Y, hot);
    default: return false;
  }
}

bool ThtmlTable::PtInObject(int X, int Y, TObjectHit& hit) {
  TCellObj* cell = nullptr;
  switch (Locate(X, YValue + Y, cell)) {
    case Part::Caption: return Caption.Cell.PtInObject(X - Indent, YValue + Y, hit);
    case Part::Grid: return cell->Cell.PtInObject(X - ContentX(*cell), YValue + Y, hit);
    default: return false;
  }
}

int ThtmlTable::FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit) {
  TCellObj* cell = nullptr;
  int x = 0;
  TCell* target = nullptr;
  switch (Locate(X, YValue + Y, cell)) {
    case Part::Caption:
      x = Indent;
      target = &Caption.Cell;
      break;
    case Part::Grid:
      x = ContentX(*cell);
      target = &cell->Cell;
      break;
    default: return -1;
  }
  const int pos = target->FindCursor(canvas, X - x, YValue + Y, hit);
  if (pos < 0) return -1;
  // The cell answers in its own x and in document y; the caller wants them
  // relative to the enclosing cell and to this block.
  hit.XR += x;
  hit.YR -= YValue;
  return pos;
}

int ThtmlTable::FindString(int From, std::u16string_view Text, bool MatchCase) {
  // In document order, so that the first match found is the first after
  // From: a bottom caption's text comes after the cells'.
  if (TopCaption)
    if (const int pos = Caption.Cell.FindString(From, Text, MatchCase); pos >= 0) return pos;
  for (TCellObj* cell : cells_) {
    if (cell->Cell.StartCurs + cell->Cell.Len <= From) continue;
    if (const int pos = cell->Cell.FindString(From, Text, MatchCase); pos >= 0) return pos;
  }
  if (!TopCaption) return Caption.Cell.FindString(From, Text, MatchCase);
  return -1;
}

int ThtmlTable::FindStringBefore(int Before, std::u16string_view Text, bool MatchCase) {
  // FindString's order backwards.
  if (!TopCaption)
    if (const int pos = Caption.Cell.FindStringBefore(Before, Text, MatchCase); pos >= 0) return pos;
  for (auto cell = cells_.rbegin(); cell != cells_.rend(); ++cell) {
    if ((*cell)->Cell.StartCurs >= Before) continue;
    if (const int pos = (*cell)->Cell.FindStringBefore(Before, Text, MatchCase); pos >= 0) return pos;
  }
  if (TopCaption) return Caption.Cell.FindStringBefore(Before, Text, MatchCase);
  return -1;
}

bool ThtmlTable::CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y) {
  if (Cursor < StartCurs || Cursor >= endCurs_) return false;
  const auto inside = [Cursor](const TCell& c) { return c.StartCurs <= Cursor && Cursor < c.StartCurs + c.Len; };
  if (inside(Caption.Cell) && Caption.Cell.CursorToXY(canvas, Cursor, X, Y)) {
    X += Indent;
    return true;
  }
  for (TCellObj* cell : cells_)
    if (inside(cell->Cell) && cell->Cell.CursorToXY(canvas, Cursor, X, Y)) {
      X += ContentX(*cell);
      return true;
    }
  return false;
}

bool ThtmlTable::GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj) {
  if (Pos < StartCurs || Pos >= endCurs_) return false;
  if (Caption.Cell.GetChAtPos(Pos, Ch, Obj)) return true;
  for (TCellObj* cell : cells_)
    if (cell->Cell.GetChAtPos(Pos, Ch, Obj)) return true;
  return false;
}

void ThtmlTable::UpdateFonts() {
  Caption.Cell.UpdateFonts();
  for (const auto& row : Rows)
    for (const auto& cell : row->Cells) cell->Cell.UpdateFonts();
  measured_ = false;
}

void ThtmlTable::MoveBy(int dy, int dcurs) {
  TSectionBase::MoveBy(dy, dcurs);
  endCurs_ += dcurs;
  Caption.Cell.MoveBy(dy, dcurs);
  for (TCellObj* cell : cells_) cell->Cell.MoveBy(dy, dcurs);
}

}  // namespace quillet
