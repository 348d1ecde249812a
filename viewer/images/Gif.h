#pragma once
// Our own GIF decoder: GIF87a and GIF89a, single pictures and animations.
//
// A TGIFImage reads the whole file from memory, decodes each image block
// into a TFrame (colour indices and a colour table), composes the frames in
// turn into one picture of the logical screen's size by their disposal
// methods, and steps an animation by the frame delays and the NETSCAPE2.0
// loop count on a clock the caller passes in. It draws nothing itself: the
// pane draws Composed() stretched to the image's box and tells the image
// where through RecordDraw, so that an animation step knows what to repaint.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace quillet {

// One image block of a GIF file with its graphic control.
struct TFrame {
  // Position and size on the logical screen, from the image descriptor.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool HasLocalColorTable = false;
  int ColorBits = 0;        // bits of the local table; 0 when the global one is used
  int Delay = 0;            // ms: the graphic control's hundredths x 10
  int Disposal = 0;         // 0 none, 1 leave, 2 restore to transparent, 3 restore previous
  bool Interlaced = false;
  bool Transparent = false;
  uint8_t TransparentIndex = 0;
  uint32_t TransparentColor = 0;  // the colour-table entry at the transparent index (opaque)
  // The local or global table as opaque pixels; entries past the file's
  // table are black, so every index is bounded.
  std::array<uint32_t, 256> ColorTable{};
  std::string Comment;  // the comment extensions read since the previous frame
  // The colour index of every decoded pixel in decoding order: rows in pass
  // order when interlaced. Shorter than Width x Height when the data ended
  // early; the pixels never decoded are not drawn.
  std::vector<uint8_t> Indices;

  // The frame row of the n-th decoded row (0-based).
  int RowOf(int decodedRow) const;
  // The frame alone, transparent where it is transparent or was never decoded.
  Picture ToPicture() const;
};

// A rectangle in window coordinates.
struct GifRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool operator==(const GifRect&) const = default;
};

// What one animation step did: whether the picture changed and, if so, the
// rectangle of the image's last draw to repaint.
struct GifStep {
  bool Changed = false;
  GifRect Repaint;
};

class TGIFImage {
 public:
  static constexpr int kMaxFrames = 256;

  TGIFImage();

  // Reads a whole GIF file. With scanOnly the frames are counted and their
  // headers read, but no pixel is decoded and nothing is composed (enough to
  // learn whether the picture is animated). False, and the image cleared,
  // when no frame could be read, or memory ran out; a file that breaks off
  // after some frames keeps those, and so does one whose frames would
  // decode past 64 MiB, or whose frames and composed picture would not fit
  // in `room` bytes.
  bool Load(std::span<const uint8_t> data, bool scanOnly = false, uint64_t room = Picture::kAnyRoom);
  // The bytes the decoded frames and the composed picture hold.
  uint64_t DecodedBytes() const;
  // Frees every frame and the composed picture; the image is empty.
  void Clear();

  bool Empty() const { return Empty_; }
  bool ScanOnly() const { return ScanOnly_; }
  bool Animated() const { return FrameCount() > 1; }
  // The logical screen, enlarged to hold every frame.
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  int FrameCount() const { return Frames_ ? static_cast<int>(Frames_->size()) : 0; }
  const TFrame& Frame(int n) const { return (*Frames_)[static_cast<size_t>(n - 1)]; }  // 1-based
  int CurrentFrame() const { return Current_; }  // 1-based
  // From NETSCAPE2.0: the times the sequence plays; 0 endless; 1 when the
  // file has none (it plays once and stays on its last frame).
  int LoopLimit() const { return LoopLimit_; }
  int CurrentLoop() const { return CurrentLoop_; }
  // The largest colour-table depth seen (global and local tables).
  int ColorBits() const { return ColorBits_; }
  // Some frame has a transparent colour.
  bool AnyTransparent() const { return AnyTransparent_; }
  bool PrivateCopy() const { return PrivateCopy_; }

  // Percent; delays are scaled by 100 / speed. Values below 1 count as 1.
  int Speed() const { return Speed_; }
  void SetSpeed(int percent) { Speed_ = percent < 1 ? 1 : percent; }
  bool Visible() const { return Visible_; }
  void SetVisible(bool visible) { Visible_ = visible; }

  // The picture after the frames up to the current one: the frames' pixels
  // opaque, everything no frame covers (or a disposal cleared) transparent.
  const Picture& Composed() const { return Composed_; }
  // A plain picture of the current composed frame, for a single-frame GIF
  // the image cache keeps as a bitmap.
  Picture PlainPicture() const { return Composed_; }

  // Makes frame n current, composed as the sequence 1..n leaves the screen.
  // n above the frame count selects 1; n <= 0 the last frame.
  void SetCurrentFrame(int n);

  // Switches the animation on or off at `nowMs` (a millisecond clock). A
  // change restarts the loop count; switching on starts the current frame's
  // delay.
  bool Animate() const { return Animate_; }
  void SetAnimate(bool on, int64_t nowMs);
  // One animation step at `nowMs`, called by the document's timer for every
  // drawn animated image: nothing until the current frame's delay has
  // passed; then the next frame (the first step after a load only starts
  // the clock), or the end of the animation when its last loop is done.
  GifStep CheckTime(int64_t nowMs);

  // Called when the image is drawn in the box (window coordinates): records
  // the box for later repaints and marks the image drawn. Returns the
  // picture to draw stretched to the box, or null when nothing is to be
  // drawn (not visible, empty, scanned only).
  const Picture* RecordDraw(int x, int y, int width, int height);
  GifRect LastDraw() const { return LastDraw_; }
  // Drawn since the flag was last cleared: only those images are stepped.
  bool Drawn() const { return Drawn_; }
  void ClearDrawn() { Drawn_ = false; }

  // A copy for one image of a picture the cache shares: its own composed
  // picture and animation state at frame 1, marked as a private copy. The
  // decoded frames, which never change, are shared.
  std::unique_ptr<TGIFImage> Copy() const;

 private:
  friend class GifReader;

  void ResetState();
  void DrawFrame(int n);     // composes frame n over the composed picture
  void DisposeFrame(int n);  // applies frame n's disposal
  int DelayOf(int n) const;

  std::shared_ptr<const std::vector<TFrame>> Frames_;
  Picture Composed_;
  Picture Saved_;  // what lay under the current frame, for disposal 3
  bool Empty_ = true;
  bool ScanOnly_ = false;
  int Width_ = 0, Height_ = 0;
  int Current_ = 1;
  int LoopLimit_ = 1;
  int CurrentLoop_ = 1;
  int ColorBits_ = 0;
  bool AnyTransparent_ = false;
  bool PrivateCopy_ = false;
  int Speed_ = 100;
  bool Visible_ = true;
  bool Animate_ = false;
  bool FirstStepPending_ = true;
  int64_t LastStep_ = 0;
  int CurrentDelay_ = 1;
  GifRect LastDraw_;
  bool Drawn_ = false;
};

}  // namespace quillet
