#include "viewer/layout/SectionBase.h"

#include "viewer/layout/IndentManager.h"
#include "viewer/layout/SectionList.h"

namespace quillet {

int TSectionBase::DrawLogic(Canvas&, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  YValue = Y;
  StartCurs = Curs;
  DrawHeight = SectionHeight;
  MaxWidth = IMgr.Width;
  return SectionHeight;
}

int TSectionBase::Draw(Canvas&, const Rect&, IndentManager&, int, int Y) {
  YValue = Y;
  return Y + SectionHeight;
}

bool TSectionBase::GetURL(Canvas&, int, int, THotSpot&) { return false; }

TColor TSectionBase::PageBackground() const {
  return ParentSectionList ? ParentSectionList->Background() : clWindow;
}

bool TSectionBase::PtInObject(int, int, TObjectHit&) { return false; }

int TSectionBase::FindCursor(Canvas&, int, int, TCursorHit&) { return -1; }

int TSectionBase::FindString(int, std::u16string_view, bool) { return -1; }
int TSectionBase::FindStringBefore(int, std::u16string_view, bool) { return -1; }

bool TSectionBase::CursorToXY(Canvas&, int, int&, int&) { return false; }

bool TSectionBase::GetChAtPos(int, char16_t&, const TSectionBase*&) { return false; }

void TSectionBase::MinMaxWidth(Canvas&, int& Min, int& Max) {
  Min = 0;
  Max = 0;
}

}  // namespace quillet
