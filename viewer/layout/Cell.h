#pragma once
// A TCell is an ordered, owning list of blocks with its own indent manager:
// the document itself (TSectionList) and every table cell (TCellObj) are
// one, so the same block sequence nests inside tables.
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "viewer/layout/IndentManager.h"
#include "viewer/layout/SectionBase.h"
#include "viewer/text/Attributes.h"

namespace quillet {

class TCell {
 public:
  explicit TCell(TSectionList* doc) : ParentSectionList(doc) {}
  virtual ~TCell();
  TCell(const TCell&) = delete;
  TCell& operator=(const TCell&) = delete;

  TSectionList* ParentSectionList;
  IndentManager IMgr;
  // The cell's own background colour, when it has one (table cells).
  bool BkGnd = false;
  TColor BkColor = 0;
  // First cursor position and number of positions of the cell's text.
  int StartCurs = 0;
  int Len = 0;
  // Document y of the cell at its last layout.
  int TopY = 0;

  // Appends a block (nothing for none): sets its document, lets it close
  // itself (AddedToCell: an empty preformatted line gets a space) and runs
  // its SetHeights.
  void Add(std::unique_ptr<TSectionBase> block);
  // Frees every block.
  void ClearBlocks() { blocks_.clear(); }
  // Gives back what the list of blocks grew by beyond them, once the page
  // is parsed: a page of a million links would keep room for a million more.
  void ShrinkBlocks() { blocks_.shrink_to_fit(); }

  int Count() const { return static_cast<int>(blocks_.size()); }
  bool Empty() const { return blocks_.empty(); }
  TSectionBase& operator[](int i) const { return *blocks_[static_cast<size_t>(i)]; }
  const std::vector<std::unique_ptr<TSectionBase>>& Blocks() const { return blocks_; }

  // Lays the blocks out at document y for a width (no floats at the start),
  // Curs advancing through their text; MaxWidth receives the largest width
  // a block asked for. Returns the height, floats hanging below included.
  // A block whose layout raises EProcessError is dropped, its message shown
  // through the document's Ui, and layout goes on.
  virtual int DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth);
  // The largest minimum and the largest maximum of the blocks. A block
  // whose measuring raises EProcessError is dropped as in DoLogic.
  void MinMaxWidth(Canvas& canvas, int& Min, int& Max);
  // Moves the laid-out cell and its blocks down by dy and their cursor
  // positions on by dcurs (TSectionBase::MoveBy).
  void MoveBy(int dy, int dcurs);
  // Paints the blocks meeting ClipRect, the first at Y, the cell's left edge
  // at X; ClipWidth bounds what preformatted lines may paint. Returns the y
  // below the last block.
  virtual int Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth);

  // Queries at a point: X relative to the cell's left edge, Y a document y
  // (as laid out).
  bool GetURL(Canvas& canvas, int X, int Y, THotSpot& hot);
  bool PtInObject(int X, int Y, TObjectHit& hit);
  int FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit);
  int FindString(int From, std::u16string_view Text, bool MatchCase);
  int FindStringBefore(int Before, std::u16string_view Text, bool MatchCase);
  bool CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y);
  bool GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj);
  void UpdateFonts();

 protected:
  std::vector<std::unique_ptr<TSectionBase>> blocks_;

 private:
  // Removes block i after its layout failed: the message is shown through
  // the document's Ui and the block kept alive by the document.
  void Drop(size_t i, const std::string& message);
};

enum class VAlignment : uint8_t { Top, Middle, Bottom };

// One table cell (viewer/tables/Table.h): its spans, requested sizes, vertical
// alignment and its TCell of blocks; the table's layout fills the rest.
class TCellObj {
 public:
  // An empty cell: a caption, or a filler made by span expansion.
  explicit TCellObj(TSectionList* doc) : Cell(doc) {}
  // A TD or TH cell from its attributes: COLSPAN and ROWSPAN (at least 1),
  // WIDTH (pixels above 0, or 1 to 100 with "%"), HEIGHT, BGCOLOR, and
  // VALIGN ("top" or "baseline", "middle", "bottom"), which without a
  // known value takes rowVAlign, the row's.
  TCellObj(TSectionList* doc, const TAttributeList& attributes, VAlignment rowVAlign = VAlignment::Middle);

  // At least 1; 0 marks a filler made by span expansion, which draws nothing.
  int ColSpan = 1;
  int RowSpan = 1;
  VAlignment VAlign = VAlignment::Middle;
  // Requested width: pixels, or with SpecWdPercent tenths of a percent.
  int SpecWd = 0;
  bool SpecWdPercent = false;
  // Requested height in pixels, 0 for none.
  int SpecHt = 0;
  TCell Cell;

  // Layout: width (its columns), height (its rows), content height and the
  // content's offset from the top.
  int Wd = 0;
  int Ht = 0;
  int CellHeight = 0;
  int YIndent = 0;
  // Its row and first column in the table's grid, once spans are expanded.
  int Row = 0;
  int Col = 0;

  bool IsFiller() const { return ColSpan == 0; }
};

}  // namespace quillet
