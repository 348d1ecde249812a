#pragma once
// A canvas that measures text with FixedCanvas's documented metrics and
// draws on another canvas (or nowhere), so that quillet-render
// --fixed-metrics lays out and paints with figures that do not depend on
// the installed fonts. Glyphs are still drawn with the real fonts, at the
// places the fixed metrics give.
#include "platform/FixedCanvas.h"

namespace quillet {

class FixedMetricsCanvas : public Canvas {
 public:
  // draw: where painting goes; nullptr for layout only.
  explicit FixedMetricsCanvas(Canvas* draw, SystemPalette palette = {});

  const SystemPalette& Palette() const override { return palette_; }
  void SelectFont(const FontSpec& font) override;
  FontMetrics Metrics() override { return FixedCanvas::MetricsFor(fixed_.SelectedFont()); }
  int TextWidth(std::u16string_view text) override { return fixed_.TextWidth(text); }
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

 private:
  Canvas* draw_;
  SystemPalette palette_;
  FixedCanvas fixed_;
  Point origin_;
};

}  // namespace quillet
