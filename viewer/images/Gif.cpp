#include "viewer/images/Gif.h"

#include <algorithm>
#include <new>

namespace quillet {

// ---------------------------------------------------------------- TFrame

int TFrame::RowOf(int r) const {
  if (!Interlaced) return r;
  // Four passes: rows 0, 8, 16 ...; 4, 12 ...; 2, 6 ...; 1, 3 ...
  const int pass1 = (Height + 7) / 8;
  const int pass2 = (Height + 3) / 8;
  const int pass3 = (Height + 1) / 4;
  if (r < pass1) return r * 8;
  r -= pass1;
  if (r < pass2) return 4 + r * 8;
  r -= pass2;
  if (r < pass3) return 2 + r * 4;
  return 1 + (r - pass3) * 2;
}

namespace {

// Writes a frame's decoded pixels at (left, top) of `to`, skipping the
// transparent index.
void PaintFrame(const TFrame& f, Picture& to, int left, int top) {
  if (f.Width <= 0 || f.Height <= 0 || f.Indices.empty()) return;
  const std::array<uint32_t, 256>& table = f.ColorTable;
  const size_t w = static_cast<size_t>(f.Width);
  const size_t decoded = f.Indices.size();
  const int rows = static_cast<int>((decoded + w - 1) / w);
  const uint8_t* src = f.Indices.data();
  for (int r = 0; r < rows; ++r, src += w) {
    const size_t count = std::min(w, decoded - static_cast<size_t>(r) * w);
    uint32_t* dst = &to.Pixels[static_cast<size_t>(top + f.RowOf(r)) * to.Width + static_cast<size_t>(left)];
    if (f.Transparent) {
      const uint8_t clear = f.TransparentIndex;
      for (size_t i = 0; i < count; ++i)
        if (src[i] != clear) dst[i] = table[src[i]];
    } else {
      for (size_t i = 0; i < count; ++i) dst[i] = table[src[i]];
    }
  }
}

}  // namespace

Picture TFrame::ToPicture() const {
  if (Width <= 0 || Height <= 0) return Picture();
  Picture pic(Width, Height, 0);
  PaintFrame(*this, pic, 0, 0);
  return pic;
}

// ---------------------------------------------------------------- TGIFImage

TGIFImage::TGIFImage() = default;

void TGIFImage::Clear() {
  Frames_.reset();
  Composed_ = Picture();
  Saved_ = Picture();
  Empty_ = true;
  ScanOnly_ = false;
  Width_ = Height_ = 0;
  ResetState();
  ColorBits_ = 0;
  AnyTransparent_ = false;
}

void TGIFImage::ResetState() {
  Current_ = 1;
  LoopLimit_ = 1;
  CurrentLoop_ = 1;
  FirstStepPending_ = true;
  Animate_ = false;
}

void TGIFImage::DrawFrame(int n) {
  const TFrame& f = Frame(n);
  if (f.Disposal == 3) {
    // Keep what the frame covers, to put it back when the frame goes; short
    // of memory, the frame stays instead.
    Saved_ = Picture();
    if (f.Width > 0 && f.Height > 0) {
      try {
        Saved_ = Picture(f.Width, f.Height);
      } catch (const std::bad_alloc&) {
      }
      if (!Saved_.Empty())
        for (int y = 0; y < f.Height; ++y) {
          const uint32_t* src = &Composed_.Pixels[static_cast<size_t>(f.Top + y) * Width_ + f.Left];
          std::copy(src, src + f.Width, &Saved_.Pixels[static_cast<size_t>(y) * f.Width]);
        }
    }
  }
  PaintFrame(f, Composed_, f.Left, f.Top);
}

void TGIFImage::DisposeFrame(int n) {
  const TFrame& f = Frame(n);
  if (f.Width <= 0 || f.Height <= 0) return;
  if (f.Disposal == 2) {
    for (int y = 0; y < f.Height; ++y) {
      uint32_t* row = &Composed_.Pixels[static_cast<size_t>(f.Top + y) * Width_ + f.Left];
      std::fill(row, row + f.Width, 0u);
    }
  } else if (f.Disposal == 3 && Saved_.Width == f.Width && Saved_.Height == f.Height) {
    for (int y = 0; y < f.Height; ++y) {
      const uint32_t* src = &Saved_.Pixels[static_cast<size_t>(y) * f.Width];
      std::copy(src, src + f.Width, &Composed_.Pixels[static_cast<size_t>(f.Top + y) * Width_ + f.Left]);
    }
  }
}

void TGIFImage::SetCurrentFrame(int n) {
  const int count = FrameCount();
  if (count == 0) return;
  if (n > count) n = 1;
  if (n <= 0) n = count;
  if (Empty_ || ScanOnly_) {
    Current_ = n;
    return;
  }
  // Already composed (every layout restarts each animation at frame 1).
  if (n == Current_) return;
  if (n == Current_ + 1) {
    DisposeFrame(Current_);
    DrawFrame(n);
  } else {
    // Any other move (back to the first frame when a loop ends among them)
    // starts again from an empty screen.
    std::fill(Composed_.Pixels.begin(), Composed_.Pixels.end(), 0u);
    for (int i = 1; i <= n; ++i) {
      if (i > 1) DisposeFrame(i - 1);
      DrawFrame(i);
    }
  }
  Current_ = n;
}

uint64_t TGIFImage::DecodedBytes() const {
  uint64_t bytes = Picture::BytesFor(Composed_.Width, Composed_.Height);
  if (Frames_)
    for (const TFrame& f : *Frames_) bytes += f.Indices.size();
  return bytes;
}

int TGIFImage::DelayOf(int n) const {
  const int64_t scaled = static_cast<int64_t>(Frame(n).Delay) * 100 / Speed_;
  return static_cast<int>(std::max<int64_t>(1, scaled));
}

void TGIFImage::SetAnimate(bool on, int64_t nowMs) {
  if (on == Animate_) return;
  Animate_ = on;
  CurrentLoop_ = 1;
  if (on && FrameCount() > 1) {
    CurrentDelay_ = DelayOf(Current_);
    LastStep_ = nowMs;
  }
}

GifStep TGIFImage::CheckTime(int64_t nowMs) {
  GifStep step;
  if (!Animate_ || Empty_ || ScanOnly_ || FrameCount() < 2) return step;
  if (nowMs - LastStep_ < CurrentDelay_) return step;
  LastStep_ = nowMs;
  if (LoopLimit_ > 0 && Current_ == FrameCount()) {
    if (CurrentLoop_ >= LoopLimit_) {
      SetAnimate(false, nowMs);  // the last frame stays
      return step;
    }
    ++CurrentLoop_;
  }
  if (FirstStepPending_) {
    FirstStepPending_ = false;
  } else {
    SetCurrentFrame(Current_ + 1);
    step.Changed = true;
    step.Repaint = LastDraw_;
  }
  CurrentDelay_ = DelayOf(Current_);
  return step;
}

const Picture* TGIFImage::RecordDraw(int x, int y, int width, int height) {
  LastDraw_ = {x, y, width, height};
  Drawn_ = true;
  if (!Visible_ || Empty_ || ScanOnly_ || FrameCount() == 0) return nullptr;
  return &Composed_;
}

std::unique_ptr<TGIFImage> TGIFImage::Copy() const {
  auto copy = std::make_unique<TGIFImage>();
  copy->Frames_ = Frames_;
  copy->Empty_ = Empty_;
  copy->ScanOnly_ = ScanOnly_;
  copy->Width_ = Width_;
  copy->Height_ = Height_;
  copy->LoopLimit_ = LoopLimit_;
  copy->ColorBits_ = ColorBits_;
  copy->AnyTransparent_ = AnyTransparent_;
  copy->Speed_ = Speed_;
  copy->Visible_ = Visible_;
  copy->PrivateCopy_ = true;
  if (!Empty_ && !ScanOnly_ && FrameCount() > 0) {
    copy->Composed_ = Picture(Width_, Height_, 0);
    copy->DrawFrame(1);
  }
  return copy;
}

}  // namespace quillet
