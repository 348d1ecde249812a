#pragma once
// The drawing port of the HTML pane: exactly the drawing its layout and
// painting use, in their own terms. Geometry is in pixels at a fixed 96 dots
// per inch (a 12-point font is 16 pixels), so a page lays out the same on
// every screen and in every test. Backends: platform/qt/QtCanvas (QPainter
// on a QImage or a widget) and platform/FixedCanvas (fixed, documented
// metrics; records every call).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Color.h"
#include "platform/FaceName.h"
#include "platform/Picture.h"

namespace quillet {

struct Point {
  int X = 0;
  int Y = 0;
  bool operator==(const Point&) const = default;
};

// Right and bottom edges are outside the rectangle.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool Intersects(const Rect& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
  Rect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  bool operator==(const Rect&) const = default;
};

// A font as the pane asks for it. Size is in points; at 96 dots per inch the
// em is Size * 96 / 72 pixels.
struct FontSpec {
  FaceName Face;  // "Times New Roman"
  int Size = 12;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = clBlack;
  int Charset = 1;
  bool operator==(const FontSpec&) const = default;
};

// The direction a piece of text runs in. Text is always given in reading
// order; a right-to-left piece is laid out from its right end, yet still
// placed by its left end.
enum class TextDirection : uint8_t { LeftToRight, RightToLeft };

struct FontMetrics {
  int Height = 0;  // ascent + descent
  int Ascent = 0;
  int Descent = 0;
  int ExternalLeading = 0;
  // Extra width the font adds to a whole string (synthesised italic or
  // bold on some fonts); 0 for outline fonts.
  int Overhang = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The system colours named colours resolve to on this canvas.
  virtual const SystemPalette& Palette() const = 0;

  // Fonts. Text is measured and drawn in the selected font.
  virtual void SelectFont(const FontSpec& font) = 0;
  virtual FontMetrics Metrics() = 0;
  // The advance width of the text; a surrogate pair counts as one character.
  virtual int TextWidth(std::u16string_view text) = 0;
  // Text with its left end at x and its baseline at y, in the selected
  // font's colour, transparent (only the glyphs are painted); a piece of
  // one direction (the layout splits mixed text into such pieces).
  virtual void TextOut(int x, int baseline, std::u16string_view text,
                       TextDirection direction = TextDirection::LeftToRight) = 0;
  // The same on an opaque background: the text's box (its width, from
  // baseline - ascent to baseline + descent) is filled with back first.
  virtual void TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back,
                             TextDirection direction = TextDirection::LeftToRight) = 0;

  virtual void FillRect(const Rect& r, TColor color) = 0;
  // A one-pixel outline along the inside of r.
  virtual void FrameRect(const Rect& r, TColor color) = 0;
  // A one-pixel line; the end point itself is not drawn.
  virtual void Line(int x1, int y1, int x2, int y2, TColor pen) = 0;
  // The ellipse inside bounds, outlined with pen, filled when fill is given.
  virtual void Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) = 0;
  virtual void Polygon(const std::vector<Point>& points, TColor pen,
                       std::optional<TColor> fill) = 0;
  // The picture stretched to dest, blended by its alpha.
  virtual void DrawPicture(const Picture& picture, const Rect& dest) = 0;
  // Copies of the picture at its natural size covering area, the grid
  // aligned so that one copy's top-left corner is at origin.
  virtual void TilePicture(const Picture& picture, const Rect& area, Point origin) = 0;

  // Clipping: PushClip narrows drawing to r (within the clip in force),
  // PopClip restores the previous clip.
  virtual void PushClip(const Rect& r) = 0;
  virtual void PopClip() = 0;
  // Everything drawn afterwards is moved by the origin.
  virtual void SetOrigin(Point origin) = 0;
  virtual Point Origin() const = 0;
};

// Restores the clip when it leaves scope.
class ClipScope {
 public:
  ClipScope(Canvas& canvas, const Rect& r) : canvas_(canvas) { canvas_.PushClip(r); }
  ~ClipScope() { canvas_.PopClip(); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace quillet
