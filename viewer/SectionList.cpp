#include "viewer/SectionList.h"

#include <algorithm>

namespace quillet {

TSectionList::TSectionList(Ui* ui, std::unique_ptr<Timer> timer)
    : TCell(this), ui_(ui), timer_(timer ? std::move(timer) : std::make_unique<ManualTimer>()) {
  timer_->SetEnabled(false);
  timer_->SetInterval(kAnimationInterval);
  timer_->OnTimer = [this] { AnimationStep(); };
}

TSectionList::~TSectionList() {
  timer_->SetEnabled(false);
  timer_->OnTimer = nullptr;
}

void TSectionList::SetBackground(TColor color) {
  background_ = color;
  if (OnBackgroundChange) OnBackgroundChange(*this);
}

void TSectionList::Clear() {
  // Hook (pictures): release the background picture from the image cache.
  BitmapName.clear();
  BitmapLoaded = false;
  // Hook (forms): free the forms, clear the control list.
  // Hook (pictures): clear the animated list and MissingImageList.
  SelB = SelE = 0;
  MapList.clear();
  ClearBlocks();
  dropped_.clear();
}

void TSectionList::SetFonts(const std::u16string& name, const std::u16string& preName, TColor background,
                            TColor hotSpotColor, TColor fontColor, int size) {
  Fonts.FontName = name.substr(0, kMaxFontNameLength);
  Fonts.PreFontName = preName.substr(0, kMaxFontNameLength);
  Fonts.FontSize = size;
  Fonts.FontColor = fontColor;
  Fonts.HotSpotColor = hotSpotColor;
  SetBackground(background);
  UpdateFonts();
}

void TSectionList::SetBackgroundBitmapName(const std::u16string& name) {
  // Hook (pictures): forget the picture fetched for the previous name.
  BitmapName = name;
  BitmapLoaded = false;
}

const Picture* TSectionList::GetBackgroundBitmap() {
  if (ShowImages && !BitmapName.empty() && !BitmapLoaded) {
    // Hook (pictures): fetch BitmapName (expanded by the pane when it has
    // no ImageRequest handler); a deferred one goes to MissingImageList.
    BitmapLoaded = true;
  }
  return nullptr;
}

int TSectionList::DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth) {
  timer_->SetEnabled(false);
  ++layoutGeneration_;
  // Hook (forms): every control of every form is sized for the canvas.
  const int height = TCell::DoLogic(canvas, Y, Width, Curs, MaxWidth);
  // Hook (pictures): every animated picture starts again, and the timer is
  // enabled when there is one.
  // Hook (forms): show or hide the controls.
  return height;
}

int TSectionList::Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth) {
  timer_->SetEnabled(false);
  // Hook (pictures): mark every animated picture as not drawn.
  const int bottom = TCell::Draw(canvas, ClipRect, Y, X, ClipWidth);
  if (controlsToPlace_) {
    // Hook (forms): show or hide the controls the paint did not place.
    controlsToPlace_ = false;
  }
  // Hook (pictures): enable the timer when there is an animated picture.
  return bottom;
}

void TSectionList::SetYOffset(int Y) {
  if (Y == YOff) return;
  YOff = Y;
  controlsToPlace_ = true;
  // Hook (forms): clear every control's placed mark.
}

void TSectionList::AnimationStep() {
  // Hook (pictures): every animated picture drawn in the last paint
  // advances one frame on the paint panel.
  timer_->SetInterval(kAnimationInterval);
}

int TSectionList::GetSectionYPos(int n) const {
  n = std::min(n, Count() - 1);
  int y = 0;
  for (int i = 0; i < n; ++i) y += (*this)[i].SectionHeight;
  return y;
}

void TSectionList::ShowProcessError(const std::string& text) {
  if (ui_) ui_->ShowMessage(text);
}

}  // namespace quillet
