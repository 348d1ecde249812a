#include "viewer/layout/SectionList.h"

#include <algorithm>

#include "platform/TextCodec.h"

namespace quillet {

TSectionList::TSectionList(DocumentHost* host)
    : TCell(this),
      host_(host ? host : &callbacks_),
      timer_(host_->MakeAnimationTimer()),
      imageCache_(std::make_shared<TStringBitmapList>()) {
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
  host_->BackgroundChanged(*this);
}

void TSectionList::Clear() {
  backgroundBitmap_.reset();
  backgroundLease_.Reset();
  BitmapName.clear();
  BitmapLoaded = false;
  forms_.Clear();
  AnimatedGifList.clear();
  timer_->SetEnabled(false);
  MissingImageList.clear();
  SelB = SelE = 0;
  MapList.clear();
  ClearBlocks();
  dropped_.clear();
  pictureBudget_.Reset();
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
  backgroundBitmap_.reset();
  backgroundLease_.Reset();
  BitmapName = name;
  BitmapLoaded = false;
}

const Picture* TSectionList::GetBackgroundBitmap() {
  if (ShowImages && !BitmapName.empty() && !BitmapLoaded) {
    const std::u16string name = PictureName(BitmapName);
    TFetchedImage fetched = FetchImage(name, false);
    if (fetched.Delayed) {
      MissingImageList.push_back({TStringBitmapList::KeyOf(name), nullptr});
    } else if (fetched.Pic) {
      backgroundBitmap_ = std::move(fetched.Pic);
      backgroundLease_ = std::move(fetched.Lease);
    }
    BitmapLoaded = true;
  }
  return backgroundBitmap_.get();
}

void TSectionList::PaintBackground(Canvas& canvas, const Rect& area, Point tileOrigin) const {
  canvas.FillRect(area, Background());
  if (ShowImages && backgroundBitmap_ && !backgroundBitmap_->Empty())
    canvas.TilePicture(*backgroundBitmap_, area, tileOrigin);
}

void TSectionList::SetImageCache(std::shared_ptr<TStringBitmapList> cache) {
  if (cache) imageCache_ = std::move(cache);
}

TFetchedImage TSectionList::FetchImage(std::u16string_view source, bool corner) {
  return quillet::FetchImage(imageCache_, host_->ImageSource(), host_->PictureFiles(), source, corner,
                             &pictureBudget_);
}

std::u16string TSectionList::PictureName(const std::u16string& source) const {
  if (host_->ImageSource()) return source;
  const auto name = host_->PictureFileName(Utf16ToUtf8(source));
  return name ? Utf8ToUtf16(*name) : source;
}

bool TSectionList::IsAwaited(const std::u16string& key) const {
  return std::any_of(MissingImageList.begin(), MissingImageList.end(),
                     [&](const TMissingImage& m) { return m.Name == key; });
}

int TSectionList::DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth) {
  timer_->SetEnabled(false);
  ++layoutGeneration_;
  forms_.SizeControls(canvas);
  const int height = TCell::DoLogic(canvas, Y, Width, Curs, MaxWidth);
  RestartAnimations();
  if (!forms_.FormControlList().empty()) {
    // The controls have new places: none stands where the last paint put
    // it, and the next paint places those it shows.
    forms_.ClearPlaced();
    forms_.ShowOrHide();
    controlsToPlace_ = true;
  }
  return height;
}

int TSectionList::Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth) {
  // The timer keeps running: it cannot tick during a paint, and restarting
  // its interval at every paint would hold animations still while the page
  // is repainted often (a scroll, a selection).
  ForgetAnimationDrawsIn(ClipRect);
  const int bottom = TCell::Draw(canvas, ClipRect, Y, X, ClipWidth);
  if (controlsToPlace_) {
    forms_.ShowOrHide();
    controlsToPlace_ = false;
  }
  ResumeAnimationTimer();
  return bottom;
}

void TSectionList::SetYOffset(int Y) {
  if (Y == YOff) return;
  YOff = Y;
  controlsToPlace_ = true;
  forms_.ClearPlaced();
}

// --- What the forms ask of the document ---

void TSectionList::DocumentFormHost::SubmitForm(TFormSubmission submission) {
  if (FormHost* pane = Pane()) pane->SubmitForm(std::move(submission));
}

void TSectionList::DocumentFormHost::ObjectClick(TFormControlObj& control, const std::u16string& onClick) {
  if (FormHost* pane = Pane()) pane->ObjectClick(control, onClick);
}

// The pane scrolls a control taking the focus into view; then the controls
// off the page wait out of view while the focus is among them (so Tab goes
// on through them all), or hide once it has left. After a scroll the next
// paint decides, once it has placed those it shows.
void TSectionList::DocumentFormHost::ControlEntered(TFormControlObj& control) {
  if (FormHost* pane = Pane()) pane->ControlEntered(control);
  if (!doc_.controlsToPlace_) doc_.forms_.ShowOrHide();
}

void TSectionList::DocumentFormHost::ControlExited(TFormControlObj& control) {
  if (FormHost* pane = Pane()) pane->ControlExited(control);
  if (!doc_.controlsToPlace_) doc_.forms_.ShowOrHide();
}

int TSectionList::GetSectionYPos(int n) const {
  n = std::min(n, Count() - 1);
  int y = 0;
  for (int i = 0; i < n; ++i) y += (*this)[i].SectionHeight;
  return y;
}

void TSectionList::ShowProcessError(const std::string& text) {
  host_->ShowProcessError(text);
}

}  // namespace quillet
