#pragma once
// A canvas with fixed, documented metrics that draws nothing and records
// every call, so layout tests can state positions by hand and drawing tests
// can compare what was drawn.
//
// The metrics of a font of S points:
//   em pixels  P = (S * 96 + 36) / 72          (12 pt -> 16, 10 pt -> 13, 8 pt -> 11)
//   Height     = P,  Descent = P / 4,  Ascent = Height - Descent
//   ExternalLeading = P / 8,  Overhang = 0
//   every character is P / 2 pixels wide, one more when bold; the second
//   half of a surrogate pair is 0 wide.
// So the 12-point default font has height 16, descent 4, leading 2 and
// characters 8 pixels wide (9 bold).
//
// Each call appends one line to Calls, with coordinates as they land on the
// surface (the origin added), for example
//   SelectFont Times New Roman 12 bius #000000
//   TextOut 10,20 "Hello"
//   TextOutOpaque 10,20 "Hello" back=#FFFFFF
//   TextOut 10,20 rtl "שלום"                       (right-to-left text)
//   FillRect 0,0,100,20 #FFFFFF
//   FrameRect 0,0,100,20 #000000
//   Line 0,5-100,5 #808080
//   Ellipse 2,3,7,8 pen=#000080 fill=#000080      (fill=none when unfilled)
//   Polygon 0,0 10,0 5,5 pen=#000000 fill=none
//   DrawPicture 16x16 at 4,4,20,20
//   TilePicture 16x16 over 0,0,100,100 from 0,0
//   PushClip 0,0,100,20        PopClip        SetOrigin 0,-40
// Colours are written resolved, as #RRGGBB. Style letters: b bold, i italic,
// u underline, s strike-out ("-" when none).
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace quillet {

class FixedCanvas : public Canvas {
 public:
  explicit FixedCanvas(SystemPalette palette = {}) : palette_(palette) {}

  static int EmPixels(int points) { return (points * 96 + 36) / 72; }
  static FontMetrics MetricsFor(const FontSpec& font);
  static int CharWidth(const FontSpec& font) { return EmPixels(font.Size) / 2 + (font.Bold ? 1 : 0); }

  const SystemPalette& Palette() const override { return palette_; }
  void SelectFont(const FontSpec& font) override;
  FontMetrics Metrics() override { return MetricsFor(font_); }
  int TextWidth(std::u16string_view text) override;
  void TextOut(int x, int baseline, std::u16string_view text,
               TextDirection direction = TextDirection::LeftToRight) override;
  void TextOutOpaque(int x, int baseline, std::u16string_view text, TColor back,
                     TextDirection direction = TextDirection::LeftToRight) override;
  void FillRect(const Rect& r, TColor color) override;
  void FrameRect(const Rect& r, TColor color) override;
  void Line(int x1, int y1, int x2, int y2, TColor pen) override;
  void Ellipse(const Rect& bounds, TColor pen, std::optional<TColor> fill) override;
  void Polygon(const std::vector<Point>& points, TColor pen, std::optional<TColor> fill) override;
  void DrawPicture(const Picture& picture, const Rect& dest) override;
  void TilePicture(const Picture& picture, const Rect& area, Point origin) override;
  void PushClip(const Rect& r) override;
  void PopClip() override;
  void SetOrigin(Point origin) override;
  Point Origin() const override { return origin_; }

  const FontSpec& SelectedFont() const { return font_; }

  // The record of calls; tests clear it and compare it.
  std::vector<std::string> Calls;
  // Off: calls are not recorded (layout of large documents, benchmarks).
  bool Record = true;

 private:
  std::string Color(TColor c) const;
  std::string At(int x, int y) const;
  std::string Box(const Rect& r) const;
  void Note(std::string line);

  SystemPalette palette_;
  FontSpec font_;
  Point origin_;
  int clipDepth_ = 0;
};

// Text as UTF-8, for records, messages and tests.
std::string ToUtf8(std::u16string_view text);

}  // namespace quillet
