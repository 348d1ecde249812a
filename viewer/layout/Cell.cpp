#include "viewer/layout/Cell.h"

#include <algorithm>

#include "viewer/layout/SectionList.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet {

TCell::~TCell() = default;

void TCell::Add(std::unique_ptr<TSectionBase> block) {
  if (!block) return;
  block->ParentSectionList = ParentSectionList;
  block->AddedToCell();
  block->SetHeights();
  blocks_.push_back(std::move(block));
}

int TCell::DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth) {
  IMgr.Reset();
  IMgr.Width = Width;
  IMgr.ClipWidth = Width;
  IMgr.Init(0, Width);
  TopY = Y;
  StartCurs = Curs;
  MaxWidth = 0;
  int height = 0;
  for (size_t i = 0; i < blocks_.size();) {
    const int curs = Curs;
    int width = 0;
    try {
      height += blocks_[i]->DrawLogic(canvas, Y + height, IMgr, width, Curs);
    } catch (const EProcessError& e) {
      Curs = curs;
      Drop(i, e.what());
      continue;
    }
    MaxWidth = std::max(MaxWidth, width);
    ++i;
  }
  Len = Curs - StartCurs;
  return std::max(height, IMgr.ImageBottom() - Y);
}

void TCell::Drop(size_t i, const std::string& message) {
  std::unique_ptr<TSectionBase> dropped = std::move(blocks_[i]);
  blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(i));
  if (ParentSectionList) {
    ParentSectionList->ShowProcessError(message);
    ParentSectionList->KeepDropped(std::move(dropped));
  }
}

void TCell::MinMaxWidth(Canvas& canvas, int& Min, int& Max) {
  Min = 0;
  Max = 0;
  for (size_t i = 0; i < blocks_.size();) {
    int mn = 0, mx = 0;
    // A table inside a table is measured before it is laid out; its failure
    // drops it from this cell, not the table around it.
    try {
      blocks_[i]->MinMaxWidth(canvas, mn, mx);
    } catch (const EProcessError& e) {
      Drop(i, e.what());
      continue;
    }
    Min = std::max(Min, mn);
    Max = std::max(Max, mx);
    ++i;
  }
}

void TCell::MoveBy(int dy, int dcurs) {
  TopY += dy;
  StartCurs += dcurs;
  IMgr.MoveBy(dy);
  for (const auto& block : blocks_) block->MoveBy(dy, dcurs);
}

int TCell::Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth) {
  IMgr.Init(X, X + IMgr.Width);
  IMgr.ClipWidth = ClipWidth;
  for (const auto& block : blocks_) {
    // Nothing below the band can paint into it.
    if (Y >= ClipRect.Bottom) {
      block->YValue = Y;
      Y += block->SectionHeight;
      continue;
    }
    Y = block->Draw(canvas, ClipRect, IMgr, X, Y);
  }
  return Y;
}

bool TCell::GetURL(Canvas& canvas, int X, int Y, THotSpot& hot) {
  int top = TopY;
  for (const auto& block : blocks_) {
    if (top <= Y && Y < top + block->DrawHeight && block->GetURL(canvas, X, Y - top, hot)) return true;
    top += block->SectionHeight;
  }
  return false;
}

bool TCell::PtInObject(int X, int Y, TObjectHit& hit) {
  int top = TopY;
  for (const auto& block : blocks_) {
    if (top <= Y && Y < top + block->DrawHeight && block->PtInObject(X, Y - top, hit)) return true;
    top += block->SectionHeight;
  }
  return false;
}

int TCell::FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit) {
  int top = TopY;
  for (const auto& block : blocks_) {
    // A float takes no room (a table ALIGN=LEFT or RIGHT): its own text is
    // under the point when it answers; beside it, the blocks that follow.
    const bool floatHere = block->SectionHeight == 0 && top <= Y && Y < top + block->DrawHeight;
    if (floatHere || (top <= Y && Y < top + block->SectionHeight)) {
      const int pos = block->FindCursor(canvas, X, Y - top, hit);
      if (pos < 0 && floatHere) continue;
      if (pos < 0) return -1;
      hit.YR += top;
      if (!hit.Cell) hit.Cell = this;
      return pos;
    }
    top += block->SectionHeight;
  }
  return -1;
}

int TCell::FindString(int From, std::u16string_view Text, bool MatchCase) {
  for (const auto& block : blocks_) {
    const int pos = block->FindString(From, Text, MatchCase);
    if (pos >= 0) return pos;
  }
  return -1;
}

int TCell::FindStringBefore(int Before, std::u16string_view Text, bool MatchCase) {
  for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
    if ((*block)->StartCurs >= Before) continue;
    const int pos = (*block)->FindStringBefore(Before, Text, MatchCase);
    if (pos >= 0) return pos;
  }
  return -1;
}

bool TCell::CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y) {
  for (const auto& block : blocks_)
    if (block->CursorToXY(canvas, Cursor, X, Y)) return true;
  return false;
}

bool TCell::GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj) {
  if (Pos < StartCurs || Pos >= StartCurs + Len) return false;
  for (const auto& block : blocks_)
    if (block->GetChAtPos(Pos, Ch, Obj)) return true;
  return false;
}

void TCell::UpdateFonts() {
  for (const auto& block : blocks_) block->UpdateFonts();
}

}  // namespace quillet
