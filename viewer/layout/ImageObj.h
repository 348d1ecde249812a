#pragma once
// A picture in a text section (IMG): its attributes, the box it takes in
// the layout, how it is drawn, and where it lies for the hit tests.
//
// The section owns its images, in buffer order; each stands in the text as
// the placeholder kImageChar at Pos. Layout sizes every image (Size) before
// breaking lines; an image aligned left or right floats: the layout enters
// it into the cell's indent manager and text flows beside it. The layout
// also records where each image lies (LayoutX, LayoutY), which the hit
// tests use; drawing computes the same place.
//
// Pictures: while the document's ShowImages is off every image shows the
// images-off placeholder and nothing is loaded. Otherwise the first sizing
// fetches the picture (viewer/images/ImageCache.h): a picture the host will
// deliver later shows the images-off placeholder, one that cannot be had
// the broken-image placeholder.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Canvas.h"
#include "viewer/images/ImageCache.h"
#include "viewer/text/Attributes.h"

namespace quillet {

class TCell;
class TFontObj;
class TSectionList;
class TImageFormControlObj;

// ALIGN: TOP, MIDDLE (or ABSMIDDLE), BOTTOM (anything else), and the
// floats LEFT and RIGHT.
enum class ImageAlign : uint8_t { Top = 0, Middle = 1, Bottom = 2, Left = 3, Right = 4 };

class TImageObj {
 public:
  static constexpr int kDefaultHSpace = 5;
  static constexpr int kMaxHSpace = 20;
  // Placeholders: the picture sits this far inside the box and is drawn
  // only in boxes of at least kMinPlaceholderBox on each side; the alt text
  // starts kAltTextLeft from the box's left edge.
  static constexpr int kPlaceholderInset = 4;
  static constexpr int kMinPlaceholderBox = 24;
  static constexpr int kAltTextLeft = 24;
  // Requested sizes beyond this are taken as this.
  static constexpr int kMaxSide = 32000;

  // From an IMG tag's attributes, standing at pos in its section; cell is
  // the table cell (or the document) the section lies in.
  TImageObj(int pos, const TAttributeList& attributes, TCell* cell = nullptr);
  ~TImageObj();
  TImageObj(const TImageObj&) = delete;
  TImageObj& operator=(const TImageObj&) = delete;

  // --- From the attributes ---
  int Pos;
  TCell* Cell;
  // SRC; once fetched, expanded to the file name when the document's host
  // has no image source.
  std::u16string Source;
  std::u16string Alt;
  ImageAlign Align = ImageAlign::Bottom;
  // BORDER=0: no link frame.
  bool NoBorder = false;
  // WIDTH: pixels, or with PercentWidth 1 to 100 percent of the width
  // available; 0 when not given.
  int SpecWidth = 0;
  bool PercentWidth = false;
  // HEIGHT, at least 1; 0 when not given.
  int SpecHeight = 0;
  // TRANSP: the lower-left colour is transparent.
  bool Transparent = false;
  // ISMAP: a click adds "?x,y" to the link.
  bool IsMap = false;
  // USEMAP: the client-side map of that name (upper case, trimmed, a
  // leading "#" dropped) decides the link.
  bool UsesMap = false;
  std::u16string MapName;
  // HSPACE: the room kept beside a float, its absolute value at most 20.
  int HSpace = kDefaultHSpace;

  // The image button this picture stands for (INPUT TYPE=image): a click
  // goes to it. Set by the form layer.
  TImageFormControlObj* MyFormControl = nullptr;

  // --- Sizing ---
  // The picture's box, and with the link frame (one pixel each side).
  int ObjWidth = 0;
  int ObjHeight = 0;
  int ImageWidth = 0;
  int ImageHeight = 0;
  // The box no longer depends on the layout's width.
  bool SizeFixed = false;
  // Inside a link and not BORDER=0.
  bool HasBorder = false;

  bool Floats() const { return Align == ImageAlign::Left || Align == ImageAlign::Right; }

  // Fetches the picture on first use (when pictures are shown), then sizes
  // the box for the width available, the alt text measured on the canvas.
  // run is the font run the image stands in (its link gives the frame).
  void Size(TSectionList& doc, Canvas& canvas, int availableWidth, const TFontObj& run);

  // True when the image shows a placeholder rather than its picture.
  bool ShowsPlaceholder(const TSectionList& doc) const;

  // Draws the image with its box's top-left corner at (x, top), document
  // coordinates. run gives the link colour for the frame and the alt
  // text's colour.
  void Draw(Canvas& canvas, const TSectionList& doc, int x, int top, const TFontObj& run);

  // The top of the box on a line: middle centres it on the run's font
  // (fontDescent and fontHeight), bottom puts its bottom on the baseline,
  // top and floats put it at the line's top.
  int TopOnLine(int lineTop, int baseline, int fontDescent, int fontHeight) const;

  // --- Where the layout put it ---
  // x relative to the cell's left edge, y relative to the section's top.
  int LayoutX = 0;
  int LayoutY = 0;
  // A float already entered into the indent manager in this layout.
  bool Placed = false;
  // The last drawing's position (document coordinates).
  int DrawX = 0;
  int DrawY = 0;

  // True when (x, y), in the coordinates of LayoutX and LayoutY, lies on
  // the image; ix and iy receive the point inside the picture (the frame
  // left out).
  bool Holds(int x, int y, int& ix, int& iy) const;

  // What the image shows: its picture (still or animated), or which
  // placeholder; for tests and the pane.
  enum class Showing : uint8_t { Nothing, Picture, Animation, ImagesOff, Awaited, Broken };
  Showing Shows(const TSectionList& doc) const;
  // The still picture, or the animation's current frame; null for none.
  const Picture* CurrentPicture() const;
  TGIFImage* Animation() const { return gif_.get(); }
  Transparency Kind() const { return kind_; }

 private:
  // Fetches the picture (or marks it awaited or broken).
  void Fetch(TSectionList& doc);
  // The natural size of what is shown.
  void NaturalSize(const TSectionList& doc, int& w, int& h) const;
  // Word-wraps the alt text into the box, from x + kAltTextLeft to two
  // pixels short of its right edge, whole lines only.
  void DrawAltText(Canvas& canvas, int x, int top, int right, int bottom) const;

  enum class State : uint8_t { NotFetched, Loaded, Awaited, Broken };
  State state_ = State::NotFetched;
  // ShowImages when the image was last sized: a change sizes it afresh.
  bool sizedWithImages_ = false;
  bool sizedOnce_ = false;
  std::shared_ptr<const Picture> pic_;
  std::shared_ptr<TGIFImage> gif_;
  Transparency kind_ = Transparency::None;
  TCacheLease lease_;
};

}  // namespace quillet
