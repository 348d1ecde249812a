#pragma once
// The left and right edges of a cell during layout: the cell's own x range,
// narrowed by floats (pictures and tables aligned left or right, which text
// flows beside) and by list indentation levels. One per TCell.
//
// x values of the entries are relative to the cell's edges, so the same
// layout draws wherever the cell lands: layout runs with Init(0, width),
// drawing with Init(x, x + width). Bands are half-open: an entry applies to
// the rows YT <= y < YB, so YB is the first row below it.
#include <climits>
#include <vector>

namespace quillet {

struct IndentRec {
  int X = 0;
  int YT = 0;
  int YB = 0;
  // The list level that made the entry; kNoID for a float.
  int ID = -1;
};

enum class FloatSide : unsigned char { Left, Right };

class IndentManager {
 public:
  static constexpr int kNoID = -1;
  // Pixels per list indentation level.
  static constexpr int kLevelIndent = 35;
  // Where the band of a level still open ends: below any document.
  static constexpr int kOpenBand = INT_MAX / 2;

  // The width layout works for, and the width drawing may use.
  int Width = 0;
  int ClipWidth = 0;
  int LfEdge = 0;
  int RtEdge = 0;
  // Entries narrowing the left side (X >= 0, added to LfEdge) and the right
  // side (X <= 0, added to RtEdge).
  std::vector<IndentRec> L;
  std::vector<IndentRec> R;
  int CurrentID = kNoID;
  int Level = 0;

  // No floats and no levels.
  void Reset();
  void Init(int lf, int rt);

  // LfEdge plus the largest X of the left entries whose band holds y.
  int LeftIndent(int y) const;
  // RtEdge plus the smallest X of the right entries whose band holds y.
  int RightSide(int y) const;

  // Enters a float of the given size at y, hspace kept beside it, and
  // returns its x relative to LfEdge (where it is drawn).
  int AddFloat(int y, FloatSide side, int width, int height, int hspace);
  // The bottom (first row below) of the lowest float; 0 when none.
  int ImageBottom() const;
  // One more than the lowest float bottom on each side; 0 for a side
  // without floats.
  struct ClearY {
    int Left = 0;
    int Right = 0;
  };
  ClearY GetClearY() const;

  // Moves to list level n at y: going deeper opens one entry per level, each
  // kLevelIndent right of the left side; going back closes the deeper ones
  // at y.
  void SetLevel(int y, int n);
  // One more than the lowest bottom of the left entries right of the entry
  // of CurrentID; 0 when no entry belongs to CurrentID.
  int NextLevelBottom() const;

  // Moves every band down by dy, with the layout it belongs to.
  void MoveBy(int dy);

 private:
  // Drops the entries whose band ended above y: layout only moves down, so
  // they can never apply again (the float bottoms are kept below).
  void Forget(int y);

  // The lowest bottom of the floats entered on each side since Reset.
  int leftFloatBottom_ = 0;
  int rightFloatBottom_ = 0;
  bool hasLeftFloat_ = false;
  bool hasRightFloat_ = false;
};

}  // namespace quillet
