#pragma once
// The pane's document is a vertical sequence of blocks. Every block is a
// TSectionBase: text sections and list items (viewer/layout/Section.h,
// viewer/layout/ListItems.h), fixed spaces and rules (viewer/layout/FixedBlocks.h) and
// tables. A TCell (viewer/layout/Cell.h) holds blocks in order; the document
// (viewer/layout/SectionList.h) is a TCell too.
//
// Coordinates: y is a document coordinate, the same in layout and drawing
// (a block laid out at y = 5 is drawn at y = 5; the canvas origin carries
// the scroll position). x is relative to the left edge of the enclosing
// cell during layout; drawing is given the cell's x and adds it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Canvas.h"
#include "viewer/style/UrlTarget.h"

namespace quillet {

class IndentManager;
class TCell;
class TSectionList;
class TImageObj;        // pictures in the text, viewer/layout/ImageObj.h
class TFormControlObj;  // form controls in the text, viewer/forms/Form*.h

enum class Justification : uint8_t { Left, Center, Right };

// What a point is over: a link (in text, or an image map area) or a form
// control.
struct THotSpot {
  std::optional<TUrlTarget> Url;
  TFormControlObj* FormControl = nullptr;
  bool Found() const { return Url.has_value() || FormControl != nullptr; }
};

// A picture under a point, and the point inside it.
struct TObjectHit {
  TImageObj* Image = nullptr;
  int X = 0;
  int Y = 0;
};

// Where a cursor position found at a point lies.
struct TCursorHit {
  int XR = 0;          // x of the position
  int YR = 0;          // top of its line, in the coordinates the point was given in
  int CaretHt = 0;     // height of its line
  bool Intext = false; // the point lay on a character of the line
  int Char = -1;       // then the position of that character
  TCell* Cell = nullptr;  // the innermost cell that answered
};

class TSectionBase {
 public:
  TSectionBase() = default;
  virtual ~TSectionBase() = default;
  TSectionBase(const TSectionBase&) = delete;
  TSectionBase& operator=(const TSectionBase&) = delete;

  // The document; set when the block is added to a cell.
  TSectionList* ParentSectionList = nullptr;
  // The document's background; the window colour outside a document.
  TColor PageBackground() const;
  // Height the block takes in the flow, set by layout.
  int SectionHeight = 0;
  // Height it paints, at least SectionHeight (floats may hang below).
  int DrawHeight = 0;
  // Top y at the last layout or drawing.
  int YValue = 0;
  // First cursor position; blocks without text keep their predecessor's end.
  int StartCurs = 0;

  // The class's own name, for dumps of the laid-out document.
  virtual std::string_view ClassName() const { return "TSectionBase"; }

  // Lays the block out at document y; returns the height it takes.
  // MaxWidth receives the width the block asks for; Curs advances past the
  // block's text.
  virtual int DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs);
  // Paints the block, with its top at Y, when it meets ClipRect; X is the
  // cell's left edge. Returns the y below the block.
  virtual int Draw(Canvas& canvas, const Rect& ClipRect, IndentManager& IMgr, int X, int Y);

  // Queries at a point: X relative to the cell's left edge, Y relative to
  // the block's top.
  virtual bool GetURL(Canvas& canvas, int X, int Y, THotSpot& hot);
  virtual bool PtInObject(int X, int Y, TObjectHit& hit);
  // The cursor position at the point, or -1.
  virtual int FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit);

  // The document position of the next match at or after From, or -1.
  virtual int FindString(int From, std::u16string_view Text, bool MatchCase);
  // The document position of the last match starting before Before, or -1.
  virtual int FindStringBefore(int Before, std::u16string_view Text, bool MatchCase);
  // The point of a cursor position: X relative to the cell's left edge, Y a
  // document y. False when the position is not in this block.
  virtual bool CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y);
  // The character at a cursor position, and the block holding it.
  virtual bool GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj);

  // Re-applies the document's fonts and colours.
  virtual void UpdateFonts() { SetHeights(); }
  // Computes a fixed height from the document's font size.
  virtual void SetHeights() {}
  // The narrowest and widest useful widths.
  virtual void MinMaxWidth(Canvas& canvas, int& Min, int& Max);

  // Called by TCell::Add once ParentSectionList is set, before SetHeights.
  virtual void AddedToCell() {}

  // Moves a laid-out block down by dy and its cursor positions on by dcurs,
  // as if it had been laid out there: a table cell's content is laid out
  // once to learn its height and then moved to where its row puts it.
  // Layout does not depend on where it starts, so the result is the same.
  // Blocks keeping other document y values or positions move them too.
  virtual void MoveBy(int dy, int dcurs) {
    YValue += dy;
    StartCurs += dcurs;
  }
};

}  // namespace quillet
